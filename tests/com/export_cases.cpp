// The export run over COM, its log printed as the main window would show it.
#include "export/sheet_export.h"
#include "tests/com/check.h"
#include "tests/com/standin.h"
#include "tests/support/message_recorder.h"
#include "tests/support/text_log.h"

#include <cstdio>

namespace {

using Lines = std::vector<std::string>;

const standin::Control& server()
{
    return standin::control();
}

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
}  // namespace
