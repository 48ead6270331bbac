// SaveAsSilent: where a file name lands, what is refused, and the write under
// a temporary name that is renamed only once the TIFF is complete.
#pragma once

#include "cadsim/drawing.h"
#include "cadsim/preferences.h"

#include <cstdint>
#include <string>

namespace cadsim {

// Answers of SaveAsSilent; --help explains them.
enum SaveResult : int32_t {
    kSaved = 0,
    kSaveOtherExtension = 1,
    kSaveFolderMissing = 2,
    kSaveFolderNotWritable = 3,
    kSaveForbiddenCharacter = 4,
    kSaveGroup4Colour = 5,
    kSaveNoSheet = 6,
    kSaveWriteFailed = 7,
    kSaveRefused = 8,
};

struct SaveOutcome {
    int32_t result = kSaveWriteFailed;
    std::string path;    // the file meant (absolute)
    std::string reason;  // why not, for the terminal
};

// "\" and "/" both separate folders; a name without folder lands in the
// drawing's folder.
std::string resolveSavePath(const Drawing& drawing, const std::string& name);

SaveOutcome saveActiveSheet(const Drawing& drawing, const std::string& name,
                            const TiffPreferences& preferences);

// Makes a save under way, and every later one, stop early, remove its
// temporary file and answer kSaveWriteFailed. Safe in a signal handler.
void stopSaving();

// The title a drawing shows: "Flansch - Blatt2"; parts and assemblies: the title.
std::string documentTitle(const Drawing& drawing);

}  // namespace cadsim
