#include "tests/support/fake_cad.h"
#include "tiffoptions/swx_sldtools.h"

#include <gtest/gtest.h>

using namespace kup;
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

const TiffOptionSet kColourSet{0, 1, 1, 300, 9, 150, false, 0.594, 0.42};

TEST_F(Transfer, ReadsAllNineInOrder)
{
    TiffOptionSet options;
    EXPECT_TRUE(HoleSwxTiffOptions(options, message));
    EXPECT_EQ(message, "");
    EXPECT_EQ(options, (TiffOptionSet{1, 0, 2, 200, 8, 100, true, 0.42, 0.297}));
    EXPECT_EQ(cad.journal(),
              (Journal{"attach", "Visible(b:true)", "GetUserPreferenceIntegerValue(i4:6)",
                       "GetUserPreferenceIntegerValue(i4:7)", "GetUserPreferenceIntegerValue(i4:8)",
                       "GetUserPreferenceIntegerValue(i4:9)", "GetUserPreferenceIntegerValue(i4:10)",
                       "GetUserPreferenceIntegerValue(i4:11)", "GetUserPreferenceToggle(i4:28)",
                       "GetUserPreferenceDoubleValue(i4:8)", "GetUserPreferenceDoubleValue(i4:9)"}));

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
    EXPECT_EQ(
        cad.journal(),
        (Journal{"attach", "Visible(b:true)", "SetUserPreferenceIntegerValue(i4:6, i2:1)",
                 "SetUserPreferenceIntegerValue(i4:10, i4:12)", "SetUserPreferenceToggle(i4:28, i2:1)",
                 "SetUserPreferenceIntegerValue(i4:8, i2:0)", "SetUserPreferenceIntegerValue(i4:11, i2:150)",
                 "SetUserPreferenceToggle(i4:28, b:false)", "SetUserPreferenceDoubleValue(i4:8, &r8:0.594)",
                 "SetUserPreferenceDoubleValue(i4:9, &r8:0.42)", "SetUserPreferenceIntegerValue(i4:10, i2:9)",
                 "SetUserPreferenceIntegerValue(i4:9, i2:300)", "SetUserPreferenceIntegerValue(i4:6, i2:0)",
                 "SetUserPreferenceIntegerValue(i4:7, i2:1)", "SetUserPreferenceIntegerValue(i4:8, i2:1)"}));
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
    const auto refuse = [](const char* member, const char* argument = nullptr, int nth = 0) {
        return fake::Fault{member, fake::FaultKind::Refuse,
                           argument ? std::optional<std::string>(argument) : std::nullopt, nth};
    };
    const char* const integer = "SetUserPreferenceIntegerValue";
    struct Case {
        std::vector<fake::Fault> faults;
        std::string lines;  // after the heading; "" for success
        bool allWritten;
    } const cases[] = {
        {{refuse(integer, "9")}, "TiffPrintDPI konnte nicht gesetzt werden\r\n", true},
        {{refuse(integer, "9"), refuse("SetUserPreferenceDoubleValue", "8")},
         "TiffPrintPaperWidth konnte nicht gesetzt werden\r\nTiffPrintDPI konnte nicht gesetzt werden\r\n",
         true},
        {{refuse(integer, "11"), refuse("SetUserPreferenceDoubleValue", "9"), refuse(integer, "10"),
          refuse(integer, "7")},
         "TiffprintScaleFactor konnte nicht gesetzt werden\r\nTiffPrintPaperHeight konnte nicht gesetzt "
         "werden\r\n"
         "TiffPrintPaperSize konnte nicht gesetzt werden\r\nTiffImageType konnte nicht gesetzt werden\r\n",
         true},
        // A refused toggle or preparatory write goes unnoticed.
        {{refuse("SetUserPreferenceToggle"), refuse(integer, "6", 1), refuse(integer, "8", 1)}, "", true},
        {{refuse(integer, "11"), {integer, fake::FaultKind::Throw, "9"}},
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
