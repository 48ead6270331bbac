// Loading the TIFF options from the CAD into the window and writing them back.
#include "tests/tiffoptions/tiff_window_fixture.h"

namespace tiffwindow {
namespace {

using Journal = std::vector<std::string>;
using Messages = std::vector<fake::Message>;
using Transfers = TiffWindow;

const fake::Message kWritten{"Optionen erfolgreich gesetzt.", "KUP-Tools Setzen erfolgreich",
                             kup::Icon::None};

// The nine writes of a set, after the four preparatory ones.
Journal setWrites(const std::string& capture, const std::string& image, const std::string& compression,
                  const std::string& dpi, const std::string& paper, const std::string& scale,
                  const std::string& fit, const std::string& width, const std::string& height)
{
    return {"SetUserPreferenceIntegerValue(i4:11, i2:" + scale + ")",
            "SetUserPreferenceToggle(i4:28, b:" + fit + ")",
            "SetUserPreferenceDoubleValue(i4:8, &r8:" + width + ")",
            "SetUserPreferenceDoubleValue(i4:9, &r8:" + height + ")",
            "SetUserPreferenceIntegerValue(i4:10, i2:" + paper + ")",
            "SetUserPreferenceIntegerValue(i4:9, i2:" + dpi + ")",
            "SetUserPreferenceIntegerValue(i4:6, i2:" + capture + ")",
            "SetUserPreferenceIntegerValue(i4:7, i2:" + image + ")",
            "SetUserPreferenceIntegerValue(i4:8, i2:" + compression + ")"};
}

Journal lastWrites(const fake::Cad& cad)
{
    const Journal& all = cad.journal();
    return all.size() < 9 ? all : Journal(all.end() - 9, all.end());
}

TEST_P(Transfers, LoadingShowsWhatTheCadHoldsAndWritingSendsItBack)
{
    cad.integerPreferences = {{6, 1}, {7, 1}, {8, 1}, {9, 300}, {10, 12}, {11, 150}};
    cad.togglePreferences = {{28, false}};
    cad.doublePreferences = {{8, 0.5}, {9, 0.25}};
    load();
    // The image-type step meets Group 4 still shown: one warning, black and white.
    EXPECT_EQ(boxes.messages, Messages{warning(kConflict)});
    EXPECT_EQ(list("cmbTO_ImageType")->currentText(), "Schwarz/Weiß");
    EXPECT_EQ(list("cmbTO_CompressionScheme")->currentText(), "Packbit");
    EXPECT_EQ(list("cmbTO_PrintDPI")->currentText(), "300");
    EXPECT_EQ(list("cmbTO_PaperSize")->currentText(), "benutzerdefiniert");
    EXPECT_EQ(scale()->text(), "150");
    EXPECT_EQ(form->lastScaleFactor(), 150);
    EXPECT_FALSE(fit()->isChecked());
    EXPECT_TRUE(scale()->isEnabled());
    EXPECT_EQ(width()->text(), regional("0,5"));
    EXPECT_EQ(height()->text(), regional("0,25"));
    EXPECT_TRUE(width()->isEnabled());

    // The second load finds RGB allowed beside Packbit.
    boxes.messages.clear();
    load();
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(list("cmbTO_ImageType")->currentText(), "Farbe RGB");

    cad.clearJournal();
    write();
    EXPECT_EQ(boxes.messages, Messages{kWritten});
    EXPECT_EQ(lastWrites(cad), setWrites("1", "1", "1", "300", "12", "150", "false", "0.5", "0.25"));
}

TEST_P(Transfers, CadSizesStayInTheBoxesWhateverThePaperSizeAndUnmovedListsRunTheirRules)
{
    cad.doublePreferences = {{8, 0.123456789012345}, {9, 2.5}};
    load();
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(list("cmbTO_PaperSize")->currentText(), "A3");
    // Every step runs its rule, changed or not: capture opens the scale text, the unchanged
    // "100" unticks the box and the unchanged tick closes the text again; A3 closes the sizes.
    EXPECT_FALSE(scale()->isEnabled());
    EXPECT_TRUE(fit()->isChecked());
    EXPECT_EQ(width()->text(), regional("0,123456789012345"));
    EXPECT_EQ(height()->text(), regional("2,5"));
    EXPECT_FALSE(width()->isEnabled());
    write();
    EXPECT_EQ(cad.doublePreferences[8], 0.123456789012345);
    EXPECT_EQ(cad.doublePreferences[9], 2.5);
}

TEST_P(Transfers, An150DpiFromTheCadKeepsTheShownDpiAndWritesIt)
{
    cad.integerPreferences[9] = 150;
    load();
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(list("cmbTO_PrintDPI")->currentText(), "200");
    write();
    EXPECT_EQ(boxes.messages, Messages{kWritten});
    EXPECT_EQ(cad.integerPreferences[9], 200);
    // Everything else as the fresh window shows it.
    EXPECT_EQ(lastWrites(cad), setWrites("1", "0", "2", "200", "8", "100", "true", "0.42", "0.297"));
}

TEST_P(Transfers, AScaleFactorOfZeroWarnsBringsTheLastOneBackAndLoadingGoesOn)
{
    cad.integerPreferences[11] = 0;
    cad.togglePreferences[28] = false;
    cad.doublePreferences = {{8, 0.7}, {9, 0.6}};
    load();
    EXPECT_EQ(boxes.messages, Messages{warning(kScaleRange)});
    EXPECT_EQ(scale()->text(), "100");
    EXPECT_EQ(form->lastScaleFactor(), 100);
    EXPECT_FALSE(fit()->isChecked());
    EXPECT_EQ(width()->text(), regional("0,7"));
    EXPECT_EQ(height()->text(), regional("0,6"));
}

TEST_P(Transfers, ValuesWithoutAListPositionLeaveTheirListsAndAreNamedOnceAtTheEnd)
{
    choose("cmbTO_ScreenOrPrintCapture", 0);
    cad.integerPreferences = {{6, 5}, {7, -1}, {8, 3}, {9, 600}, {10, 13}, {11, 90}};
    cad.doublePreferences = {{8, 0.3}, {9, 0.2}};
    load();
    EXPECT_EQ(list("cmbTO_ScreenOrPrintCapture")->currentText(), "Bildschirm");
    EXPECT_EQ(list("cmbTO_ImageType")->currentText(), "Schwarz/Weiß");
    EXPECT_EQ(list("cmbTO_CompressionScheme")->currentText(), "Group 4 Fax");
    EXPECT_EQ(list("cmbTO_PaperSize")->currentText(), "A3");
    EXPECT_EQ(list("cmbTO_PrintDPI")->currentText(), "600");
    EXPECT_EQ(scale()->text(), "90");
    EXPECT_TRUE(fit()->isChecked());
    EXPECT_EQ(width()->text(), regional("0,3"));
    EXPECT_EQ(
        boxes.messages,
        Messages{warning("Diese Werte aus Solidworks haben keinen Eintrag in ihrer Liste; die Liste zeigt "
                         "weiter ihren bisherigen Wert:\nAufnahme (Screen/Druck): 5\nBildtyp: -1\n"
                         "Kompressionschema: 3\nPapiergröße: 13")});
}

TEST_P(Transfers, AnUnreachableCadLeavesTheControlsAsTheyWere)
{
    cad.reachable = false;
    choose("cmbTO_PaperSize", 12);
    type(width(), regional("0,6"));
    load();
    EXPECT_EQ(boxes.messages, Messages{fehlerinfo("Solidworks läuft gar nicht")});
    EXPECT_EQ(list("cmbTO_PaperSize")->currentText(), "benutzerdefiniert");
    EXPECT_EQ(width()->text(), regional("0,6"));

    boxes.messages.clear();
    write();
    EXPECT_EQ(boxes.messages, Messages{fehlerinfo("Solidworks läuft gar nicht")});
    EXPECT_EQ(cad.journal(), (Journal{"attach", "attach"}));
}

TEST_P(Transfers, FailedTransfersAreShownUnderFehlerinfo)
{
    cad.throwAtCall(5);  // the third preference read
    load();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, "KUP-Tools - Fehlerinfo");
    EXPECT_EQ(boxes.messages[0].text.rfind("Fehler beim Lesen der TIFF-Optionen", 0), 0u)
        << boxes.messages[0].text;
    EXPECT_NE(boxes.messages[0].text.find("simulierter Fehler"), std::string::npos);
    EXPECT_EQ(list("cmbTO_CompressionScheme")->currentText(), "Group 4 Fax");
    EXPECT_EQ(scale()->text(), "100");

    boxes.messages.clear();
    cad.clearFaults();
    cad.clearJournal();
    cad.addFault({.member = "SetUserPreferenceDoubleValue", .kind = fake::FaultKind::Throw});
    write();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, "KUP-Tools - Fehlerinfo");
    EXPECT_EQ(boxes.messages[0].text.rfind("Fehler beim Setzen der TIFF-Optionen", 0), 0u)
        << boxes.messages[0].text;

    boxes.messages.clear();
    cad.clearFaults();
    cad.addFault(
        {.member = "SetUserPreferenceIntegerValue", .kind = fake::FaultKind::Refuse, .argument = "9"});
    write();
    EXPECT_EQ(boxes.messages, Messages{fehlerinfo("Fehler beim Setzen der TIFF-Optionen\r\n"
                                                  "TiffPrintDPI konnte nicht gesetzt werden\r\n")});

    // A fault of the tool is not one of the CAD system.
    boxes.messages.clear();
    cad.clearFaults();
    cad.addFault({.member = "GetUserPreferenceToggle", .kind = fake::FaultKind::Internal});
    load();
    EXPECT_EQ(boxes.messages,
              Messages{fehlerinfo("Interner Fehler: GetUserPreferenceToggle: simulierter Fehler")});
}

TEST_P(Transfers, WritingUnderScreenCaptureSendsTheDisabledPrintControls)
{
    choose("cmbTO_PaperSize", 9);
    choose("cmbTO_PrintDPI", 4);
    choose("cmbTO_ScreenOrPrintCapture", 0);
    EXPECT_FALSE(list("cmbTO_PaperSize")->isEnabled());
    write();
    EXPECT_EQ(boxes.messages, Messages{kWritten});
    EXPECT_EQ(lastWrites(cad), setWrites("0", "0", "2", "600", "9", "100", "true", "0.594", "0.42"));
}

TEST_P(Transfers, ScaleTextsAreWrittenAsTheirRoundedLeadingNumber)
{
    untickFit();
    type(scale(), "12.7");
    write();
    EXPECT_EQ(cad.integerPreferences[11], 13);
    type(scale(), "2,5");
    write();
    EXPECT_EQ(cad.integerPreferences[11], 2);
    EXPECT_EQ(cad.togglePreferences[28], false);
}

TEST_P(Transfers, SizeTextsThatAreNoRegionalNumberAreRefusedBeforeAnythingIsWritten)
{
    const QString other = QLocale().decimalPoint() == "," ? "0.5" : "0,5";
    const std::string example = regional("0,42").toStdString();
    choose("cmbTO_PaperSize", 12);
    for (const QString& bad : {QString("abc"), QString(""), other, QString("0,5m")}) {
        boxes.messages.clear();
        cad.clearJournal();
        type(width(), bad);
        write();
        EXPECT_EQ(boxes.messages,
                  Messages{warning("Breite [m]: \"" + bad.toStdString() +
                                   "\" ist keine Zahl.\nBitte eine Zahl in der Form " + example +
                                   " eingeben. Es wurde nichts an Solidworks übergeben.")})
            << bad.toStdString();
        EXPECT_TRUE(cad.journal().empty());
    }

    // Both wrong: both named in one box.
    boxes.messages.clear();
    type(height(), "x");
    write();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_NE(boxes.messages[0].text.find("Breite [m]: \"0,5m\""), std::string::npos);
    EXPECT_NE(boxes.messages[0].text.find("Höhe [m]: \"x\""), std::string::npos);
    EXPECT_TRUE(cad.journal().empty());

    // Blanks around a regional number are fine.
    boxes.messages.clear();
    type(width(), regional(" 0,75 "));
    type(height(), regional("1,25"));
    write();
    EXPECT_EQ(boxes.messages, Messages{kWritten});
    EXPECT_EQ(cad.doublePreferences[8], 0.75);
    EXPECT_EQ(cad.doublePreferences[9], 1.25);
}

INSTANTIATE_TEST_SUITE_P(Regional, Transfers, ::testing::Values(kGerman, kEnglish, kArabic), localeName);

}  // namespace
}  // namespace tiffwindow
