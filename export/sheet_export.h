// The batch export: every sheet of the active drawing into a TIFF file of its own.
#pragma once

#include "screen/message_boxes.h"
#include "screen/output_log.h"

#include <cstdint>
#include <string>

namespace kup {

// The main window's settings as they stand when the run starts.
struct ExportSettings {
    bool ownFormat = true;        // give each sheet its own paper format before saving
    bool titleNaming = true;      // name files after the document title, else after the sheet
    bool saveInDocFolder = true;  // no directory in front of the file names
    std::string directory;        // used when saveInDocFolder is false
};

struct ExportOutcome {
    int32_t sheetCount = 0;
    int32_t saved = 0;
    int32_t notSaved = 0;
    bool ranThrough = false;  // the loop went over every sheet
};

// Separator put between a chosen directory and the file name: the platform's
// own (path_separator_*.cpp, chosen by the build).
extern const char kPathSeparator;

// The file-name part taken from the drawing, made safe for a file name in the
// target folder: characters Windows forbids (and separators) become "_", and a
// device name such as "CON" or "lpt1.x" gets a "_" after it ("CON_", "lpt1_.x").
std::string safeFileNamePart(const std::string& text);

// Runs one export. Reports in the log and in message boxes and returns normally,
// also after an automation error; any other exception is a fault of the tool
// and reaches the caller.
ExportOutcome KupTools_SaveSheetsAsTIFF(const ExportSettings& settings, OutputLog& log,
                                        kup::MessageBoxes& boxes);

}  // namespace kup
