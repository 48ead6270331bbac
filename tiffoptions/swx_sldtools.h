// Transfer of the CAD system's nine TIFF-export preferences.
#pragma once

#include "cad/tiff_preferences.h"

#include <cstdint>
#include <string>

namespace kup {

namespace pref = cad::pref;

struct TiffOptionSet {
    int16_t TiffScreenOrPrintCapture = -1;  // cad::TiffCapture
    int16_t TiffImageType = -1;             // cad::TiffImageType
    int16_t TiffCompressionScheme = -1;     // cad::TiffCompression
    int16_t TiffPrintDPI = -1;
    int16_t TiffPrintPaperSize = -1;    // cad::PaperSize
    int16_t TiffPrintScaleFactor = -1;  // percent
    bool TiffPrintScaleToFit = false;
    double TiffPrintPaperWidth = -1.0;   // metres
    double TiffPrintPaperHeight = -1.0;  // metres
    bool operator==(const TiffOptionSet&) const = default;
};

// Reads all nine preferences. False with a German message when the CAD
// system cannot be reached or a read fails; fields not yet read keep -1/false.
bool HoleSwxTiffOptions(TiffOptionSet& options, std::string& message);

// Writes the set back. All nine writes are always made; false lists every
// refused write, one line each, behind a header line.
bool SetzeSwxTiffOptions(TiffOptionSet options, std::string& message);

}  // namespace kup
