// The main window: export settings, the "Export" button, the output log and the
// menus that open every other window.
#pragma once

#include "ui/qt_message_boxes.h"
#include "ui/text_box_log.h"
#include "ui/window_builder.h"

class frmMain : public ui::Form {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

    // txtAusgabe as the export writes to it.
    ui::TextBoxLog& ausgabe() { return ausgabe_; }
    // Message boxes that belong to this window; tests put a recorder in their place.
    kup::MessageBoxes& messages() { return *messageBoxes_; }
    void setMessageBoxes(kup::MessageBoxes& boxes) { messageBoxes_ = &boxes; }

    // The batch export with the window's current settings.
    void KupTools_SaveSheetsAsTIFF();

private slots:
    // One slot per handler. Those whose windows or run are still to come are
    // empty on purpose: they do nothing rather than show a placeholder.
    void chkTS_SaveInDocFolder_Click();
    void cmdTS_ChooseSaveDirectory_Click();
    void cmdTS_SaveSheetAsTiff_Click();
    void cmdExit_Click();
    void lblErklaerung_Click();
    void mnuExit_Click();
    void mnuBlattInfoAusgeben_Click();
    void mnuTiffOptionSetzenAuslesen_Click();
    void mnuHelpSaveAsTiff_Click();
    void mnuAbout_Click();

private:
    void Form_Load();

    ui::TextBoxLog ausgabe_;
    ui::QtMessageBoxes messages_;
    kup::MessageBoxes* messageBoxes_ = &messages_;
};
