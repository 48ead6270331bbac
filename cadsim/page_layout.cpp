#include "cadsim/page_layout.h"

#include "cad/size_tables.h"

#include <algorithm>
#include <cmath>

namespace cadsim {

namespace {
constexpr double kMmPerInch = 25.4;

int pixels(double mm, double dpi)
{
    return std::max(1, static_cast<int>(std::lround(mm / kMmPerInch * dpi)));
}
}  // namespace

void paperSizeMm(const TiffPreferences& preferences, double& width, double& height)
{
    cad::FillSizeTables();
    const int code = std::clamp<int>(preferences.paperSize, 0, cad::kPaperSizeCount - 1);
    if (code == cad::kPaperUserDefined) {
        width = preferences.paperWidth * 1000;
        height = preferences.paperHeight * 1000;
    } else {
        width = cad::PaperSizeWidths[code];
        height = cad::PaperSizeHeights[code];
    }
}

PageLayout layoutPage(const Sheet& sheet, const TiffPreferences& preferences)
{
    PageLayout page;
    const double sheetW = sheet.width * 1000;
    const double sheetH = sheet.height * 1000;
    page.sheetHeightMm = sheetH;
    if (preferences.captureMode == cad::kScreenCapture) {
        page.dpi = kScreenDpi;
        page.width = pixels(sheetW, page.dpi);
        page.height = pixels(sheetH, page.dpi);
        page.scale = page.dpi / kMmPerInch;
        return page;
    }
    double paperW = 0;
    double paperH = 0;
    paperSizeMm(preferences, paperW, paperH);
    page.dpi = preferences.dpi;
    page.width = pixels(paperW, page.dpi);
    page.height = pixels(paperH, page.dpi);
    if (preferences.scaleToFit) {
        page.scale = std::min(page.width / sheetW, page.height / sheetH);
        page.left = (page.width - sheetW * page.scale) / 2;
        page.top = (page.height - sheetH * page.scale) / 2;
    } else {
        page.scale = page.dpi / kMmPerInch * preferences.scaleFactor / 100.0;
    }
    return page;
}

PageLayout layoutPreview(const Sheet& sheet, int maxWidth, int maxHeight)
{
    PageLayout page;
    const double sheetW = sheet.width * 1000;
    const double sheetH = sheet.height * 1000;
    page.sheetHeightMm = sheetH;
    page.scale = std::min(std::max(maxWidth, 1) / sheetW, std::max(maxHeight, 1) / sheetH);
    page.width = std::max(1, static_cast<int>(std::floor(sheetW * page.scale)));
    page.height = std::max(1, static_cast<int>(std::floor(sheetH * page.scale)));
    page.dpi = page.scale * kMmPerInch;
    return page;
}

}  // namespace cadsim
