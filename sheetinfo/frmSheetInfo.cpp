#include "sheetinfo/frmSheetInfo.h"

#include "cad/automation.h"
#include "cad/number_text.h"
#include "cad/sheet_queries.h"
#include "dialogs/frmAbout.h"
#include "sheetinfo/sheet_report.h"
#include "ui/core_texts.h"
#include "ui/window_registry.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <vector>

using namespace ui;

namespace {

using kup::kTitleFehlerinfo;

const WindowDef kWindow{
    .name = "frmSheetInfo",
    .title = "KupTools für Solidworks - Blattinformationen",
    .width = 4305,
    .height = 6540,
    .placement = Placement{1620, 2085},
    .border = Border::Resizable,
    .icon = true,
};

const Font kReportFont{.face = Face::FixedPitch, .points = 9, .weight = 400};

// clang-format off
const std::vector<ControlDef> kControls{
    {.name = "Frame1", .kind = Kind::Frame, .caption = "Blattinformationen",
     .left = 120, .top = 120, .width = 3975, .height = 3855, .tab = 4},
    {.name = "cmdGetActiveSheet", .kind = Kind::CommandButton, .container = "Frame1",
     .caption = "&Lade Blattinformationen",
     .left = 1320, .top = 3360, .width = 2535, .height = 375, .tab = 23},
    {.name = "txtBI_PaperHeight", .kind = Kind::TextBox, .container = "Frame1",
     .left = 1320, .top = 2880, .width = 1935, .height = 285, .tab = 22},
    {.name = "txtBI_PaperWidth", .kind = Kind::TextBox, .container = "Frame1",
     .left = 1320, .top = 2520, .width = 1935, .height = 285, .tab = 20},
    {.name = "txtBI_ProjTypFirstAngle", .kind = Kind::TextBox, .container = "Frame1",
     .left = 1320, .top = 2160, .width = 1935, .height = 285, .tab = 18},
    {.name = "txtBI_ScaleDenominator", .kind = Kind::TextBox, .container = "Frame1",
     .left = 2400, .top = 1800, .width = 855, .height = 285, .tab = 16},
    {.name = "txtBI_ScaleNominator", .kind = Kind::TextBox, .container = "Frame1",
     .left = 1320, .top = 1800, .width = 855, .height = 285, .tab = 14},
    {.name = "txtBI_TemplatePath", .kind = Kind::TextBox, .container = "Frame1",
     .left = 1320, .top = 1440, .width = 2535, .height = 285, .tab = 12},
    {.name = "txtBI_TemplateSize", .kind = Kind::TextBox, .container = "Frame1",
     .left = 1320, .top = 1080, .width = 2535, .height = 285, .tab = 10},
    {.name = "txtBI_PaperSize", .kind = Kind::TextBox, .container = "Frame1",
     .left = 1320, .top = 720, .width = 2535, .height = 285, .tab = 8},
    {.name = "cmbDrawingNames", .kind = Kind::DropDownList, .container = "Frame1",
     .left = 1320, .top = 240, .width = 2535, .height = 315, .tab = 5},
    {.name = "Label3", .kind = Kind::Label, .container = "Frame1", .caption = "m",
     .left = 3360, .top = 2880, .width = 495, .height = 255, .tab = 25},
    {.name = "Label1", .kind = Kind::Label, .container = "Frame1", .caption = "m",
     .left = 3360, .top = 2520, .width = 495, .height = 255, .tab = 24},
    {.name = "lblBI_PaperHeight", .kind = Kind::Label, .container = "Frame1", .caption = "Papierhöhe",
     .left = 240, .top = 2880, .width = 1095, .height = 255, .tab = 21},
    {.name = "lblBI_PaperWidth", .kind = Kind::Label, .container = "Frame1", .caption = "Papierbreite",
     .left = 240, .top = 2520, .width = 1095, .height = 255, .tab = 19},
    {.name = "lblBI_ProjTypFirstAngle", .kind = Kind::Label, .container = "Frame1", .caption = "Projektion",
     .left = 240, .top = 2160, .width = 1095, .height = 255, .tab = 17},
    {.name = "Label2", .kind = Kind::Label, .container = "Frame1", .caption = ":",
     .left = 2280, .top = 1800, .width = 45, .height = 195, .tab = 15},
    {.name = "lblBI_Scale", .kind = Kind::Label, .container = "Frame1", .caption = "Maßstab",
     .left = 240, .top = 1800, .width = 1095, .height = 255, .tab = 13},
    {.name = "lblBI_TemplatePath", .kind = Kind::Label, .container = "Frame1", .caption = "Vorlagenpfad",
     .left = 240, .top = 1440, .width = 1095, .height = 255, .tab = 11},
    {.name = "lblBI_TemplateSize", .kind = Kind::Label, .container = "Frame1", .caption = "Vorlagengröße",
     .left = 240, .top = 1080, .width = 1095, .height = 255, .tab = 9},
    {.name = "lblBI_PaperSize", .kind = Kind::Label, .container = "Frame1", .caption = "Papiergröße",
     .left = 240, .top = 720, .width = 1095, .height = 255, .tab = 7},
    {.name = "lblBI_Blatt", .kind = Kind::Label, .container = "Frame1", .caption = "Blatt",
     .left = 240, .top = 240, .width = 1035, .height = 195, .tab = 6},
    {.name = "cmdHoleKupInfos", .kind = Kind::CommandButton,
     .caption = "Hole Infos über alle Zeichnungsblätter in Textform",
     .left = 120, .top = 5520, .width = 3975, .height = 375, .tab = 3},
    {.name = "cmdBack", .kind = Kind::CommandButton, .caption = "&Zurück",
     .left = 2640, .top = 6000, .width = 1455, .height = 375, .tab = 2},
    {.name = "cmdAbout", .kind = Kind::CommandButton, .caption = "über KUP-Tools",
     .left = 120, .top = 6000, .width = 1575, .height = 375, .tab = 1},
    {.name = "txtAusgabe", .kind = Kind::TextBox,
     .left = 120, .top = 4080, .width = 3975, .height = 1335, .tab = 0, .flags = MultiLine,
     .font = kReportFont},
};
// clang-format on

// The eight property fields in the order they are cleared and filled.
std::array<QLineEdit*, 8> propertyFields(const Form& form)
{
    std::array<QLineEdit*, 8> fields{};
    const char* const names[] = {
        "txtBI_PaperSize",        "txtBI_TemplateSize",      "txtBI_TemplatePath", "txtBI_ScaleNominator",
        "txtBI_ScaleDenominator", "txtBI_ProjTypFirstAngle", "txtBI_PaperWidth",   "txtBI_PaperHeight",
    };
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = form.require<QLineEdit>(names[i]);
    return fields;
}

}  // namespace

frmSheetInfo::frmSheetInfo(QWidget* parent)
    : Form(kWindow, kControls, parent), cmdGetActiveSheet(require<QPushButton>("cmdGetActiveSheet")),
      cmdHoleKupInfos(require<QPushButton>("cmdHoleKupInfos")), cmdAbout(require<QPushButton>("cmdAbout")),
      cmdBack(require<QPushButton>("cmdBack")), cmbDrawingNames(require<QComboBox>("cmbDrawingNames")),
      txtAusgabe(require<QPlainTextEdit>("txtAusgabe")), propertyFields_(propertyFields(*this)),
      ausgabe_(txtAusgabe)
{
    on(cmdGetActiveSheet, &QPushButton::clicked, &frmSheetInfo::cmdGetActiveSheet_Click);
    // activated: the user's choice (mouse, keys, wheel), also of the entry already shown.
    on(cmbDrawingNames, &QComboBox::activated, &frmSheetInfo::cmbDrawingNames_Click);
    on(cmdHoleKupInfos, &QPushButton::clicked, &frmSheetInfo::cmdHoleKupInfos_Click);
    on(cmdAbout, &QPushButton::clicked, &frmSheetInfo::cmdAbout_Click);
    on(cmdBack, &QPushButton::clicked, &frmSheetInfo::cmdBack_Click);
    Form_Load();
}

void frmSheetInfo::Form_Load()
{
    ausgabe_.replace(std::string());
    cmbDrawingNames->clear();
    KupTools_ClearAllTextfields();
}

void frmSheetInfo::KupTools_ClearAllTextfields()
{
    for (QLineEdit* field : propertyFields_)
        field->clear();
}

void frmSheetInfo::KupTools_FillKupInfo(const std::string& ActiveSheet)
{
    reportingCadFailure([&] { fillKupInfo(ActiveSheet); });
}

void frmSheetInfo::fillKupInfo(const std::string& sheetName)
{
    KupTools_ClearAllTextfields();
    std::string templatePath, paperSizeName, templateSizeName, scaleText, errorText;
    int32_t paperSizeCode = 0, templateSizeCode = 0, firstAngle = 0;
    double scaleNumerator = 0, scaleDenominator = 0, paperWidth = 0, paperHeight = 0;
    if (!cad::HoleSheetProperties(sheetName, templatePath, paperSizeCode, paperSizeName, templateSizeCode,
                                  templateSizeName, scaleNumerator, scaleDenominator, scaleText, firstAngle,
                                  paperWidth, paperHeight, errorText)) {
        messages().show(errorText, kTitleFehlerinfo);
        return;
    }
    const std::string values[] = {
        paperSizeName,
        templateSizeName,
        templatePath,
        cad::numberText(scaleNumerator),
        cad::numberText(scaleDenominator),
        firstAngle == -1 ? "erster Winkel" : "dritter Winkel",
        cad::numberText(paperWidth),
        cad::numberText(paperHeight),
    };
    for (std::size_t i = 0; i < propertyFields_.size(); ++i)
        propertyFields_[i]->setText(ui::qs(values[i]));
}

void frmSheetInfo::KupTools_HoleKupInfo()
{
    reportingCadFailure([this] { holeKupInfo(); });
}

void frmSheetInfo::holeKupInfo()
{
    QComboBox* list = cmbDrawingNames;
    list->clear();
    KupTools_ClearAllTextfields();

    int32_t sheetCount = 0;
    std::vector<std::string> sheetNames;
    std::string currentSheetName, errorText;
    if (!cad::HoleSheetNames(sheetCount, sheetNames, currentSheetName, errorText)) {
        messages().show(errorText, kTitleFehlerinfo);
        return;
    }
    int selected = 0;
    for (int32_t i = 0; i < sheetCount; ++i) {
        const std::string& name = sheetNames[static_cast<std::size_t>(i)];
        list->addItem(ui::qs(name));
        if (name == currentSheetName)
            selected = i;
    }
    // A drawing without sheets leaves nothing to select, and nothing to activate.
    if (list->count() == 0)
        return;
    selectSheet(selected);
    // The fields end on the active sheet whichever entry the selection chose.
    fillKupInfo(currentSheetName);
}

void frmSheetInfo::selectSheet(int index)
{
    cmbDrawingNames->setCurrentIndex(index);
    fillKupInfo(cmbDrawingNames->itemText(index).toStdString());
}

void frmSheetInfo::KupTools_HoleAlleKupInfos()
{
    // Emptied first, so that boxes shown while the report runs stand beside an empty box.
    ausgabe_.replace(std::string());
    ausgabe_.replace(kup::buildSheetReport(messages()));
}

void frmSheetInfo::reportingCadFailure(const std::function<void()>& body)
{
    // Anything else is not the CAD system's failure: on() reports it as an internal error.
    try {
        body();
    } catch (const cad::AutomationError& error) {
        messages().show(cad::failureText("Die Blattinformationen konnten nicht gelesen werden", error),
                        kTitleFehlerinfo);
    }
}

void frmSheetInfo::cmdGetActiveSheet_Click()
{
    KupTools_HoleKupInfo();
}

void frmSheetInfo::cmbDrawingNames_Click(int index)
{
    KupTools_FillKupInfo(cmbDrawingNames->itemText(index).toStdString());
}

void frmSheetInfo::cmdHoleKupInfos_Click()
{
    KupTools_HoleAlleKupInfos();
}

void frmSheetInfo::cmdAbout_Click()
{
    // The same About window as the main menu's; it stays when this window closes.
    ui::windows().show<frmAbout>();
}

void frmSheetInfo::cmdBack_Click()
{
    close();
}
