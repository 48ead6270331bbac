// The nine TIFF preferences, kept in a small JSON settings file so they
// survive a restart as the real CAD system's do.
#pragma once

#include "cad/tiff_preferences.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace cadsim {

struct TiffPreferences {
    int16_t captureMode = cad::kPrintCapture;  // cad::TiffCapture
    int16_t imageType = cad::kBlackAndWhite;   // cad::TiffImageType
    int16_t compression = cad::kGroup4;        // cad::TiffCompression
    int16_t dpi = 200;
    int16_t paperSize = cad::kPaperA3;  // cad::PaperSize
    int16_t scaleFactor = 100;
    bool scaleToFit = true;
    double paperWidth = 0.42;  // metres, used with cad::kPaperUserDefined
    double paperHeight = 0.297;
    bool operator==(const TiffPreferences&) const = default;
};

// Accepted ranges; a setter refuses anything outside them.
constexpr int kMinDpi = 10;
constexpr int kMaxDpi = 2400;
constexpr int kMinScaleFactor = 1;
constexpr int kMaxScaleFactor = 1000;
constexpr double kMinPaperMetres = 0.001;
constexpr double kMaxPaperMetres = 10.0;

class PreferenceStore {
public:
    // An empty path keeps the preferences in memory only.
    explicit PreferenceStore(std::string path);

    const TiffPreferences& values() const { return values_; }
    const std::string& path() const { return path_; }
    // What went wrong on loading (unreadable file, bad values replaced by defaults).
    const std::string& loadWarning() const { return loadWarning_; }

    // Getters: nothing for a number they do not know.
    std::optional<int16_t> integer(int32_t preference) const;
    std::optional<bool> toggle(int32_t preference) const;
    std::optional<double> real(int32_t preference) const;

    // Setters: true when the number is known, the value in range and the
    // file rewritten with it; otherwise the value stays as it was.
    bool setInteger(int32_t preference, int32_t value);
    bool setToggle(int32_t preference, bool value);
    bool setReal(int32_t preference, double value);

private:
    void load();
    bool save();
    bool keepIfSaved(const std::function<void()>& change);

    std::string path_;
    TiffPreferences values_;
    std::string loadWarning_;
};

// The user's own settings file: ~/.config/cadsim/preferences.json.
std::string defaultPreferencesPath();

}  // namespace cadsim
