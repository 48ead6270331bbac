// A TIFF file read back with libtiff: the tags the tests check, and every
// pixel row decoded (so a file libtiff cannot decode fails the test).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cadsimtest {

struct TiffFacts {
    bool readable = false;
    uint32_t width = 0;
    uint32_t height = 0;
    float xResolution = 0;
    float yResolution = 0;
    uint16_t resolutionUnit = 0;
    uint16_t compression = 0;
    uint16_t bitsPerSample = 0;
    uint16_t samplesPerPixel = 0;
    uint16_t photometric = 0;
    std::string documentName;
    std::string pageName;
    bool decoded = false;  // every row decoded without error
    // Black pixels per column band: leftmost and rightmost column with ink.
    long long inkPixels = 0;
    int firstInkColumn = -1;
    int lastInkColumn = -1;
    int firstInkRow = -1;
    int lastInkRow = -1;
};

TiffFacts readTiff(const std::string& path);

}  // namespace cadsimtest
