#include "tiffoptions/frmTIFFOptions.h"

#include "cad/number_text.h"
#include "cad/size_tables.h"
#include "ui/regional_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionComplex>

#include <exception>
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

const char* const kWarnung = "KUP-Tools Warnung";
const char* const kFehlerinfo = "KUP-Tools - Fehlerinfo";

// List positions the rules test.
constexpr int kBlackAndWhite = 0;
constexpr int kColourRgb = 1;
constexpr int kPackBits = 1;
constexpr int kGroup4Fax = 2;
constexpr int kScreenCapture = 0;
constexpr int kPrintCapture = 1;
constexpr int kA3 = 8;
constexpr int kDpi200 = 2;

const char* const kLists[] = {"cmbTO_ImageType", "cmbTO_CompressionScheme", "cmbTO_ScreenOrPrintCapture",
                              "cmbTO_PrintDPI", "cmbTO_PaperSize"};

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

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

frmTIFFOptions::frmTIFFOptions(kup::MessageBoxes* boxes, QWidget* parent)
    : Form(kWindow, kControls, parent), screenBoxes_(this), boxes_(boxes != nullptr ? *boxes : screenBoxes_)
{
    auto* slim = new SlimListStyle;
    slim->setParent(this);
    for (const char* name : kLists)
        list(name)->setStyle(slim);
    // currentIndexChanged, toggled and textChanged report program changes as well as
    // the user's, once each; activated or textEdited would miss the program's.
    connect(list("cmbTO_ScreenOrPrintCapture"), &QComboBox::currentIndexChanged, this,
            &frmTIFFOptions::cmbTO_ScreenOrPrintCapture_Click);
    connect(list("cmbTO_ImageType"), &QComboBox::currentIndexChanged, this,
            &frmTIFFOptions::cmbTO_ImageType_Click);
    connect(list("cmbTO_CompressionScheme"), &QComboBox::currentIndexChanged, this,
            &frmTIFFOptions::cmbTO_CompressionScheme_Click);
    connect(list("cmbTO_PaperSize"), &QComboBox::currentIndexChanged, this,
            &frmTIFFOptions::cmbTO_PaperSize_Click);
    connect(control<QCheckBox>("chkTO_PrintScaleToFit"), &QCheckBox::toggled, this,
            &frmTIFFOptions::chkTO_PrintScaleToFit_Click);
    connect(control<QLineEdit>("txtTO_PrintScaleFactor"), &QLineEdit::textChanged, this,
            &frmTIFFOptions::txtTO_PrintScaleFactor_Change);
    connect(control<QPushButton>("cmdGetTiffOptions"), &QPushButton::clicked, this,
            &frmTIFFOptions::cmdGetTiffOptions_Click);
    connect(control<QPushButton>("Command1"), &QPushButton::clicked, this, &frmTIFFOptions::Command1_Click);
    connect(control<QPushButton>("cmdBack"), &QPushButton::clicked, this, &frmTIFFOptions::cmdBack_Click);
    Form_Load();
}

QComboBox* frmTIFFOptions::list(const char* name) const
{
    return control<QComboBox>(QString::fromLatin1(name));
}

std::string frmTIFFOptions::text(const char* name) const
{
    return control<QLineEdit>(QString::fromLatin1(name))->text().toStdString();
}

void frmTIFFOptions::setText(const char* name, const std::string& text)
{
    control<QLineEdit>(QString::fromLatin1(name))->setText(qs(text));
}

void frmTIFFOptions::enable(const char* name, bool enabled)
{
    control(QString::fromLatin1(name))->setEnabled(enabled);
}

void frmTIFFOptions::KupTools_FillComboStandardValues()
{
    list("cmbTO_CompressionScheme")->addItems({"Uncompressed", "Packbit", "Group 4 Fax"});
    list("cmbTO_ImageType")->addItems({"Schwarz/Weiß", "Farbe RGB"});
    list("cmbTO_PrintDPI")->addItems({"50", "100", "200", "300", "600"});
    list("cmbTO_ScreenOrPrintCapture")->addItems({"Bildschirm", "für Druck"});
    cad::FillSizeTables();
    for (const std::string& name : cad::PaperSizeNames)
        list("cmbTO_PaperSize")->addItem(qs(name));
}

void frmTIFFOptions::Form_Load()
{
    {
        // Filling an empty list selects its first entry; the lists start without a
        // selection, so that each default below is a change that runs its rule.
        std::vector<std::unique_ptr<QSignalBlocker>> quiet;
        for (const char* name : kLists)
            quiet.push_back(std::make_unique<QSignalBlocker>(list(name)));
        KupTools_FillComboStandardValues();
        for (const char* name : kLists)
            list(name)->setCurrentIndex(-1);
    }
    selectPosition("cmbTO_ImageType", kBlackAndWhite, &frmTIFFOptions::cmbTO_ImageType_Click);
    selectPosition("cmbTO_CompressionScheme", kGroup4Fax, &frmTIFFOptions::cmbTO_CompressionScheme_Click);
    selectPosition("cmbTO_ScreenOrPrintCapture", kPrintCapture,
                   &frmTIFFOptions::cmbTO_ScreenOrPrintCapture_Click);
    setScaleText("100");
    setScaleToFit(true);
    selectPosition("cmbTO_PaperSize", kA3, &frmTIFFOptions::cmbTO_PaperSize_Click);
    selectPosition("cmbTO_PrintDPI", kDpi200, nullptr);
}

void frmTIFFOptions::selectPosition(const char* name, int position, Rule rule)
{
    QComboBox* box = list(name);
    if (box->currentIndex() != position)
        box->setCurrentIndex(position);  // currentIndexChanged runs the rule
    else if (rule != nullptr)
        (this->*rule)();
}

void frmTIFFOptions::setScaleText(const std::string& text)
{
    if (this->text("txtTO_PrintScaleFactor") != text)
        setText("txtTO_PrintScaleFactor", text);  // textChanged runs the rule
    else
        txtTO_PrintScaleFactor_Change();
}

void frmTIFFOptions::setScaleToFit(bool checked)
{
    auto* box = control<QCheckBox>("chkTO_PrintScaleToFit");
    if (box->isChecked() != checked)
        box->setChecked(checked);  // toggled runs the rule
    else
        chkTO_PrintScaleToFit_Click();
}

bool frmTIFFOptions::selectValue(const char* name, int value, Rule rule)
{
    if (value < 0 || value >= list(name)->count())
        return false;
    selectPosition(name, value, rule);
    return true;
}

void frmTIFFOptions::cmbTO_ScreenOrPrintCapture_Click()
{
    const bool print = list("cmbTO_ScreenOrPrintCapture")->currentIndex() != kScreenCapture;
    for (const char* name : {"cmbTO_PrintDPI", "cmbTO_PaperSize", "txtTO_PrintPaperWidth",
                             "txtTO_PrintPaperHeight", "chkTO_PrintScaleToFit", "txtTO_PrintScaleFactor"})
        enable(name, print);
}

void frmTIFFOptions::conflictRule(const char* changedList, int fallback)
{
    if (list("cmbTO_CompressionScheme")->currentIndex() != kGroup4Fax ||
        list("cmbTO_ImageType")->currentIndex() != kColourRgb)
        return;
    boxes_.show("RGB Bild bei Kompressionsschema Group 4 Fax nicht zulässig", kWarnung, kup::Icon::Warning);
    // Moving the list back runs its rule once more; it then finds no conflict.
    list(changedList)->setCurrentIndex(fallback);
}

void frmTIFFOptions::cmbTO_ImageType_Click()
{
    conflictRule("cmbTO_ImageType", kBlackAndWhite);
}

void frmTIFFOptions::cmbTO_CompressionScheme_Click()
{
    conflictRule("cmbTO_CompressionScheme", kPackBits);
}

void frmTIFFOptions::cmbTO_PaperSize_Click()
{
    const int code = list("cmbTO_PaperSize")->currentIndex();
    if (code < 0 || code >= cad::kPaperSizeCount)
        return;
    const std::string separator = ui::decimalSeparator();
    enable("txtTO_PrintPaperWidth", true);
    enable("txtTO_PrintPaperHeight", true);
    setText("txtTO_PrintPaperHeight", cad::numberText(cad::PaperSizeHeights[code] / 1000, separator));
    setText("txtTO_PrintPaperWidth", cad::numberText(cad::PaperSizeWidths[code] / 1000, separator));
    if (code != cad::kUserDefinedPaperSize) {
        enable("txtTO_PrintPaperWidth", false);
        enable("txtTO_PrintPaperHeight", false);
    }
}

void frmTIFFOptions::chkTO_PrintScaleToFit_Click()
{
    enable("txtTO_PrintScaleFactor", !control<QCheckBox>("chkTO_PrintScaleToFit")->isChecked());
}

void frmTIFFOptions::txtTO_PrintScaleFactor_Change()
{
    const double value = cad::roundHalfEven(cad::leadingNumber(text("txtTO_PrintScaleFactor")));
    if (!(value >= 1 && value <= 1000)) {
        boxes_.show("Nur ganzzahlige Werte zwischen 1 und 1000 erlaubt", kWarnung, kup::Icon::Warning);
        // Runs this rule again, with a value it accepts.
        setText("txtTO_PrintScaleFactor", LastScaleFactor < 1 ? "100" : std::to_string(LastScaleFactor));
    }
    LastScaleFactor =
        cad::toInt32(cad::leadingNumber(text("txtTO_PrintScaleFactor"))).value_or(LastScaleFactor);
    control<QCheckBox>("chkTO_PrintScaleToFit")->setChecked(false);
}

void frmTIFFOptions::KupTools_HoleTiffOptions()
{
    kup::TiffOptionSet options;
    std::string message;
    if (!kup::HoleSwxTiffOptions(options, message)) {
        boxes_.show(message, kFehlerinfo);
        return;
    }

    // A value without a list position leaves its list as it is; the user learns
    // about all of them together once loading is done.
    std::vector<std::string> notShown;
    const auto show = [&](const char* name, const char* caption, int value, Rule rule) {
        if (!selectValue(name, value, rule))
            notShown.push_back(std::string(caption) + ": " + std::to_string(value));
    };
    show("cmbTO_ScreenOrPrintCapture", "Aufnahme (Screen/Druck)", options.TiffScreenOrPrintCapture,
         &frmTIFFOptions::cmbTO_ScreenOrPrintCapture_Click);
    show("cmbTO_ImageType", "Bildtyp", options.TiffImageType, &frmTIFFOptions::cmbTO_ImageType_Click);
    show("cmbTO_CompressionScheme", "Kompressionschema", options.TiffCompressionScheme,
         &frmTIFFOptions::cmbTO_CompressionScheme_Click);
    QComboBox* dpi = list("cmbTO_PrintDPI");
    for (int i = 0; i < dpi->count(); ++i)
        if (cad::leadingNumber(dpi->itemText(i).toStdString()) == options.TiffPrintDPI)
            dpi->setCurrentIndex(i);
    show("cmbTO_PaperSize", "Papiergröße", options.TiffPrintPaperSize,
         &frmTIFFOptions::cmbTO_PaperSize_Click);
    setScaleText(std::to_string(options.TiffPrintScaleFactor));
    setScaleToFit(options.TiffPrintScaleToFit);
    const std::string separator = ui::decimalSeparator();
    setText("txtTO_PrintPaperWidth", cad::numberText(options.TiffPrintPaperWidth, separator));
    setText("txtTO_PrintPaperHeight", cad::numberText(options.TiffPrintPaperHeight, separator));

    if (!notShown.empty()) {
        std::string text = "Diese Werte aus Solidworks haben keinen Eintrag in ihrer Liste; die Liste zeigt "
                           "weiter ihren bisherigen Wert:";
        for (const std::string& line : notShown)
            text += "\n" + line;
        boxes_.show(text, kWarnung, kup::Icon::Warning);
    }
}

std::optional<kup::TiffOptionSet> frmTIFFOptions::readControls()
{
    const std::string separator = ui::decimalSeparator();
    std::vector<std::string> notNumbers;
    const auto metres = [&](const char* name, const char* caption) {
        const std::string typed = text(name);
        const std::optional<double> value = cad::readRegionalNumber(typed, separator);
        if (!value)
            notNumbers.push_back(std::string(caption) + ": \"" + typed + "\" ist keine Zahl.");
        return value.value_or(0);
    };

    kup::TiffOptionSet options;
    options.TiffScreenOrPrintCapture =
        static_cast<int16_t>(list("cmbTO_ScreenOrPrintCapture")->currentIndex());
    options.TiffImageType = static_cast<int16_t>(list("cmbTO_ImageType")->currentIndex());
    options.TiffCompressionScheme = static_cast<int16_t>(list("cmbTO_CompressionScheme")->currentIndex());
    options.TiffPrintDPI =
        cad::toInt16(cad::leadingNumber(list("cmbTO_PrintDPI")->currentText().toStdString())).value_or(0);
    options.TiffPrintPaperSize = static_cast<int16_t>(list("cmbTO_PaperSize")->currentIndex());
    // The scale rule keeps the text between 1 and 1000.
    options.TiffPrintScaleFactor = cad::toInt16(cad::leadingNumber(text("txtTO_PrintScaleFactor")))
                                       .value_or(static_cast<int16_t>(LastScaleFactor));
    options.TiffPrintScaleToFit = control<QCheckBox>("chkTO_PrintScaleToFit")->isChecked();
    options.TiffPrintPaperWidth = metres("txtTO_PrintPaperWidth", "Breite [m]");
    options.TiffPrintPaperHeight = metres("txtTO_PrintPaperHeight", "Höhe [m]");

    if (notNumbers.empty())
        return options;
    std::string message;
    for (const std::string& line : notNumbers)
        message += line + "\n";
    message += "Bitte eine Zahl in der Form " + cad::numberText(0.42, separator) +
               " eingeben. Es wurde nichts an Solidworks übergeben.";
    boxes_.show(message, kWarnung, kup::Icon::Warning);
    return std::nullopt;
}

void frmTIFFOptions::KupTools_SetzeTiffOptions()
{
    const std::optional<kup::TiffOptionSet> options = readControls();
    if (!options)
        return;
    std::string message;
    if (kup::SetzeSwxTiffOptions(*options, message))
        boxes_.show("Optionen erfolgreich gesetzt.", "KUP-Tools Setzen erfolgreich");
    else
        boxes_.show(message, kFehlerinfo);
}

// The transfers report automation faults themselves; anything else that escapes
// them must not end the program from inside an event handler.
void frmTIFFOptions::cmdGetTiffOptions_Click()
{
    try {
        KupTools_HoleTiffOptions();
    } catch (const std::exception& error) {
        boxes_.show(std::string("Fehler beim Lesen der TIFF-Optionen: ") + error.what(), kFehlerinfo);
    }
}

void frmTIFFOptions::Command1_Click()
{
    try {
        KupTools_SetzeTiffOptions();
    } catch (const std::exception& error) {
        boxes_.show(std::string("Fehler beim Setzen der TIFF-Optionen: ") + error.what(), kFehlerinfo);
    }
}

void frmTIFFOptions::cmdBack_Click()
{
    close();
}
