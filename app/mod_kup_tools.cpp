#include "app/mod_kup_tools.h"

#include "app/frmMain.h"
#include "cad/size_tables.h"
#include "ui/window_registry.h"

#include <QCoreApplication>

namespace mod_kup_tools {

void Main()
{
    cad::FillSizeTables();
    ui::windows().show<frmMain>();
}

void EndProgram()
{
    // Leaves every running event loop, the main one included; main() then destroys the windows.
    QCoreApplication::exit(0);
}

}  // namespace mod_kup_tools
