#include "tests/support/tiff_readback.h"

#include <tiffio.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace cadsimtest {

namespace {

// Windows' narrow file names are in the ANSI code page, not UTF-8.
TIFF* openUtf8(const std::string& path)
{
#ifdef _WIN32
    return TIFFOpenW(std::filesystem::path(std::u8string(path.begin(), path.end())).c_str(), "r");
#else
    return TIFFOpen(path.c_str(), "r");
#endif
}

}  // namespace

TiffFacts readTiff(const std::string& path)
{
    TiffFacts f;
    TIFFSetWarningHandler(nullptr);
    std::unique_ptr<TIFF, void (*)(TIFF*)> tif(openUtf8(path), TIFFClose);
    if (!tif)
        return f;
    f.readable = true;
    TIFF* t = tif.get();
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &f.width);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &f.height);
    TIFFGetField(t, TIFFTAG_XRESOLUTION, &f.xResolution);
    TIFFGetField(t, TIFFTAG_YRESOLUTION, &f.yResolution);
    TIFFGetFieldDefaulted(t, TIFFTAG_RESOLUTIONUNIT, &f.resolutionUnit);
    TIFFGetField(t, TIFFTAG_COMPRESSION, &f.compression);
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &f.bitsPerSample);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &f.samplesPerPixel);
    TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &f.photometric);
    char* text = nullptr;
    if (TIFFGetField(t, TIFFTAG_DOCUMENTNAME, &text) && text)
        f.documentName = text;
    if (TIFFGetField(t, TIFFTAG_PAGENAME, &text) && text)
        f.pageName = text;

    std::vector<uint8_t> row(TIFFScanlineSize(t));
    const bool rgb = f.samplesPerPixel == 3;
    for (uint32_t y = 0; y < f.height; ++y) {
        if (TIFFReadScanline(t, row.data(), y) < 0)
            return f;
        for (uint32_t x = 0; x < f.width; ++x) {
            const bool ink = rgb ? row[3 * x] == 0 : (row[x / 8] & (0x80 >> (x % 8))) != 0;
            if (!ink)
                continue;
            ++f.inkPixels;
            if (f.firstInkColumn < 0 || static_cast<int>(x) < f.firstInkColumn)
                f.firstInkColumn = static_cast<int>(x);
            f.lastInkColumn = std::max(f.lastInkColumn, static_cast<int>(x));
            if (f.firstInkRow < 0)
                f.firstInkRow = static_cast<int>(y);
            f.lastInkRow = static_cast<int>(y);
        }
    }
    f.decoded = true;
    return f;
}

}  // namespace cadsimtest
