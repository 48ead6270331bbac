// The active sheet as a picture, drawn by the same code as the TIFF files.
#pragma once

#include "cadsim/drawing.h"

#include <QImage>

namespace cadsim {

QImage renderSheetPreview(const Sheet& sheet, int maxWidth, int maxHeight);

}  // namespace cadsim
