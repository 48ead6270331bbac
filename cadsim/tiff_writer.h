// Renders one sheet into a TIFF file with libtiff, band by band: each strip
// of the file is filled, encoded and written before the next one is drawn.
#pragma once

#include "cadsim/drawing.h"
#include "cadsim/preferences.h"

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

namespace cadsim {

// Classic TIFF addresses its file with 32-bit offsets.
constexpr uint64_t kClassicTiffLimit = 0xFFFFFFFFull;

struct TiffRequest {
    std::string documentName;  // DocumentName tag
    std::string pageName;      // PageName tag
    // Larger files become BigTIFF.
    uint64_t classicLimit = kClassicTiffLimit;
    // Once set, the write ends early and fails.
    const volatile std::sig_atomic_t* stop = nullptr;
};

// Writes the complete file to an open descriptor (which it closes). False
// with a reason when libtiff or the disk refused.
bool writeSheetTiff(int fd, const std::string& fileName, const Sheet& sheet,
                    const TiffPreferences& preferences, const TiffRequest& request, std::string& error);

// One row given by its change positions (white first) as 24-bit RGB PackBits:
// the runs become runs of bytes without expanding the row first.
void packBitsRgbRow(const std::vector<int>& changes, int width, std::vector<uint8_t>& out);

// Rows of the strips: a few hundred rows, fewer where rows are very wide.
int rowsPerStrip(int width, int bytesPerPixelTimes8);

}  // namespace cadsim
