// Turns a sheet's entities into filled outlines on the page: strokes of their
// line width (at least one pixel, so thin lines never vanish at low
// resolution) and text as glyph outlines.
#pragma once

#include "cadsim/drawing.h"
#include "cadsim/page_layout.h"
#include "cadsim/raster.h"

namespace cadsim {

// Needs a QGuiApplication for the text outlines.
void addSheetShapes(Rasterizer& raster, const Sheet& sheet, const PageLayout& page);

}  // namespace cadsim
