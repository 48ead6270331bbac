#include "cadsim/save_sheet.h"

#include "cadsim/file_io.h"
#include "cadsim/tiff_writer.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

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
    if (drawing.type != cad::kDocDrawing || drawing.sheets.empty())
        return drawing.title;
    return drawing.title + " - " + drawing.sheets[drawing.activeSheet].name;
}

std::string resolveSavePath(const Drawing& drawing, const std::string& name)
{
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    fs::path p = file_io::pathFromUtf8(path);
    if (p.is_relative())
        p = file_io::pathFromUtf8(drawing.folder) / p;
    return file_io::utf8FromPath(p.lexically_normal());
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
    const fs::path target = file_io::pathFromUtf8(outcome.path);
    // Taken from the name as given: on Windows "a:b.tif" would otherwise be drive a: and "b.tif".
    std::string fileName = name;
    std::replace(fileName.begin(), fileName.end(), '\\', '/');
    fileName.erase(0, fileName.find_last_of('/') + 1);
    if (forbiddenInFileName(fileName)) {
        outcome.result = kSaveForbiddenCharacter;
        outcome.reason = "unzulässiges Zeichen im Dateinamen: " + fileName;
        return outcome;
    }
    if (drawing.type != cad::kDocDrawing || drawing.sheets.empty()) {
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
        outcome.reason = "Ordner fehlt: " + file_io::utf8FromPath(folder);
        return outcome;
    }

    // Beside the target, so the rename cannot cross file systems, and short,
    // so every name the folder takes has room for it.
    const file_io::NewFile temporary = file_io::createTemporary(folder, ".cadsim-");
    if (temporary.fd < 0) {
        outcome.result = temporary.error == ENOENT || temporary.error == ENOTDIR ? kSaveFolderMissing
                                                                                 : kSaveFolderNotWritable;
        outcome.reason = "Ordner nicht beschreibbar: " + file_io::utf8FromPath(folder) + " (" +
                         std::strerror(temporary.error) + ")";
        return outcome;
    }

    const Sheet& sheet = drawing.sheets[drawing.activeSheet];
    std::string error;
    TiffRequest request{documentTitle(drawing), sheet.name};
    request.stop = &stopRequested;
    if (!writeSheetTiff(temporary.fd, file_io::utf8FromPath(temporary.path), sheet, preferences, request,
                        error)) {
        file_io::removeFile(temporary.path);
        outcome.result = kSaveWriteFailed;
        outcome.reason = error;
        return outcome;
    }
    if (!file_io::replaceFile(temporary.path, target)) {
        const int err = errno;
        file_io::removeFile(temporary.path);
        outcome.result = kSaveWriteFailed;
        outcome.reason = "Umbenennen fehlgeschlagen: " + std::string(std::strerror(err));
        return outcome;
    }
    outcome.result = kSaved;
    return outcome;
}

}  // namespace cadsim
