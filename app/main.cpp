#include "app/install_cad_backend.h"
#include "app/mod_kup_tools.h"
#include "cad/number_text.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString decimalPoint = QLocale::system().decimalPoint();
    cad::setDecimalSeparator(decimalPoint.isEmpty() ? '.' : decimalPoint.at(0).toLatin1());
    installCadBackend();
    mod_kup_tools::Main();
    const int rc = QApplication::exec();
    // "Beenden" leaves windows open behind it; they go before the application object does.
    ui::windows().destroyAll();
    return rc;
}
