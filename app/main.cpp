#include "app/install_cad_backend.h"
#include "app/mod_kup_tools.h"
#include "app/windows_start.h"
#include "cad/number_text.h"
#include "ui/core_texts.h"
#include "ui/window_registry.h"

#include <QApplication>

int main(int argc, char* argv[])
{
#ifdef _WIN32
    setUpWindowsProcess();
#endif
    QApplication app(argc, argv);
    cad::setDecimalSeparator(ui::regionalDecimalSeparator());
    installCadBackend();
    mod_kup_tools::Main();
    const int rc = QApplication::exec();
    // "Beenden" leaves windows open behind it; they go before the application object does.
    ui::windows().destroyAll();
    return rc;
}
