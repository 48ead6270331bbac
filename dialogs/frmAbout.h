// The About window: program title, version, description, copyright and
// contact, and the button that starts the system-information program.
#pragma once

#include "dialogs/registry.h"
#include "dialogs/system_info.h"
#include "ui/window_builder.h"

class frmAbout : public ui::Form {
    Q_OBJECT
public:
    // The machine's registry and programs.
    frmAbout();
    // Another registry and file system (tests).
    frmAbout(kup::Registry& registry, kup::ProgramLauncher& launcher);

private slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    void Form_Load();

    kup::Registry& registry_;
    kup::ProgramLauncher& launcher_;
};
