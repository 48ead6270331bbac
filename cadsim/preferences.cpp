#include "cadsim/preferences.h"

#include "cadsim/file_io.h"

#include <nlohmann/json.hpp>

#include <QStandardPaths>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace cadsim {

namespace {

using nlohmann::json;

struct IntegerField {
    int32_t number;
    const char* key;
    int16_t TiffPreferences::*field;
    int min;
    int max;
};

constexpr IntegerField kIntegers[] = {
    {cad::pref::TiffScreenOrPrintCapture, "TiffScreenOrPrintCapture", &TiffPreferences::captureMode,
     cad::kScreenCapture, cad::kPrintCapture},
    {cad::pref::TiffImageType, "TiffImageType", &TiffPreferences::imageType, cad::kBlackAndWhite, cad::kRgb},
    {cad::pref::TiffCompressionScheme, "TiffCompressionScheme", &TiffPreferences::compression,
     cad::kNoCompression, cad::kGroup4},
    {cad::pref::TiffPrintDPI, "TiffPrintDPI", &TiffPreferences::dpi, kMinDpi, kMaxDpi},
    {cad::pref::TiffPrintPaperSize, "TiffPrintPaperSize", &TiffPreferences::paperSize, cad::kPaperA,
     cad::kPaperUserDefined},
    {cad::pref::TiffPrintScaleFactor, "TiffPrintScaleFactor", &TiffPreferences::scaleFactor, kMinScaleFactor,
     kMaxScaleFactor},
};

struct RealField {
    int32_t number;
    const char* key;
    double TiffPreferences::*field;
};

constexpr RealField kReals[] = {
    {cad::pref::TiffPrintPaperWidth, "TiffPrintPaperWidth", &TiffPreferences::paperWidth},
    {cad::pref::TiffPrintPaperHeight, "TiffPrintPaperHeight", &TiffPreferences::paperHeight},
};

constexpr const char* kToggleKey = "TiffPrintScaleToFit";

const IntegerField* integerField(int32_t number)
{
    for (const IntegerField& f : kIntegers)
        if (f.number == number)
            return &f;
    return nullptr;
}

const RealField* realField(int32_t number)
{
    for (const RealField& f : kReals)
        if (f.number == number)
            return &f;
    return nullptr;
}

bool realInRange(double value)
{
    return std::isfinite(value) && value >= kMinPaperMetres && value <= kMaxPaperMetres;
}

}  // namespace

PreferenceStore::PreferenceStore(std::string path) : path_(std::move(path))
{
    load();
}

std::optional<int16_t> PreferenceStore::integer(int32_t preference) const
{
    if (const IntegerField* f = integerField(preference))
        return values_.*(f->field);
    return std::nullopt;
}

std::optional<bool> PreferenceStore::toggle(int32_t preference) const
{
    if (preference == cad::pref::TiffPrintScaleToFit)
        return values_.scaleToFit;
    return std::nullopt;
}

std::optional<double> PreferenceStore::real(int32_t preference) const
{
    if (const RealField* f = realField(preference))
        return values_.*(f->field);
    return std::nullopt;
}

bool PreferenceStore::setInteger(int32_t preference, int32_t value)
{
    const IntegerField* f = integerField(preference);
    if (!f || value < f->min || value > f->max)
        return false;
    return keepIfSaved([&] { values_.*(f->field) = static_cast<int16_t>(value); });
}

bool PreferenceStore::setToggle(int32_t preference, bool value)
{
    if (preference != cad::pref::TiffPrintScaleToFit)
        return false;
    return keepIfSaved([&] { values_.scaleToFit = value; });
}

bool PreferenceStore::setReal(int32_t preference, double value)
{
    const RealField* f = realField(preference);
    if (!f || !realInRange(value))
        return false;
    return keepIfSaved([&] { values_.*(f->field) = value; });
}

bool PreferenceStore::keepIfSaved(const std::function<void()>& change)
{
    const TiffPreferences before = values_;
    change();
    if (save())
        return true;
    values_ = before;  // what the file still says
    return false;
}

void PreferenceStore::load()
{
    if (path_.empty())
        return;
    std::ifstream in(file_io::pathFromUtf8(path_));
    if (!in) {
        save();  // first start: the file shows the defaults from now on
        return;
    }
    std::ostringstream text;
    text << in.rdbuf();
    json root = json::parse(text.str(), nullptr, false);
    if (!root.is_object()) {
        loadWarning_ = path_ + ": keine gültigen Einstellungen, es gelten die Vorgaben";
        return;
    }
    std::string rejected;
    auto reject = [&](const char* key) { rejected += std::string(rejected.empty() ? "" : ", ") + key; };
    for (const IntegerField& f : kIntegers) {
        auto it = root.find(f.key);
        if (it == root.end())
            continue;
        if (it->is_number_integer() && *it >= f.min && *it <= f.max)
            values_.*(f.field) = static_cast<int16_t>(it->get<int>());
        else
            reject(f.key);
    }
    if (auto it = root.find(kToggleKey); it != root.end()) {
        if (it->is_boolean())
            values_.scaleToFit = it->get<bool>();
        else
            reject(kToggleKey);
    }
    for (const RealField& f : kReals) {
        auto it = root.find(f.key);
        if (it == root.end())
            continue;
        if (it->is_number() && realInRange(it->get<double>()))
            values_.*(f.field) = it->get<double>();
        else
            reject(f.key);
    }
    if (!rejected.empty())
        loadWarning_ = path_ + ": ungültige Werte durch Vorgaben ersetzt: " + rejected;
}

bool PreferenceStore::save()
{
    if (path_.empty())
        return true;
    json root;
    for (const IntegerField& f : kIntegers)
        root[f.key] = values_.*(f.field);
    root[kToggleKey] = values_.scaleToFit;
    for (const RealField& f : kReals)
        root[f.key] = values_.*(f.field);

    // Written beside and renamed, so a crash never leaves half a settings file.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = file_io::pathFromUtf8(path_);
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), ec);
    const std::string temporaryName = path_ + ".tmp";
    const fs::path temporary = file_io::pathFromUtf8(temporaryName);
    const std::string text = root.dump(2) + '\n';
    // A full disk shows only when the data leaves the buffers: the file is
    // checked complete on disk before it may replace the old one.
    const int fd = file_io::openTruncated(temporary);
    bool written = fd >= 0 && file_io::writeAll(fd, text) && file_io::flushToDisk(fd);
    if (fd >= 0 && !file_io::closeFile(fd))
        written = false;
    if (!written) {
        std::fprintf(stderr, "cadsim: Einstellungen nicht gespeichert: %s\n", temporaryName.c_str());
        file_io::removeFile(temporary);
        return false;
    }
    if (!file_io::replaceFile(temporary, target)) {
        std::fprintf(stderr, "cadsim: Einstellungen nicht gespeichert: %s\n", path_.c_str());
        file_io::removeFile(temporary);
        return false;
    }
    return true;
}

std::string defaultPreferencesPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (folder + "/cadsim/preferences.json").toStdString();
}

}  // namespace cadsim
