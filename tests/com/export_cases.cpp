// The export run over COM, its log printed as the main window would show it.
#include "export/sheet_export.h"
#include "tests/com/check.h"
#include "tests/com/standin.h"
#include "tests/support/message_recorder.h"
#include "tests/support/text_log.h"

#include <cstdio>

namespace {

using Lines = std::vector<std::string>;

const standin::Control& server() { return standin::control(); }

std::string runExport(const kup::ExportSettings& settings, fake::MessageRecorder& boxes)
{
    fake::TextLog log;
    kup::KupTools_SaveSheetsAsTIFF(settings, log, boxes);
    std::printf("    --- Protokoll ---\n%s\n    -----------------\n", log.text.c_str());
    return log.text;
}

CASE(ExportOfThreeSheetsInTheirOwnFormat)
{
    standin::drawing("Flansch", {{"Blatt1", 8}, {"Blatt2", 7}, {"Blatt3", 11}});
    fake::MessageRecorder boxes;
    const std::string log = runExport({true, false, false, "C:\\out"}, boxes);
    CHECK_EQ(log, std::string("Speichere einzelne Blätter von als TIFF\r\n"
                              "gesichert Sheet 0 unter : C:\\out\\Blatt1.tif\r\n"
                              "gesichert Sheet 1 unter : C:\\out\\Blatt2.tif\r\n"
                              "gesichert Sheet 2 unter : C:\\out\\Blatt3.tif\r\n"
                              "--- Erfolgreich abgeschlossen ---"));
    CHECK(boxes.messages.empty());
    CHECK_EQ(server().journalOf("SaveAsSilent"),
             (Lines{"SaveAsSilent(VT_BYREF|VT_BSTR C:\\out\\Blatt1.tif, VT_BYREF|VT_BOOL -1)",
                    "SaveAsSilent(VT_BYREF|VT_BSTR C:\\out\\Blatt2.tif, VT_BYREF|VT_BOOL -1)",
                    "SaveAsSilent(VT_BYREF|VT_BSTR C:\\out\\Blatt3.tif, VT_BYREF|VT_BOOL -1)"}));
    // Each sheet's paper size reaches the preferences before its save.
    Lines paperSizes;
    for (const std::string& call : server().journalOf("SetUserPreferenceIntegerValue"))
        if (call.rfind("SetUserPreferenceIntegerValue(VT_I4 10,", 0) == 0)
            paperSizes.push_back(call);
    CHECK_EQ(paperSizes, (Lines{"SetUserPreferenceIntegerValue(VT_I4 10, VT_I4 12)",
                                "SetUserPreferenceIntegerValue(VT_I4 10, VT_I2 8)",
                                "SetUserPreferenceIntegerValue(VT_I4 10, VT_I4 12)",
                                "SetUserPreferenceIntegerValue(VT_I4 10, VT_I2 7)",
                                "SetUserPreferenceIntegerValue(VT_I4 10, VT_I4 12)",
                                "SetUserPreferenceIntegerValue(VT_I4 10, VT_I2 11)"}));
    CHECK_EQ(server().preference('d', 8), 1.189);
    CHECK_EQ(server().preference('d', 9), 0.841);
    CHECK_EQ(server().living(), 0);
}

CASE(ExportOfOneSheetCallsTheServerInOrder)
{
    standin::drawing("Welle", {{"Blatt1", 6}});
    fake::MessageRecorder boxes;
    runExport({true, true, true, ""}, boxes);
    const Lines& hole = standin::kHoleTiffOptionsCalls;
    Lines expected = {"Visible=VT_BOOL -1", "ActiveDoc()", "GetType()", "GetSheetCount()", "GetSheetNames()",
                      "GetCurrentSheet()", "GetName()", "Visible=VT_BOOL -1", "ActiveDoc()", "GetType()",
                      "ActivateSheet(VT_BYREF|VT_BSTR Blatt1)", "GetTitle()"};
    expected.insert(expected.end(), hole.begin(), hole.end());
    for (const char* call : {"GetCurrentSheet()", "GetProperties()", "Visible=VT_BOOL -1",
                             "SetUserPreferenceIntegerValue(VT_I4 6, VT_I2 1)",
                             "SetUserPreferenceIntegerValue(VT_I4 10, VT_I4 12)",
                             "SetUserPreferenceToggle(VT_I4 28, VT_I2 1)",
                             "SetUserPreferenceIntegerValue(VT_I4 8, VT_I2 0)",
                             "SetUserPreferenceIntegerValue(VT_I4 11, VT_I2 100)",
                             "SetUserPreferenceToggle(VT_I4 28, VT_BOOL -1)",
                             "SetUserPreferenceDoubleValue(VT_I4 8, VT_BYREF|VT_R8 0.297)",
                             "SetUserPreferenceDoubleValue(VT_I4 9, VT_BYREF|VT_R8 0.21)",
                             "SetUserPreferenceIntegerValue(VT_I4 10, VT_I2 6)",
                             "SetUserPreferenceIntegerValue(VT_I4 9, VT_I2 200)",
                             "SetUserPreferenceIntegerValue(VT_I4 6, VT_I2 1)",
                             "SetUserPreferenceIntegerValue(VT_I4 7, VT_I2 0)",
                             "SetUserPreferenceIntegerValue(VT_I4 8, VT_I2 2)",
                             "SaveAsSilent(VT_BYREF|VT_BSTR Welle - Blatt1.tif, VT_BYREF|VT_BOOL -1)"})
        expected.push_back(call);
    CHECK_EQ(server().journal(), expected);
}

CASE(ExportGoesOnAfterAFailedSave)
{
    standin::drawing("Flansch", {{"Blatt1", 8}, {"Blatt2", 7}});
    server().fault("SaveAsSilent", "Blatt1.tif", 'r', 0);
    fake::MessageRecorder boxes;
    const std::string log = runExport({false, false, true, ""}, boxes);
    CHECK(log.find("gesichert Sheet 1 unter : Blatt2.tif\r\n") != std::string::npos);
    CHECK(log.find("gesichert Sheet 0") == std::string::npos);
    CHECK(log.find("Konnte Blatt nicht als TIFF speichern") != std::string::npos);
    CHECK_EQ(server().journalOf("SaveAsSilent").size(), std::size_t(2));
    CHECK(server().journalOf("GetUserPreferenceIntegerValue").empty());
}

CASE(ExportWithoutDrawing)
{
    server().reset();
    fake::MessageRecorder boxes;
    CHECK_EQ(runExport({}, boxes), std::string("Fehler aufgetreten\r\nKeine Dokument aktiv"));
    CHECK((boxes.messages ==
           std::vector<fake::Message>{{"Keine Dokument aktiv", "KUP-Tools - Fehlerinfo", ui::Icon::None}}));
}

}  // namespace
