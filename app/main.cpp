#include "app/install_cad_backend.h"
#include "app/mod_kup_tools.h"
#include "cad/number_text.h"
#include "ui/regional_settings.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    cad::setDecimalSeparator(ui::decimalSeparator(QLocale::system()));
    installCadBackend();
    mod_kup_tools::Main();
    const int rc = QApplication::exec();
    // "Beenden" leaves windows open behind it; they go before the application object does.
    ui::windows().destroyAll();
    return rc;
}
