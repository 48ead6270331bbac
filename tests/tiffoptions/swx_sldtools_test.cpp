#include "tests/support/fake_cad.h"
#include "tests/support/preferences.h"
#include "tiffoptions/swx_sldtools.h"

#include <gtest/gtest.h>

using namespace kup;
using fake::refusal;
using Journal = std::vector<std::string>;

namespace {

class Transfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        cad.install();
        fake::setDefaultPreferences(cad);
    }
    fake::Cad cad;
    std::string message = "alt";
};

using fake::kColourSet;

TEST_F(Transfer, ReadsAllNineInOrder)
{
    TiffOptionSet options;
    EXPECT_TRUE(HoleSwxTiffOptions(options, message));
    EXPECT_EQ(message, "");
    EXPECT_EQ(options, (TiffOptionSet{1, 0, 2, 200, 8, 100, true, 0.42, 0.297}));
    EXPECT_EQ(cad.journal(), fake::transferJournal("read"));

    cad.integerPreferences[9] = 150;  // no plausibility test: passed on as read
    EXPECT_TRUE(HoleSwxTiffOptions(options, message));
    EXPECT_EQ(options.TiffPrintDPI, 150);

    cad.addFault({"GetUserPreferenceDoubleValue", fake::FaultKind::Throw, "9"});
    options = {};
    EXPECT_FALSE(HoleSwxTiffOptions(options, message));
    EXPECT_EQ(message,
              "Fehler beim Lesen der TIFF-Optionen\r\nGetUserPreferenceDoubleValue(9) fehlgeschlagen: "
              "GetUserPreferenceDoubleValue: simulierter Fehler");
    EXPECT_EQ(options.TiffPrintPaperWidth, 0.42);  // read before the fault
    EXPECT_EQ(options.TiffPrintPaperHeight, -1.0);
}

TEST_F(Transfer, WritesPreparationThenTheSetWithExactWidthsAndNothingWithoutACad)
{
    EXPECT_TRUE(SetzeSwxTiffOptions(kColourSet, message));
    EXPECT_EQ(message, "");
    EXPECT_EQ(cad.journal(), fake::transferJournal("write"));
    // The set's own values end up in the CAD, not the preparatory ones.
    TiffOptionSet back;
    EXPECT_TRUE(HoleSwxTiffOptions(back, message));
    EXPECT_EQ(back, kColourSet);

    cad.reachable = false;
    TiffOptionSet options{1, 1, 1, 1, 1, 1, true, 1, 1};
    EXPECT_FALSE(HoleSwxTiffOptions(options, message));
    EXPECT_EQ(message, "Solidworks läuft gar nicht");
    EXPECT_EQ(options, (TiffOptionSet{-1, -1, -1, -1, -1, -1, false, -1.0, -1.0}));

    cad.clearJournal();
    EXPECT_FALSE(SetzeSwxTiffOptions(kColourSet, message));
    EXPECT_EQ(message, "Solidworks läuft gar nicht");
    EXPECT_EQ(cad.journal(), Journal{"attach"});  // nothing written
}

TEST_F(Transfer, RefusedWritesAreListedInTableOrderAfterAllWritesAndAnErrorEndsTheSet)
{
    const char* const integer = "SetUserPreferenceIntegerValue";
    struct Case {
        std::vector<fake::Fault> faults;
        std::string lines;  // after the heading; "" for success
        bool allWritten;
    } const cases[] = {
        {{refusal(integer, "9")}, "TiffPrintDPI konnte nicht gesetzt werden\r\n", true},
        {{refusal(integer, "9"), refusal("SetUserPreferenceDoubleValue", "8")},
         "TiffPrintPaperWidth konnte nicht gesetzt werden\r\nTiffPrintDPI konnte nicht gesetzt werden\r\n",
         true},
        {{refusal(integer, "11"), refusal("SetUserPreferenceDoubleValue", "9"), refusal(integer, "10"),
          refusal(integer, "7")},
         "TiffprintScaleFactor konnte nicht gesetzt werden\r\nTiffPrintPaperHeight konnte nicht gesetzt "
         "werden\r\n"
         "TiffPrintPaperSize konnte nicht gesetzt werden\r\nTiffImageType konnte nicht gesetzt werden\r\n",
         true},
        // A refused toggle or preparatory write goes unnoticed.
        {{refusal("SetUserPreferenceToggle"), refusal(integer, "6", 1), refusal(integer, "8", 1)}, "", true},
        {{refusal(integer, "11"), {integer, fake::FaultKind::Throw, "9"}},
         "TiffprintScaleFactor konnte nicht gesetzt werden\r\nAbbruch bei SetUserPreferenceIntegerValue(9): "
         "SetUserPreferenceIntegerValue: simulierter Fehler\r\n",
         false},
        {{{"Visible"}}, "Abbruch bei Anmelden bei Solidworks: Visible: simulierter Fehler\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        cad.clearFaults();
        fake::setDefaultPreferences(cad);
        for (const fake::Fault& fault : c.faults)
            cad.addFault(fault);
        EXPECT_EQ(SetzeSwxTiffOptions(kColourSet, message), c.lines.empty());
        EXPECT_EQ(message, c.lines.empty() ? "" : "Fehler beim Setzen der TIFF-Optionen\r\n" + c.lines);
        EXPECT_EQ(cad.integerPreferences[8] == 1, c.allWritten);  // the last write
    }
}

}  // namespace
