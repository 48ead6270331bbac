// Transfer of the CAD system's nine TIFF-export preferences.
#pragma once

#include <cstdint>
#include <string>

namespace kup {

// Preference numbers as the CAD system knows them.
namespace pref {
constexpr int32_t TiffScreenOrPrintCapture = 6;  // integer
constexpr int32_t TiffImageType = 7;             // integer
constexpr int32_t TiffCompressionScheme = 8;     // integer
constexpr int32_t TiffPrintDPI = 9;              // integer
constexpr int32_t TiffPrintPaperSize = 10;       // integer
constexpr int32_t TiffPrintScaleFactor = 11;     // integer
constexpr int32_t TiffPrintScaleToFit = 28;      // toggle
constexpr int32_t TiffPrintPaperWidth = 8;       // double
constexpr int32_t TiffPrintPaperHeight = 9;      // double
}  // namespace pref

struct TiffOptionSet {
    int16_t TiffScreenOrPrintCapture = -1;  // 0 screen, 1 print
    int16_t TiffImageType = -1;             // 0 black and white, 1 RGB
    int16_t TiffCompressionScheme = -1;     // 0 none, 1 PackBits, 2 Group 4
    int16_t TiffPrintDPI = -1;
    int16_t TiffPrintPaperSize = -1;    // paper-size code, 12 user-defined
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
