// The main window: export settings, the "Export" button, the output log and the
// menus that open every other window.
#pragma once

#include "ui/text_box_log.h"
#include "ui/window_builder.h"

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QPushButton;

class frmMain : public ui::Form {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

    // txtAusgabe as the export writes to it.
    ui::TextBoxLog& ausgabe() { return ausgabe_; }
    // The batch export with the window's current settings.
    void KupTools_SaveSheetsAsTIFF();

private slots:
    // One slot per handler.
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

    // The controls, resolved once when the window loads.
    QCheckBox* const chkTS_SaveInDocFolder;
    QCheckBox* const chkTS_DrwOwnFormat;
    QLineEdit* const txtTS_SaveDirectory;
    QPushButton* const cmdTS_ChooseSaveDirectory;
    QPushButton* const cmdTS_SaveSheetAsTiff;
    QPushButton* const cmdExit;
    QAbstractButton* const optTS_SaveAsTitleName0;
    ui::Label* const lblWorking;
    ui::Label* const lblErklaerung;

    ui::TextBoxLog ausgabe_;
};
