#include "tiffoptions/frmTIFFOptions.h"

#include "cad/number_text.h"
#include "cad/size_tables.h"
#include "cad/tiff_preferences.h"
#include "ui/core_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionComplex>

#include <memory>
#include <vector>

using namespace ui;

namespace {

const WindowDef kWindow{
    .name = "frmTIFFOptions",
    .title = "KupTools für Solidworks - TIFF Optionen einstellen",
    .width = 4320,
    .height = 5685,
    .placement = Placement{1620, 2610},
    .border = Border::Resizable,
    .icon = true,
};

// clang-format off
const std::vector<ControlDef> kControls{
    {.name = "Command1", .kind = Kind::CommandButton, .caption = "Setze eingestellte TIFF Optionen",
     .left = 240, .top = 4440, .width = 3855, .height = 375, .tab = 20},
    {.name = "cmdGetTiffOptions", .kind = Kind::CommandButton, .caption = "Lade aktuelle TIFF Optionen aus SWX",
     .left = 240, .top = 3960, .width = 3855, .height = 375, .tab = 19},
    {.name = "Frame2", .kind = Kind::Frame, .caption = "TIFF Optionen",
     .left = 240, .top = 120, .width = 3855, .height = 3735, .tab = 1},
    {.name = "chkTO_PrintScaleToFit", .kind = Kind::CheckBox, .container = "Frame2",
     .caption = "Anpassen an Papiergröße",
     .left = 120, .top = 2880, .width = 2295, .height = 255, .tab = 18, .flags = CaptionLeft},
    {.name = "cmbTO_PaperSize", .kind = Kind::DropDownList, .container = "Frame2",
     .left = 2160, .top = 1800, .width = 1575, .height = 315, .tab = 17},
    {.name = "cmbTO_PrintDPI", .kind = Kind::DropDownList, .container = "Frame2",
     .left = 2160, .top = 1440, .width = 1575, .height = 315, .tab = 16},
    {.name = "cmbTO_ScreenOrPrintCapture", .kind = Kind::DropDownList, .container = "Frame2",
     .left = 2160, .top = 1080, .width = 1575, .height = 315, .tab = 15},
    {.name = "cmbTO_CompressionScheme", .kind = Kind::DropDownList, .container = "Frame2",
     .left = 2160, .top = 720, .width = 1575, .height = 315, .tab = 14},
    {.name = "cmbTO_ImageType", .kind = Kind::DropDownList, .container = "Frame2",
     .left = 2160, .top = 360, .width = 1575, .height = 315, .tab = 13},
    {.name = "txtTO_PrintScaleFactor", .kind = Kind::TextBox, .container = "Frame2",
     .left = 2160, .top = 3240, .width = 1095, .height = 285, .tab = 11},
    {.name = "txtTO_PrintPaperHeight", .kind = Kind::TextBox, .container = "Frame2",
     .left = 2160, .top = 2520, .width = 1575, .height = 285, .tab = 9},
    {.name = "txtTO_PrintPaperWidth", .kind = Kind::TextBox, .container = "Frame2",
     .left = 2160, .top = 2160, .width = 1575, .height = 285, .tab = 7},
    {.name = "lblTO_Scale", .kind = Kind::Label, .container = "Frame2", .caption = "Skalierungsfaktor [%]",
     .left = 120, .top = 3240, .width = 1935, .height = 255, .tab = 12},
    {.name = "lblTO_Height", .kind = Kind::Label, .container = "Frame2", .caption = "Höhe [m]",
     .left = 120, .top = 2520, .width = 1935, .height = 255, .tab = 10},
    {.name = "lblTO_Width", .kind = Kind::Label, .container = "Frame2", .caption = "Breite [m]",
     .left = 120, .top = 2160, .width = 1935, .height = 255, .tab = 8},
    {.name = "lblTO_PaperSize", .kind = Kind::Label, .container = "Frame2", .caption = "Papiergröße",
     .left = 120, .top = 1800, .width = 1935, .height = 255, .tab = 6},
    {.name = "lblTO_DPI", .kind = Kind::Label, .container = "Frame2", .caption = "Punkte pro Zoll",
     .left = 120, .top = 1440, .width = 1935, .height = 255, .tab = 5},
    {.name = "lblTO_Aufnahme", .kind = Kind::Label, .container = "Frame2", .caption = "Aufnahme (Screen/Druck)",
     .left = 120, .top = 1080, .width = 1935, .height = 255, .tab = 4},
    {.name = "lblTO_Kompressionsschema", .kind = Kind::Label, .container = "Frame2", .caption = "Kompressionschema",
     .left = 120, .top = 720, .width = 1935, .height = 255, .tab = 3},
    {.name = "lblTO_Bildtyp", .kind = Kind::Label, .container = "Frame2", .caption = "Bildtyp",
     .left = 120, .top = 360, .width = 1935, .height = 255, .tab = 2},
    {.name = "cmdBack", .kind = Kind::CommandButton, .caption = "&Zurück",
     .left = 2640, .top = 5160, .width = 1455, .height = 375, .tab = 0},
};
// clang-format on

using kup::kTitleFehlerinfo;
using kup::kTitleWarnung;

// The lists hold the preferences' codes in order, so a list position is its code
// (cad/tiff_preferences.h); the DPI list holds its values as texts, 200 at this position.
constexpr int kDpi200 = 2;

// The toolkit's drop-down lists keep a wide arrow field and margins; in the
// table's lists of 1575 twips "benutzerdefiniert" would be cut off. This style
// gives the text the room a list of that width has on Windows.
class SlimListStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override
    {
        const QRect rect = QProxyStyle::subControlRect(control, option, sub, widget);
        if (control != CC_ComboBox || option == nullptr)
            return rect;
        const QRect all = option->rect;
        if (sub == SC_ComboBoxArrow)
            return QRect(all.right() - kArrow, rect.top(), kArrow, rect.height());
        if (sub == SC_ComboBoxEditField)
            return QRect(all.left() + kMargin, rect.top(), all.width() - kArrow - kMargin, rect.height());
        return rect;
    }

private:
    static constexpr int kArrow = 14;
    static constexpr int kMargin = 3;
};

}  // namespace

frmTIFFOptions::frmTIFFOptions(QWidget* parent)
    : Form(kWindow, kControls, parent), Command1(require<QPushButton>("Command1")),
      cmdGetTiffOptions(require<QPushButton>("cmdGetTiffOptions")), cmdBack(require<QPushButton>("cmdBack")),
      chkTO_PrintScaleToFit(require<QCheckBox>("chkTO_PrintScaleToFit")),
      cmbTO_PaperSize(require<QComboBox>("cmbTO_PaperSize")),
      cmbTO_PrintDPI(require<QComboBox>("cmbTO_PrintDPI")),
      cmbTO_ScreenOrPrintCapture(require<QComboBox>("cmbTO_ScreenOrPrintCapture")),
      cmbTO_CompressionScheme(require<QComboBox>("cmbTO_CompressionScheme")),
      cmbTO_ImageType(require<QComboBox>("cmbTO_ImageType")),
      txtTO_PrintScaleFactor(require<QLineEdit>("txtTO_PrintScaleFactor")),
      txtTO_PrintPaperHeight(require<QLineEdit>("txtTO_PrintPaperHeight")),
      txtTO_PrintPaperWidth(require<QLineEdit>("txtTO_PrintPaperWidth"))
{
    auto* slim = new SlimListStyle;
    slim->setParent(this);
    for (QComboBox* list : lists())
        list->setStyle(slim);
    // currentIndexChanged, toggled and textChanged report program changes as well as
    // the user's, once each; activated or textEdited would miss the program's.
    on(cmbTO_ScreenOrPrintCapture, &QComboBox::currentIndexChanged,
       &frmTIFFOptions::cmbTO_ScreenOrPrintCapture_Click);
    on(cmbTO_ImageType, &QComboBox::currentIndexChanged, &frmTIFFOptions::cmbTO_ImageType_Click);
    on(cmbTO_CompressionScheme, &QComboBox::currentIndexChanged,
       &frmTIFFOptions::cmbTO_CompressionScheme_Click);
    on(cmbTO_PaperSize, &QComboBox::currentIndexChanged, &frmTIFFOptions::cmbTO_PaperSize_Click);
    on(chkTO_PrintScaleToFit, &QCheckBox::toggled, &frmTIFFOptions::chkTO_PrintScaleToFit_Click);
    on(txtTO_PrintScaleFactor, &QLineEdit::textChanged, &frmTIFFOptions::txtTO_PrintScaleFactor_Change);
    on(cmdGetTiffOptions, &QPushButton::clicked, &frmTIFFOptions::cmdGetTiffOptions_Click);
    on(Command1, &QPushButton::clicked, &frmTIFFOptions::Command1_Click);
    on(cmdBack, &QPushButton::clicked, &frmTIFFOptions::cmdBack_Click);
    Form_Load();
}

std::array<QComboBox*, 5> frmTIFFOptions::lists() const
{
    return {cmbTO_ImageType, cmbTO_CompressionScheme, cmbTO_ScreenOrPrintCapture, cmbTO_PrintDPI,
            cmbTO_PaperSize};
}

std::string frmTIFFOptions::text(const QLineEdit* box)
{
    return box->text().toStdString();
}

void frmTIFFOptions::setText(QLineEdit* box, const std::string& text)
{
    box->setText(qs(text));
}

void frmTIFFOptions::KupTools_FillComboStandardValues()
{
    cmbTO_CompressionScheme->addItems({"Uncompressed", "Packbit", "Group 4 Fax"});
    cmbTO_ImageType->addItems({"Schwarz/Weiß", "Farbe RGB"});
    cmbTO_PrintDPI->addItems({"50", "100", "200", "300", "600"});
    cmbTO_ScreenOrPrintCapture->addItems({"Bildschirm", "für Druck"});
    cad::FillSizeTables();
    for (const std::string& name : cad::PaperSizeNames)
        cmbTO_PaperSize->addItem(qs(name));
}

void frmTIFFOptions::Form_Load()
{
    {
        // Filling an empty list selects its first entry; the lists start without a
        // selection, so that each default below is a change that runs its rule.
        std::vector<std::unique_ptr<QSignalBlocker>> quiet;
        for (QComboBox* list : lists())
            quiet.push_back(std::make_unique<QSignalBlocker>(list));
        KupTools_FillComboStandardValues();
        for (QComboBox* list : lists())
            list->setCurrentIndex(-1);
    }
    selectPosition(cmbTO_ImageType, cad::kBlackAndWhite, &frmTIFFOptions::cmbTO_ImageType_Click);
    selectPosition(cmbTO_CompressionScheme, cad::kGroup4, &frmTIFFOptions::cmbTO_CompressionScheme_Click);
    selectPosition(cmbTO_ScreenOrPrintCapture, cad::kPrintCapture,
                   &frmTIFFOptions::cmbTO_ScreenOrPrintCapture_Click);
    setScaleText("100");
    setScaleToFit(true);
    selectPosition(cmbTO_PaperSize, cad::kPaperA3, &frmTIFFOptions::cmbTO_PaperSize_Click);
    selectPosition(cmbTO_PrintDPI, kDpi200, nullptr);
}

void frmTIFFOptions::selectPosition(QComboBox* box, int position, Rule rule)
{
    if (box->currentIndex() != position)
        box->setCurrentIndex(position);  // currentIndexChanged runs the rule
    else if (rule != nullptr)
        (this->*rule)();
}

void frmTIFFOptions::setScaleText(const std::string& text)
{
    if (this->text(txtTO_PrintScaleFactor) != text)
        setText(txtTO_PrintScaleFactor, text);  // textChanged runs the rule
    else
        txtTO_PrintScaleFactor_Change();
}

void frmTIFFOptions::setScaleToFit(bool checked)
{
    if (chkTO_PrintScaleToFit->isChecked() != checked)
        chkTO_PrintScaleToFit->setChecked(checked);  // toggled runs the rule
    else
        chkTO_PrintScaleToFit_Click();
}

bool frmTIFFOptions::selectValue(QComboBox* list, int value, Rule rule)
{
    if (value < 0 || value >= list->count())
        return false;
    selectPosition(list, value, rule);
    return true;
}

void frmTIFFOptions::cmbTO_ScreenOrPrintCapture_Click()
{
    const bool print = cmbTO_ScreenOrPrintCapture->currentIndex() != cad::kScreenCapture;
    for (QWidget* control : std::initializer_list<QWidget*>{cmbTO_PrintDPI, cmbTO_PaperSize,
                                                            txtTO_PrintPaperWidth, txtTO_PrintPaperHeight,
                                                            chkTO_PrintScaleToFit, txtTO_PrintScaleFactor})
        control->setEnabled(print);
}

void frmTIFFOptions::conflictRule(QComboBox* changedList, int fallback)
{
    if (cmbTO_CompressionScheme->currentIndex() != cad::kGroup4 ||
        cmbTO_ImageType->currentIndex() != cad::kRgb)
        return;
    messages().show("RGB Bild bei Kompressionsschema Group 4 Fax nicht zulässig", kTitleWarnung,
                    kup::Icon::Warning);
    // Moving the list back runs its rule once more; it then finds no conflict.
    changedList->setCurrentIndex(fallback);
}

void frmTIFFOptions::cmbTO_ImageType_Click()
{
    conflictRule(cmbTO_ImageType, cad::kBlackAndWhite);
}

void frmTIFFOptions::cmbTO_CompressionScheme_Click()
{
    conflictRule(cmbTO_CompressionScheme, cad::kPackBits);
}

void frmTIFFOptions::cmbTO_PaperSize_Click()
{
    const int code = cmbTO_PaperSize->currentIndex();
    if (code < 0 || code >= cad::kPaperSizeCount)
        return;
    const std::string separator = ui::regionalDecimalSeparator();
    txtTO_PrintPaperWidth->setEnabled(true);
    txtTO_PrintPaperHeight->setEnabled(true);
    setText(txtTO_PrintPaperHeight, cad::numberText(cad::PaperSizeHeights[code] / 1000, separator));
    setText(txtTO_PrintPaperWidth, cad::numberText(cad::PaperSizeWidths[code] / 1000, separator));
    if (code != cad::kPaperUserDefined) {
        txtTO_PrintPaperWidth->setEnabled(false);
        txtTO_PrintPaperHeight->setEnabled(false);
    }
}

void frmTIFFOptions::chkTO_PrintScaleToFit_Click()
{
    txtTO_PrintScaleFactor->setEnabled(!chkTO_PrintScaleToFit->isChecked());
}

void frmTIFFOptions::txtTO_PrintScaleFactor_Change()
{
    const double value = cad::roundHalfEven(cad::leadingNumber(text(txtTO_PrintScaleFactor)));
    if (!(value >= 1 && value <= 1000)) {
        messages().show("Nur ganzzahlige Werte zwischen 1 und 1000 erlaubt", kTitleWarnung,
                        kup::Icon::Warning);
        // Runs this rule again, with a value it accepts.
        setText(txtTO_PrintScaleFactor, LastScaleFactor < 1 ? "100" : std::to_string(LastScaleFactor));
    }
    LastScaleFactor =
        cad::toInt32(cad::leadingNumber(text(txtTO_PrintScaleFactor))).value_or(LastScaleFactor);
    chkTO_PrintScaleToFit->setChecked(false);
}

void frmTIFFOptions::KupTools_HoleTiffOptions()
{
    kup::TiffOptionSet options;
    std::string message;
    if (!kup::HoleSwxTiffOptions(options, message)) {
        messages().show(message, kTitleFehlerinfo);
        return;
    }

    // A value without a list position leaves its list as it is; the user learns
    // about all of them together once loading is done.
    std::vector<std::string> notShown;
    const auto show = [&](QComboBox* list, const char* caption, int value, Rule rule) {
        if (!selectValue(list, value, rule))
            notShown.push_back(std::string(caption) + ": " + std::to_string(value));
    };
    show(cmbTO_ScreenOrPrintCapture, "Aufnahme (Screen/Druck)", options.TiffScreenOrPrintCapture,
         &frmTIFFOptions::cmbTO_ScreenOrPrintCapture_Click);
    show(cmbTO_ImageType, "Bildtyp", options.TiffImageType, &frmTIFFOptions::cmbTO_ImageType_Click);
    show(cmbTO_CompressionScheme, "Kompressionschema", options.TiffCompressionScheme,
         &frmTIFFOptions::cmbTO_CompressionScheme_Click);
    for (int i = 0; i < cmbTO_PrintDPI->count(); ++i)
        if (cad::leadingNumber(cmbTO_PrintDPI->itemText(i).toStdString()) == options.TiffPrintDPI)
            cmbTO_PrintDPI->setCurrentIndex(i);
    show(cmbTO_PaperSize, "Papiergröße", options.TiffPrintPaperSize, &frmTIFFOptions::cmbTO_PaperSize_Click);
    setScaleText(std::to_string(options.TiffPrintScaleFactor));
    setScaleToFit(options.TiffPrintScaleToFit);
    const std::string separator = ui::regionalDecimalSeparator();
    setText(txtTO_PrintPaperWidth, cad::numberText(options.TiffPrintPaperWidth, separator));
    setText(txtTO_PrintPaperHeight, cad::numberText(options.TiffPrintPaperHeight, separator));

    if (!notShown.empty()) {
        std::string text = "Diese Werte aus Solidworks haben keinen Eintrag in ihrer Liste; die Liste zeigt "
                           "weiter ihren bisherigen Wert:";
        for (const std::string& line : notShown)
            text += "\n" + line;
        messages().show(text, kTitleWarnung, kup::Icon::Warning);
    }
}

std::optional<kup::TiffOptionSet> frmTIFFOptions::readControls()
{
    const std::string separator = ui::regionalDecimalSeparator();
    std::vector<std::string> notNumbers;
    const auto metres = [&](const QLineEdit* box, const char* caption) {
        const std::string typed = text(box);
        const std::optional<double> value = cad::readRegionalNumber(typed, separator);
        if (!value)
            notNumbers.push_back(std::string(caption) + ": \"" + typed + "\" ist keine Zahl.");
        return value.value_or(0);
    };

    kup::TiffOptionSet options;
    options.TiffScreenOrPrintCapture = static_cast<int16_t>(cmbTO_ScreenOrPrintCapture->currentIndex());
    options.TiffImageType = static_cast<int16_t>(cmbTO_ImageType->currentIndex());
    options.TiffCompressionScheme = static_cast<int16_t>(cmbTO_CompressionScheme->currentIndex());
    options.TiffPrintDPI =
        cad::toInt16(cad::leadingNumber(cmbTO_PrintDPI->currentText().toStdString())).value_or(0);
    options.TiffPrintPaperSize = static_cast<int16_t>(cmbTO_PaperSize->currentIndex());
    // The scale rule keeps the text between 1 and 1000.
    options.TiffPrintScaleFactor = cad::toInt16(cad::leadingNumber(text(txtTO_PrintScaleFactor)))
                                       .value_or(static_cast<int16_t>(LastScaleFactor));
    options.TiffPrintScaleToFit = chkTO_PrintScaleToFit->isChecked();
    options.TiffPrintPaperWidth = metres(txtTO_PrintPaperWidth, "Breite [m]");
    options.TiffPrintPaperHeight = metres(txtTO_PrintPaperHeight, "Höhe [m]");

    if (notNumbers.empty())
        return options;
    std::string message;
    for (const std::string& line : notNumbers)
        message += line + "\n";
    message += "Bitte eine Zahl in der Form " + cad::numberText(0.42, separator) +
               " eingeben. Es wurde nichts an Solidworks übergeben.";
    messages().show(message, kTitleWarnung, kup::Icon::Warning);
    return std::nullopt;
}

void frmTIFFOptions::KupTools_SetzeTiffOptions()
{
    const std::optional<kup::TiffOptionSet> options = readControls();
    if (!options)
        return;
    std::string message;
    if (kup::SetzeSwxTiffOptions(*options, message))
        messages().show("Optionen erfolgreich gesetzt.", kup::kTitleSetzenErfolgreich);
    else
        messages().show(message, kTitleFehlerinfo);
}

// The transfers report the CAD system's failures themselves; anything else that
// escapes is an internal error, which on() reports.
void frmTIFFOptions::cmdGetTiffOptions_Click()
{
    KupTools_HoleTiffOptions();
}

void frmTIFFOptions::Command1_Click()
{
    KupTools_SetzeTiffOptions();
}

void frmTIFFOptions::cmdBack_Click()
{
    close();
}
