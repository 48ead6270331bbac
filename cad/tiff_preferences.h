// The numbers by which the CAD system's automation interface knows its nine
// TIFF-export preferences, and the codes their values take. The tool, cadsim
// and the tests' fake CAD all speak of them by these names.
#pragma once

#include <cstdint>

namespace cad {

namespace pref {
// Read and written with Get/SetUserPreferenceIntegerValue.
enum IntegerPreference : int32_t {
    TiffScreenOrPrintCapture = 6,
    TiffImageType = 7,
    TiffCompressionScheme = 8,
    TiffPrintDPI = 9,
    TiffPrintPaperSize = 10,
    TiffPrintScaleFactor = 11,
};
// With Get/SetUserPreferenceToggle.
enum TogglePreference : int32_t {
    TiffPrintScaleToFit = 28,
};
// With Get/SetUserPreferenceDoubleValue; the numbers overlap the integer ones.
enum DoublePreference : int32_t {
    TiffPrintPaperWidth = 8,  // metres
    TiffPrintPaperHeight = 9,
};
}  // namespace pref

// TiffScreenOrPrintCapture
enum TiffCapture : int16_t {
    kScreenCapture = 0,
    kPrintCapture = 1,
};

// TiffImageType
enum TiffImageType : int16_t {
    kBlackAndWhite = 0,
    kRgb = 1,
};

// TiffCompressionScheme
enum TiffCompression : int16_t {
    kNoCompression = 0,
    kPackBits = 1,
    kGroup4 = 2,  // black and white only
};

// TiffPrintPaperSize, and a sheet's paper size: A to E are the inch formats.
enum PaperSize : int32_t {
    kPaperA = 0,
    kPaperAVertical = 1,
    kPaperB = 2,
    kPaperC = 3,
    kPaperD = 4,
    kPaperE = 5,
    kPaperA4 = 6,
    kPaperA4Vertical = 7,
    kPaperA3 = 8,
    kPaperA2 = 9,
    kPaperA1 = 10,
    kPaperA0 = 11,
    kPaperUserDefined = 12,  // width and height from TiffPrintPaperWidth/-Height
};

}  // namespace cad
