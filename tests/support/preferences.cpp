#include "tests/support/preferences.h"

#include "cad/automation.h"
#include "cad/tiff_preferences.h"

#include <gtest/gtest.h>

#include <memory>

namespace fake {

using namespace cad::pref;

kup::TiffOptionSet heldPreferences()
{
    const std::unique_ptr<cad::Application> app = cad::attach();
    if (!app) {
        ADD_FAILURE() << "no CAD to read the preferences from";
        return {};
    }
    return {app->GetUserPreferenceIntegerValue(TiffScreenOrPrintCapture),
            app->GetUserPreferenceIntegerValue(TiffImageType),
            app->GetUserPreferenceIntegerValue(TiffCompressionScheme),
            app->GetUserPreferenceIntegerValue(TiffPrintDPI),
            app->GetUserPreferenceIntegerValue(TiffPrintPaperSize),
            app->GetUserPreferenceIntegerValue(TiffPrintScaleFactor),
            app->GetUserPreferenceToggle(TiffPrintScaleToFit),
            app->GetUserPreferenceDoubleValue(TiffPrintPaperWidth),
            app->GetUserPreferenceDoubleValue(TiffPrintPaperHeight)};
}

void holdPreferences(const kup::TiffOptionSet& v)
{
    const std::unique_ptr<cad::Application> app = cad::attach();
    ASSERT_NE(app, nullptr) << "no CAD to write the preferences to";
    const std::pair<IntegerPreference, int16_t> integers[] = {
        {TiffScreenOrPrintCapture, v.TiffScreenOrPrintCapture},
        {TiffImageType, v.TiffImageType},
        {TiffCompressionScheme, v.TiffCompressionScheme},
        {TiffPrintDPI, v.TiffPrintDPI},
        {TiffPrintPaperSize, v.TiffPrintPaperSize},
        {TiffPrintScaleFactor, v.TiffPrintScaleFactor}};
    for (const auto& [preference, value] : integers)
        EXPECT_NE(app->SetUserPreferenceIntegerValue(preference, value), 0) << preference << " = " << value;
    app->SetUserPreferenceToggle(TiffPrintScaleToFit, v.TiffPrintScaleToFit);
    double width = v.TiffPrintPaperWidth, height = v.TiffPrintPaperHeight;
    EXPECT_NE(app->SetUserPreferenceDoubleValue(TiffPrintPaperWidth, width), 0) << width;
    EXPECT_NE(app->SetUserPreferenceDoubleValue(TiffPrintPaperHeight, height), 0) << height;
}

}  // namespace fake

namespace kup {

void PrintTo(const TiffOptionSet& v, std::ostream* out)
{
    *out << v.TiffScreenOrPrintCapture << ' ' << v.TiffImageType << ' ' << v.TiffCompressionScheme << ' '
         << v.TiffPrintDPI << ' ' << v.TiffPrintPaperSize << ' ' << v.TiffPrintScaleFactor << ' '
         << (v.TiffPrintScaleToFit ? "true " : "false ") << v.TiffPrintPaperWidth << ' '
         << v.TiffPrintPaperHeight;
}

}  // namespace kup
