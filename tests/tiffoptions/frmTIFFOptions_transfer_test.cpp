// Loading the TIFF options from the CAD into the window and writing them back;
// both show or read number texts, so under every regional setting.
#include "tests/support/preferences.h"
#include "tests/tiffoptions/tiff_window_fixture.h"

#include <optional>

namespace tiffoptionstest {
namespace {

using Journal = std::vector<std::string>;
using Transfers = TiffWindow;

const fake::Message kWritten{"Optionen erfolgreich gesetzt.", "KUP-Tools Setzen erfolgreich"};

using kup::TiffOptionSet;

// What the CAD holds once the window has written, none when nothing was sent at all: the order
// and types of the writes are the transfer's matter.
std::optional<TiffOptionSet> written(const fake::Cad& cad)
{
    if (cad.journalOf("SetUserPreferenceIntegerValue").empty())
        return std::nullopt;
    return fake::heldPreferences();
}

TEST_P(Transfers, LoadingShowsWhatTheCadHoldsRunsTheRulesOfUnmovedListsAndWritesItBack)
{
    struct Case {
        TiffOptionSet held;
        QString shown;          // German
        TiffOptionSet written;  // then, by Command1
        Messages messages;
    } const cases[] = {
        // The image-type step meets Group 4 still shown.
        {{1, 1, 1, 300, 12, 150, false, 0.5, 0.25},
         "Schwarz/Weiß|Packbit|für Druck|300|benutzerdefiniert|150|aus|0,5|0,25",
         {1, 0, 1, 300, 12, 150, false, 0.5, 0.25},
         {warning(kConflict)}},
        // Every step runs its rule, changed or not: capture opens the scale text, the unchanged tick
        // closes it again; A3 stays yet closes the sizes, which keep the CAD's.
        {{1, 0, 2, 200, 8, 100, true, 0.123456789012345, 2.5},
         "Schwarz/Weiß|Group 4 Fax|für Druck|200|A3|100-|an|0,123456789012345-|2,5-",
         {1, 0, 2, 200, 8, 100, true, 0.123456789012345, 2.5}},
        // No entry for 150 dpi: the shown one stays and is written.
        {{1, 0, 2, 150, 8, 100, true, 0.42, 0.297},
         "Schwarz/Weiß|Group 4 Fax|für Druck|200|A3|100-|an|0,42-|0,297-",
         {1, 0, 2, 200, 8, 100, true, 0.42, 0.297}},
        {{1, 0, 2, 200, 8, 0, false, 0.7, 0.6},
         "Schwarz/Weiß|Group 4 Fax|für Druck|200|A3|100|aus|0,7-|0,6-",
         {1, 0, 2, 200, 8, 100, false, 0.7, 0.6},
         {warning(kScaleRange)}},
        {{5, -1, 3, 600, 13, 90, true, 0.3, 0.2},
         "Schwarz/Weiß|Group 4 Fax|für Druck|600|A3|90-|an|0,3-|0,2-",
         {1, 0, 2, 600, 8, 90, true, 0.3, 0.2},
         {warning("Diese Werte aus Solidworks haben keinen Eintrag in ihrer Liste; die Liste zeigt weiter "
                  "ihren bisherigen Wert:\nAufnahme (Screen/Druck): 5\nBildtyp: -1\nKompressionschema: 3\n"
                  "Papiergröße: 13")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        reopen();
        fake::holdPreferences(c.held);
        load();
        EXPECT_EQ(shown(), regional(c.shown));
        EXPECT_EQ(boxes.messages, c.messages);
        boxes.messages.clear();
        write();
        EXPECT_EQ(boxes.messages, Messages{kWritten});
        EXPECT_EQ(written(cad), c.written);
    }
}

TEST_P(Transfers, AnUnreachableCadLeavesTheControlsAsTheyWere)
{
    cad.reachable = false;
    choose("cmbTO_PaperSize", 12);
    type(width(), regional("0,6"));
    load();
    EXPECT_EQ(shown(), regional("Schwarz/Weiß|Group 4 Fax|für Druck|200|benutzerdefiniert|100-|an|0,6|0,1"));
    EXPECT_EQ(boxes.messages, Messages{fehlerinfo("Solidworks läuft gar nicht")});
    EXPECT_EQ(cad.journal(), Journal{"attach"});
}

TEST_P(Transfers, WritingSendsWhatTheControlsShowAndRefusesSizesThatAreNoRegionalNumber)
{
    struct Case {
        int paper, dpi, capture;  // positions to choose, -1 to leave
        QString scale, width, height;
        std::optional<TiffOptionSet> written;
    } const cases[] = {
        // The disabled print controls are sent too.
        {9, 4, 0, {}, {}, {}, TiffOptionSet{0, 0, 2, 600, 9, 100, true, 0.594, 0.42}},
        // The scale as its rounded leading number.
        {-1, -1, -1, "12.7", {}, {}, TiffOptionSet{1, 0, 2, 200, 8, 13, false, 0.42, 0.297}},
        {-1, -1, -1, "2,5", {}, {}, TiffOptionSet{1, 0, 2, 200, 8, 2, false, 0.42, 0.297}},
        {12,
         -1,
         -1,
         {},
         regional(" 0,75 "),
         regional("1,25"),
         TiffOptionSet{1, 0, 2, 200, 12, 100, true, 0.75, 1.25}},
        {12, -1, -1, {}, "abc", {}, {}},
        {12, -1, -1, {}, "", {}, {}},
        {12, -1, -1, {}, QLocale().decimalPoint() == "," ? "0.5" : "0,5", {}, {}},
        {12, -1, -1, {}, "0,5m", "x", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width.toStdString() + c.scale.toStdString());
        reopen();
        choose("cmbTO_PaperSize", c.paper < 0 ? 8 : c.paper);
        choose("cmbTO_PrintDPI", c.dpi < 0 ? 2 : c.dpi);
        choose("cmbTO_ScreenOrPrintCapture", c.capture < 0 ? 1 : c.capture);
        if (!c.scale.isNull()) {
            untickFit();
            type(scale(), c.scale);
        }
        if (!c.width.isNull())
            type(width(), c.width);
        if (!c.height.isNull())
            type(height(), c.height);
        cad.clearJournal();
        write();
        EXPECT_EQ(written(cad), c.written);
        if (!c.written) {
            std::string lines = "Breite [m]: \"" + c.width.toStdString() + "\" ist keine Zahl.\n";
            if (!c.height.isNull())
                lines += "Höhe [m]: \"" + c.height.toStdString() + "\" ist keine Zahl.\n";
            EXPECT_EQ(
                boxes.messages,
                Messages{warning(lines + "Bitte eine Zahl in der Form " + regional("0,42").toStdString() +
                                 " eingeben. Es wurde nichts an Solidworks übergeben.")});
        } else {
            EXPECT_EQ(boxes.messages, Messages{kWritten});
        }
    }

    // Refused by the CAD after all writes: named under Fehlerinfo.
    reopen();
    cad.addFault({"SetUserPreferenceIntegerValue", fake::FaultKind::Refuse, "9"});
    write();
    EXPECT_EQ(boxes.messages, Messages{fehlerinfo("Fehler beim Setzen der TIFF-Optionen\r\n"
                                                  "TiffPrintDPI konnte nicht gesetzt werden\r\n")});
    EXPECT_EQ(written(cad), fake::kStandardPreferences);

    // A fault of the tool is not one of the CAD system.
    boxes.messages.clear();
    cad.clearFaults();
    cad.addFault({.member = "GetUserPreferenceToggle", .kind = fake::FaultKind::Internal});
    load();
    EXPECT_EQ(boxes.messages,
              Messages{fehlerinfo("Interner Fehler: GetUserPreferenceToggle: simulierter Fehler")});
}

INSTANTIATE_TEST_SUITE_P(Regional, Transfers, ::testing::Values(kGerman, kEnglish, kArabic), localeName);

}  // namespace
}  // namespace tiffoptionstest
