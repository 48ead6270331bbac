#include "tiffoptions/swx_sldtools.h"

#include "cad/automation.h"
#include "cad/members.h"

namespace kup {

namespace {
const char* const kCrLf = "\r\n";

using cad::members::Id;

// The member being called, so that a failing call can be named to the user.
std::string callText(Id member, int32_t preference)
{
    return std::string(cad::members::nameOf(member)) + "(" + std::to_string(preference) + ")";
}
}  // namespace

bool HoleSwxTiffOptions(TiffOptionSet& options, std::string& message)
{
    message = "Unbekannter Fehler";
    options = TiffOptionSet{};

    std::string calling = "Anmelden bei Solidworks";
    try {
        const std::unique_ptr<cad::Application> app = cad::attachOrSay(message);
        if (!app)
            return false;
        const auto readInteger = [&](int32_t preference, int16_t& field) {
            calling = callText(Id::GetUserPreferenceIntegerValue, preference);
            field = app->GetUserPreferenceIntegerValue(preference);
        };
        readInteger(pref::TiffScreenOrPrintCapture, options.TiffScreenOrPrintCapture);
        readInteger(pref::TiffImageType, options.TiffImageType);
        readInteger(pref::TiffCompressionScheme, options.TiffCompressionScheme);
        readInteger(pref::TiffPrintDPI, options.TiffPrintDPI);
        readInteger(pref::TiffPrintPaperSize, options.TiffPrintPaperSize);
        readInteger(pref::TiffPrintScaleFactor, options.TiffPrintScaleFactor);
        calling = callText(Id::GetUserPreferenceToggle, pref::TiffPrintScaleToFit);
        options.TiffPrintScaleToFit = app->GetUserPreferenceToggle(pref::TiffPrintScaleToFit);
        calling = callText(Id::GetUserPreferenceDoubleValue, pref::TiffPrintPaperWidth);
        options.TiffPrintPaperWidth = app->GetUserPreferenceDoubleValue(pref::TiffPrintPaperWidth);
        calling = callText(Id::GetUserPreferenceDoubleValue, pref::TiffPrintPaperHeight);
        options.TiffPrintPaperHeight = app->GetUserPreferenceDoubleValue(pref::TiffPrintPaperHeight);
    } catch (const cad::AutomationError& error) {
        message = "Fehler beim Lesen der TIFF-Optionen" + std::string(kCrLf) + calling +
                  " fehlgeschlagen: " + error.what();
        return false;
    }
    message.clear();
    return true;
}

bool SetzeSwxTiffOptions(TiffOptionSet options, std::string& message)
{
    message.clear();
    std::string calling = "Anmelden bei Solidworks";
    try {
        const std::unique_ptr<cad::Application> app = cad::attachOrSay(message);
        if (!app)
            return false;
        // Print capture, user-defined paper, fit to page and no compression go
        // first: the CAD system accepts some values only in that context. The set's
        // own values overwrite them below. These results are not examined.
        calling = callText(Id::SetUserPreferenceIntegerValue, pref::TiffScreenOrPrintCapture);
        app->SetUserPreferenceIntegerValue(pref::TiffScreenOrPrintCapture, int16_t{cad::kPrintCapture});
        calling = callText(Id::SetUserPreferenceIntegerValue, pref::TiffPrintPaperSize);
        app->SetUserPreferenceIntegerValue(pref::TiffPrintPaperSize, int32_t{cad::kPaperUserDefined});
        calling = callText(Id::SetUserPreferenceToggle, pref::TiffPrintScaleToFit);
        app->SetUserPreferenceToggle(pref::TiffPrintScaleToFit, int16_t{1});
        calling = callText(Id::SetUserPreferenceIntegerValue, pref::TiffCompressionScheme);
        app->SetUserPreferenceIntegerValue(pref::TiffCompressionScheme, int16_t{cad::kNoCompression});

        const auto failed = [&](const char* line) { message += std::string(line) + kCrLf; };
        const auto writeInteger = [&](int32_t preference, int16_t value, const char* line) {
            calling = callText(Id::SetUserPreferenceIntegerValue, preference);
            if (app->SetUserPreferenceIntegerValue(preference, value) == 0)
                failed(line);
        };
        const auto writeDouble = [&](int32_t preference, double value, const char* line) {
            calling = callText(Id::SetUserPreferenceDoubleValue, preference);
            if (app->SetUserPreferenceDoubleValue(preference, value) == 0)
                failed(line);
        };

        writeInteger(pref::TiffPrintScaleFactor, options.TiffPrintScaleFactor,
                     "TiffprintScaleFactor konnte nicht gesetzt werden");
        calling = callText(Id::SetUserPreferenceToggle, pref::TiffPrintScaleToFit);
        app->SetUserPreferenceToggle(pref::TiffPrintScaleToFit, options.TiffPrintScaleToFit);
        writeDouble(pref::TiffPrintPaperWidth, options.TiffPrintPaperWidth,
                    "TiffPrintPaperWidth konnte nicht gesetzt werden");
        writeDouble(pref::TiffPrintPaperHeight, options.TiffPrintPaperHeight,
                    "TiffPrintPaperHeight konnte nicht gesetzt werden");
        writeInteger(pref::TiffPrintPaperSize, options.TiffPrintPaperSize,
                     "TiffPrintPaperSize konnte nicht gesetzt werden");
        writeInteger(pref::TiffPrintDPI, options.TiffPrintDPI, "TiffPrintDPI konnte nicht gesetzt werden");
        writeInteger(pref::TiffScreenOrPrintCapture, options.TiffScreenOrPrintCapture,
                     "TiffScreenOrPrintCapture konnte nicht gesetzt werden");
        writeInteger(pref::TiffImageType, options.TiffImageType, "TiffImageType konnte nicht gesetzt werden");
        writeInteger(pref::TiffCompressionScheme, options.TiffCompressionScheme,
                     "TiffCompressionScheme konnte nicht gesetzt werden");
    } catch (const cad::AutomationError& error) {
        message = "Fehler beim Setzen der TIFF-Optionen" + std::string(kCrLf) + message + "Abbruch bei " +
                  calling + ": " + error.what() + kCrLf;
        return false;
    }
    if (message.empty())
        return true;
    message = "Fehler beim Setzen der TIFF-Optionen" + std::string(kCrLf) + message;
    return false;
}

}  // namespace kup
