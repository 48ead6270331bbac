#include "tests/support/preferences.h"

#include "cad/automation.h"
#include "cad/tiff_preferences.h"
#include "tests/support/test_data.h"

#include <gtest/gtest.h>

#include <memory>

namespace fake {

using namespace cad::pref;

std::vector<std::string> transferJournal(const std::string& part)
{
    std::vector<std::string> calls;
    for (const std::string& line : dataLines("transfer_journal.txt"))
        if (line.starts_with(part + " | "))
            calls.push_back(line.substr(part.size() + 3));
    return calls;
}

kup::TiffOptionSet heldPreferences()
{
    const std::unique_ptr<cad::Application> app = cad::attach();
    EXPECT_NE(app, nullptr) << "no CAD to read the preferences from";
    if (!app)
        return {};
    const auto number = [&](IntegerPreference preference) {
        return app->GetUserPreferenceIntegerValue(preference);
    };
    return {number(TiffScreenOrPrintCapture),
            number(TiffImageType),
            number(TiffCompressionScheme),
            number(TiffPrintDPI),
            number(TiffPrintPaperSize),
            number(TiffPrintScaleFactor),
            app->GetUserPreferenceToggle(TiffPrintScaleToFit),
            app->GetUserPreferenceDoubleValue(TiffPrintPaperWidth),
            app->GetUserPreferenceDoubleValue(TiffPrintPaperHeight)};
}

void holdPreferences(const kup::TiffOptionSet& v)
{
    const std::unique_ptr<cad::Application> app = cad::attach();
    ASSERT_NE(app, nullptr) << "no CAD to write the preferences to";
    const int16_t integers[] = {v.TiffScreenOrPrintCapture, v.TiffImageType,
                                v.TiffCompressionScheme,    v.TiffPrintDPI,
                                v.TiffPrintPaperSize,       v.TiffPrintScaleFactor};
    for (int32_t preference = TiffScreenOrPrintCapture; preference <= TiffPrintScaleFactor; ++preference)
        EXPECT_NE(
            app->SetUserPreferenceIntegerValue(preference, integers[preference - TiffScreenOrPrintCapture]),
            0)
            << preference;
    app->SetUserPreferenceToggle(TiffPrintScaleToFit, v.TiffPrintScaleToFit);
    double width = v.TiffPrintPaperWidth, height = v.TiffPrintPaperHeight;
    EXPECT_NE(app->SetUserPreferenceDoubleValue(TiffPrintPaperWidth, width), 0) << width;
    EXPECT_NE(app->SetUserPreferenceDoubleValue(TiffPrintPaperHeight, height), 0) << height;
}

}  // namespace fake

void kup::PrintTo(const TiffOptionSet& v, std::ostream* out)
{
    *out << testing::PrintToString(std::tuple(v.TiffScreenOrPrintCapture, v.TiffImageType,
                                              v.TiffCompressionScheme, v.TiffPrintDPI, v.TiffPrintPaperSize,
                                              v.TiffPrintScaleFactor, v.TiffPrintScaleToFit,
                                              v.TiffPrintPaperWidth, v.TiffPrintPaperHeight));
}
