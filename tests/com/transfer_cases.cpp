// The TIFF preference transfer over COM: what is read, and every write with
// the width and the by-reference passing the server receives.
#include "tests/com/check.h"
#include "tests/com/standin.h"
#include "tiffoptions/swx_sldtools.h"

namespace {

using Lines = std::vector<std::string>;

const standin::Control& server()
{
    return standin::control();
}

CASE(HoleSwxTiffOptionsOverCom)
{
    server().reset();
    server().setPreference('i', 9, 150);  // not a resolution the window offers: passed on
    kup::TiffOptionSet options;
    std::string message = "alt";
    CHECK(kup::HoleSwxTiffOptions(options, message));
    CHECK_EQ(message, std::string(""));
    CHECK((options == kup::TiffOptionSet{1, 0, 2, 150, 8, 100, true, 0.42, 0.297}));
    CHECK_EQ(server().journal(), (Lines{
                                     "Visible=VT_BOOL -1",
                                     "GetUserPreferenceIntegerValue(VT_I4 6)",
                                     "GetUserPreferenceIntegerValue(VT_I4 7)",
                                     "GetUserPreferenceIntegerValue(VT_I4 8)",
                                     "GetUserPreferenceIntegerValue(VT_I4 9)",
                                     "GetUserPreferenceIntegerValue(VT_I4 10)",
                                     "GetUserPreferenceIntegerValue(VT_I4 11)",
                                     "GetUserPreferenceToggle(VT_I4 28)",
                                     "GetUserPreferenceDoubleValue(VT_I4 8)",
                                     "GetUserPreferenceDoubleValue(VT_I4 9)",
                                 }));
    CHECK_EQ(server().living(), 0);
}

CASE(SetzeSwxTiffOptionsOverCom)
{
    server().reset();
    std::string message = "alt";
    CHECK(kup::SetzeSwxTiffOptions({0, 1, 1, 300, 9, 50, false, 0.594, 0.42}, message));
    CHECK_EQ(message, std::string(""));
    // The paper size among the preparatory writes goes out with 32 bits, the
    // toggle first as the 16-bit 1 and then as a boolean, the doubles by reference.
    CHECK_EQ(server().journal(), (Lines{
                                     "Visible=VT_BOOL -1",
                                     "SetUserPreferenceIntegerValue(VT_I4 6, VT_I2 1)",
                                     "SetUserPreferenceIntegerValue(VT_I4 10, VT_I4 12)",
                                     "SetUserPreferenceToggle(VT_I4 28, VT_I2 1)",
                                     "SetUserPreferenceIntegerValue(VT_I4 8, VT_I2 0)",
                                     "SetUserPreferenceIntegerValue(VT_I4 11, VT_I2 50)",
                                     "SetUserPreferenceToggle(VT_I4 28, VT_BOOL 0)",
                                     "SetUserPreferenceDoubleValue(VT_I4 8, VT_BYREF|VT_R8 0.594)",
                                     "SetUserPreferenceDoubleValue(VT_I4 9, VT_BYREF|VT_R8 0.42)",
                                     "SetUserPreferenceIntegerValue(VT_I4 10, VT_I2 9)",
                                     "SetUserPreferenceIntegerValue(VT_I4 9, VT_I2 300)",
                                     "SetUserPreferenceIntegerValue(VT_I4 6, VT_I2 0)",
                                     "SetUserPreferenceIntegerValue(VT_I4 7, VT_I2 1)",
                                     "SetUserPreferenceIntegerValue(VT_I4 8, VT_I2 1)",
                                 }));
    CHECK_EQ(server().preference('i', 6), 0.0);
    CHECK_EQ(server().preference('i', 10), 9.0);
    CHECK_EQ(server().preference('t', 28), 0.0);
    CHECK_EQ(server().preference('d', 9), 0.42);
    CHECK_EQ(server().living(), 0);
}

CASE(RefusedWritesAreListedAndTheRestStillMade)
{
    server().reset();
    server().fault("SetUserPreferenceDoubleValue", "8", 'r', 0);
    server().fault("SetUserPreferenceIntegerValue", "9", 'r', 0);
    std::string message;
    CHECK(!kup::SetzeSwxTiffOptions({1, 0, 2, 200, 8, 100, true, 0.42, 0.297}, message));
    CHECK_EQ(message, std::string("Fehler beim Setzen der TIFF-Optionen\r\n"
                                  "TiffPrintPaperWidth konnte nicht gesetzt werden\r\n"
                                  "TiffPrintDPI konnte nicht gesetzt werden\r\n"));
    CHECK_EQ(server().journalOf("SetUserPreferenceIntegerValue").back(),
             std::string("SetUserPreferenceIntegerValue(VT_I4 8, VT_I2 2)"));
}

CASE(AnErrorOfTheServerEndsTheTransferWithItsDescription)
{
    server().reset();
    server().fault("GetUserPreferenceToggle", nullptr, 't', 0);
    kup::TiffOptionSet options;
    std::string message;
    CHECK(!kup::HoleSwxTiffOptions(options, message));
    CHECK(message.find("GetUserPreferenceToggle: simulierter Fehler") != std::string::npos);
    CHECK_EQ(server().living(), 0);
}
}  // namespace
