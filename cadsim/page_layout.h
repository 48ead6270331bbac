// Where a sheet lands on the page of a TIFF file: page size in pixels and the
// mapping from sheet millimetres (y up) to pixels (y down).
#pragma once

#include "cadsim/drawing.h"
#include "cadsim/preferences.h"

namespace cadsim {

struct PageLayout {
    int width = 1;   // pixels
    int height = 1;  // pixels
    double dpi = 96;
    double scale = 1;  // pixels per sheet millimetre
    double left = 0;   // pixel position of the sheet's top-left corner
    double top = 0;
    double sheetHeightMm = 0;

    double x(double mm) const { return left + mm * scale; }
    double y(double mm) const { return top + (sheetHeightMm - mm) * scale; }
};

constexpr double kScreenDpi = 96;

// Print capture: the page of the preferred paper size at the preferred
// resolution, the sheet scaled to fit (centred) or at the scale factor from the
// top-left corner. Screen capture: the sheet itself at screen resolution.
PageLayout layoutPage(const Sheet& sheet, const TiffPreferences& preferences);

// The whole sheet scaled to a picture at most maxWidth x maxHeight pixels.
PageLayout layoutPreview(const Sheet& sheet, int maxWidth, int maxHeight);

// Page size in millimetres for the preferences' paper size.
void paperSizeMm(const TiffPreferences& preferences, double& width, double& height);

}  // namespace cadsim
