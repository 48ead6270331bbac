// The About window: program title, version, description, copyright and
// contact, and the button that starts the system-information program.
#pragma once

#include "app/qt_message_boxes.h"
#include "app/window_builder.h"
#include "dialogs/registry.h"
#include "dialogs/system_info.h"

class frmAbout : public ui::Form {
    Q_OBJECT
public:
    // The machine's registry and programs, message boxes on the screen.
    frmAbout();
    // Another registry, file system and message boxes (tests).
    frmAbout(kup::Registry& registry, kup::ProgramLauncher& launcher, ui::MessageBoxes& messages);

private slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    void Form_Load();

    kup::Registry& registry_;
    kup::ProgramLauncher& launcher_;
    ui::QtMessageBoxes screenMessages_;
    ui::MessageBoxes& messages_;
};
