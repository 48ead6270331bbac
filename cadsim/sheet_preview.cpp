#include "cadsim/sheet_preview.h"

#include "cadsim/page_layout.h"
#include "cadsim/raster.h"
#include "cadsim/sheet_shapes.h"

#include <cstring>

namespace cadsim {

QImage renderSheetPreview(const Sheet& sheet, int maxWidth, int maxHeight)
{
    const PageLayout page = layoutPreview(sheet, maxWidth, maxHeight);
    // Bit 1 is black, as in the TIFF files, MSB first as QImage::Format_Mono.
    QImage image(page.width, page.height, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    Rasterizer raster(page.width, page.height);
    addSheetShapes(raster, sheet, page);
    raster.fillBand(0, page.height, image.bits(), static_cast<size_t>(image.bytesPerLine()));
    return image;
}

}  // namespace cadsim
