#include "cadsim/sheet_preview.h"

#include "cadsim/page_layout.h"
#include "cadsim/raster.h"
#include "cadsim/sheet_shapes.h"

#include <algorithm>

namespace cadsim {

QImage renderSheetPreview(const Sheet& sheet, int maxWidth, int maxHeight)
{
    // Drawn three times as large and scaled down smoothly, so small texts stay
    // legible on screen although the rasterizer knows only black and white.
    constexpr int kOversample = 3;
    const PageLayout page = layoutPreview(sheet, maxWidth * kOversample, maxHeight * kOversample);
    QImage image(page.width, page.height, QImage::Format_Mono);  // MSB first, as the TIFF rows
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    Rasterizer raster(page.width, page.height);
    addSheetShapes(raster, sheet, page);
    raster.fillBand(0, page.height, image.bits(), static_cast<size_t>(image.bytesPerLine()));
    return image.convertToFormat(QImage::Format_Grayscale8)
        .scaled(std::max(1, page.width / kOversample), std::max(1, page.height / kOversample),
                Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace cadsim
