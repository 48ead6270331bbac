#include "app/frmMain.h"

#include "app/mod_kup_tools.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelpSaveAsTiff.h"
#include "dialogs/frmOpenDirectory.h"
#include "export/sheet_export.h"
#include "sheetinfo/frmSheetInfo.h"
#include "tiffoptions/frmTIFFOptions.h"
#include "ui/window_registry.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

using namespace ui;

namespace {

const WindowDef kWindow{
    .name = "frmMain",
    .title = "KupTools für Solidworks",
    .width = 5265,
    .height = 6480,
    .placement = Placement{1095, 2205},
    .border = Border::Resizable,
    .icon = true,
    .menus =
        {
            {"mnuDatei", "&Datei", {{"mnuExit", "&Beenden"}}},
            {"mnuBlattInfo", "Blattinfo", {{"mnuBlattInfoAusgeben", "Info ausgeben ..."}}},
            {"mnuTiffOptionen", "TIFF-Optionen", {{"mnuTiffOptionSetzenAuslesen", "setzen / auslesen ..."}}},
            {"mnuHilfe", "&?", {{"mnuHelpSaveAsTiff", "Kurzerklärung"}, {"mnuAbout", "&Über KUP-Tools"}}},
        },
};

const Font kBold{.face = Face::SansSerif, .points = 8.25, .weight = 700};

// clang-format off
const std::vector<ControlDef> kControls{
    {.name = "Frame1", .kind = Kind::Frame, .caption = " SLDDRW als TIFF abpseichern (alle Blätter) ",
     .left = 120, .top = 960, .width = 4935, .height = 4935, .tab = 1, .font = kBold},
    {.name = "Frame3", .kind = Kind::Frame, .container = "Frame1",
     .caption = " Verzeichnis für exportierte TIFFs wählen ",
     .left = 120, .top = 1920, .width = 4695, .height = 975, .tab = 9},
    {.name = "cmdTS_ChooseSaveDirectory", .kind = Kind::CommandButton, .container = "Frame3", .caption = "...",
     .left = 4200, .top = 600, .width = 375, .height = 285, .tab = 12},
    {.name = "txtTS_SaveDirectory", .kind = Kind::TextBox, .container = "Frame3",
     .left = 120, .top = 600, .width = 3975, .height = 285, .tab = 11},
    {.name = "chkTS_SaveInDocFolder", .kind = Kind::CheckBox, .container = "Frame3",
     .caption = "TIFF im Ordner der Zeichnung speichern",
     .left = 120, .top = 240, .width = 4455, .height = 255, .tab = 10},
    {.name = "Frame2", .kind = Kind::Frame, .container = "Frame1",
     .caption = "Namenskonvention für erzeugte TIFF-Dateien ",
     .left = 120, .top = 600, .width = 4695, .height = 1215, .tab = 5},
    {.name = "optTS_SaveAsTitleName(1)", .kind = Kind::OptionButton, .container = "Frame2",
     .caption = "benutzte nur Blattnamen",
     .left = 120, .top = 840, .width = 4335, .height = 195, .tab = 8},
    {.name = "optTS_SaveAsTitleName(0)", .kind = Kind::OptionButton, .container = "Frame2",
     .caption = "benutzte Zeichnungsnamen (wie in der SWX-Titelleiste angezeigt)",
     .left = 120, .top = 360, .width = 4335, .height = 375, .tab = 7, .flags = Checked},
    {.name = "cmdTS_SaveSheetAsTiff", .kind = Kind::CommandButton, .container = "Frame1", .caption = "Export",
     .left = 3600, .top = 3000, .width = 1215, .height = 375, .tab = 4},
    {.name = "txtAusgabe", .kind = Kind::TextBox, .container = "Frame1",
     .left = 120, .top = 3480, .width = 4695, .height = 1335, .tab = 3, .flags = MultiLine},
    {.name = "chkTS_DrwOwnFormat", .kind = Kind::CheckBox, .container = "Frame1",
     .left = 120, .top = 240, .width = 4695, .height = 255, .tab = 2, .flags = Checked},
    {.name = "cmdExit", .kind = Kind::CommandButton, .caption = "&Beenden",
     .left = 3600, .top = 6000, .width = 1455, .height = 375, .tab = 0},
    {.name = "lblWorking", .kind = Kind::Label, .caption = "Export läuft, bitte etwas Geduld ...",
     .left = 120, .top = 6000, .width = 3375, .height = 375, .tab = 13, .flags = Hidden},
    {.name = "lblErklaerung", .kind = Kind::Label,
     .left = 1080, .top = 120, .width = 3975, .height = 735, .tab = 6},
    {.name = "Image1", .kind = Kind::Image,
     .left = 120, .top = 120, .width = 630, .height = 630, .picture = Picture::Logo},
};
// clang-format on

}  // namespace

frmMain::frmMain(QWidget* parent)
    : Form(kWindow, kControls, parent), chkTS_SaveInDocFolder(require<QCheckBox>("chkTS_SaveInDocFolder")),
      chkTS_DrwOwnFormat(require<QCheckBox>("chkTS_DrwOwnFormat")),
      txtTS_SaveDirectory(require<QLineEdit>("txtTS_SaveDirectory")),
      cmdTS_ChooseSaveDirectory(require<QPushButton>("cmdTS_ChooseSaveDirectory")),
      cmdTS_SaveSheetAsTiff(require<QPushButton>("cmdTS_SaveSheetAsTiff")),
      cmdExit(require<QPushButton>("cmdExit")),
      optTS_SaveAsTitleName0(require<QAbstractButton>("optTS_SaveAsTitleName(0)")),
      lblWorking(require<Label>("lblWorking")), lblErklaerung(require<Label>("lblErklaerung")),
      ausgabe_(require<QPlainTextEdit>("txtAusgabe"))
{
    on(chkTS_SaveInDocFolder, &QCheckBox::toggled, &frmMain::chkTS_SaveInDocFolder_Click);
    on(cmdTS_ChooseSaveDirectory, &QPushButton::clicked, &frmMain::cmdTS_ChooseSaveDirectory_Click);
    on(cmdTS_SaveSheetAsTiff, &QPushButton::clicked, &frmMain::cmdTS_SaveSheetAsTiff_Click);
    on(cmdExit, &QPushButton::clicked, &frmMain::cmdExit_Click);
    on(lblErklaerung, &Label::clicked, &frmMain::lblErklaerung_Click);
    on(requireMenuItem("mnuExit"), &QAction::triggered, &frmMain::mnuExit_Click);
    on(requireMenuItem("mnuBlattInfoAusgeben"), &QAction::triggered, &frmMain::mnuBlattInfoAusgeben_Click);
    on(requireMenuItem("mnuTiffOptionSetzenAuslesen"), &QAction::triggered,
       &frmMain::mnuTiffOptionSetzenAuslesen_Click);
    on(requireMenuItem("mnuHelpSaveAsTiff"), &QAction::triggered, &frmMain::mnuHelpSaveAsTiff_Click);
    on(requireMenuItem("mnuAbout"), &QAction::triggered, &frmMain::mnuAbout_Click);
    Form_Load();
}

void frmMain::Form_Load()
{
    lblErklaerung->setText(
        "Die Funktion speichert alle Blätter der aktuellen Solidworks-Drawing als TIFF ab. Eine "
        "Kurzerklärung können Sie in der Hilfe lesen");
    chkTS_DrwOwnFormat->setText("TIFF-Export: jedes Blatt im eigenen Format speichern");
    // Ticking it runs its handler, which disables the directory field and its button.
    chkTS_SaveInDocFolder->setChecked(true);
}

void frmMain::chkTS_SaveInDocFolder_Click()
{
    const bool ownDirectory = !chkTS_SaveInDocFolder->isChecked();
    txtTS_SaveDirectory->setEnabled(ownDirectory);
    cmdTS_ChooseSaveDirectory->setEnabled(ownDirectory);
}

void frmMain::cmdTS_ChooseSaveDirectory_Click()
{
    QPointer<frmOpenDirectory> chooser = new frmOpenDirectory();
    chooser->showModal();
    // Closed through its title bar it may be gone already: that counts as cancelled.
    txtTS_SaveDirectory->setText(chooser ? chooser->Tag() : QString());
    // Unloaded, so that the next click opens it afresh.
    delete chooser.data();
}

void frmMain::cmdTS_SaveSheetAsTiff_Click()
{
    setCursor(Qt::WaitCursor);
    lblWorking->setVisible(true);
    // The run holds the UI thread: without an explicit paint the notice would
    // appear only after the export has finished.
    lblWorking->repaint();

    // Back to idle on every way out: the run reports the CAD system's failures
    // itself, anything else it throws is an internal error that on() reports.
    struct Idle {
        frmMain* window;
        ~Idle()
        {
            window->lblWorking->setVisible(false);
            window->unsetCursor();
        }
    } idle{this};
    KupTools_SaveSheetsAsTIFF();
}

void frmMain::KupTools_SaveSheetsAsTIFF()
{
    const kup::ExportSettings settings{
        .ownFormat = chkTS_DrwOwnFormat->isChecked(),
        .titleNaming = optTS_SaveAsTitleName0->isChecked(),
        .saveInDocFolder = chkTS_SaveInDocFolder->isChecked(),
        .directory = txtTS_SaveDirectory->text().toStdString(),
    };
    kup::KupTools_SaveSheetsAsTIFF(settings, ausgabe_, messages());
}

void frmMain::cmdExit_Click()
{
    mod_kup_tools::EndProgram();
}

void frmMain::lblErklaerung_Click()
{
    windows().show<frmHelpSaveAsTiff>();
}

void frmMain::mnuExit_Click()
{
    mod_kup_tools::EndProgram();
}

void frmMain::mnuBlattInfoAusgeben_Click()
{
    ui::windows().show<frmSheetInfo>();
}

void frmMain::mnuTiffOptionSetzenAuslesen_Click()
{
    ui::windows().show<frmTIFFOptions>();
}

void frmMain::mnuHelpSaveAsTiff_Click()
{
    windows().show<frmHelpSaveAsTiff>();
}

void frmMain::mnuAbout_Click()
{
    windows().show<frmAbout>();
}
