#include "cadsim/save_sheet.h"

#include "cadsim/tiff_writer.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace cadsim {

namespace fs = std::filesystem;

namespace {

volatile std::sig_atomic_t stopRequested = 0;

bool endsWithTif(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".tif";
}

// Characters Windows refuses in a file name; the files end up on Windows shares.
bool forbiddenInFileName(const std::string& fileName)
{
    for (unsigned char c : fileName)
        if (c < 32 || std::strchr("<>:\"|?*", c))
            return true;
    return false;
}

}  // namespace

void stopSaving()
{
    stopRequested = 1;
}

std::string documentTitle(const Drawing& drawing)
{
    if (drawing.type != DocumentType::Drawing || drawing.sheets.empty())
        return drawing.title;
    return drawing.title + " - " + drawing.sheets[drawing.activeSheet].name;
}

std::string resolveSavePath(const Drawing& drawing, const std::string& name)
{
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    fs::path p(path);
    if (p.is_relative())
        p = fs::path(drawing.folder) / p;
    return p.lexically_normal().string();
}

SaveOutcome saveActiveSheet(const Drawing& drawing, const std::string& name,
                            const TiffPreferences& preferences)
{
    SaveOutcome outcome;
    if (!endsWithTif(name)) {
        outcome.result = kSaveOtherExtension;
        outcome.reason = "kein TIFF-Name (Endung .tif erwartet): " + name;
        return outcome;
    }
    outcome.path = resolveSavePath(drawing, name);
    const fs::path target(outcome.path);
    const std::string fileName = target.filename().string();
    if (forbiddenInFileName(fileName)) {
        outcome.result = kSaveForbiddenCharacter;
        outcome.reason = "unzulässiges Zeichen im Dateinamen: " + fileName;
        return outcome;
    }
    if (drawing.type != DocumentType::Drawing || drawing.sheets.empty()) {
        outcome.result = kSaveNoSheet;
        outcome.reason = "das Dokument hat kein Blatt";
        return outcome;
    }
    if (preferences.imageType == cad::kRgb && preferences.compression == cad::kGroup4) {
        outcome.result = kSaveGroup4Colour;
        outcome.reason = "Group 4 gibt es nur für Schwarzweiß";
        return outcome;
    }
    std::error_code ec;
    const fs::path folder = target.parent_path();
    if (!fs::is_directory(folder, ec)) {
        outcome.result = kSaveFolderMissing;
        outcome.reason = "Ordner fehlt: " + folder.string();
        return outcome;
    }

    // Beside the target, so the rename cannot cross file systems, and short,
    // so every name the folder takes has room for it.
    std::string temporary = (folder / ".cadsim-XXXXXX").string();
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        outcome.result = errno == ENOENT || errno == ENOTDIR ? kSaveFolderMissing : kSaveFolderNotWritable;
        outcome.reason = "Ordner nicht beschreibbar: " + folder.string() + " (" + std::strerror(errno) + ")";
        return outcome;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    const Sheet& sheet = drawing.sheets[drawing.activeSheet];
    std::string error;
    TiffRequest request{documentTitle(drawing), sheet.name};
    request.stop = &stopRequested;
    if (!writeSheetTiff(fd, temporary, sheet, preferences, request, error)) {
        ::unlink(temporary.c_str());
        outcome.result = kSaveWriteFailed;
        outcome.reason = error;
        return outcome;
    }
    if (::rename(temporary.c_str(), outcome.path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        outcome.result = kSaveWriteFailed;
        outcome.reason = "Umbenennen fehlgeschlagen: " + std::string(std::strerror(err));
        return outcome;
    }
    outcome.result = kSaved;
    return outcome;
}

}  // namespace cadsim
