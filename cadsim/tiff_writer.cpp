#include "cadsim/tiff_writer.h"

#include "cadsim/group4.h"
#include "cadsim/page_layout.h"
#include "cadsim/raster.h"
#include "cadsim/sheet_shapes.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace cadsim {

namespace {

constexpr int kBandRows = 256;
constexpr size_t kMaxStripBytes = 4u << 20;

// libtiff reports through global handlers; the last message is kept so the
// save can say why it failed instead of printing to the terminal.
thread_local std::string lastTiffMessage;

void keepTiffMessage(const char* module, const char* format, va_list args)
{
    char buffer[512];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    lastTiffMessage = std::string(module ? module : "libtiff") + ": " + buffer;
}

void emitRun(std::vector<uint8_t>& out, uint8_t value, long long bytes)
{
    while (bytes > 0) {
        const long long n = std::min<long long>(bytes, 128);
        if (n == 1) {
            out.push_back(0);  // literal of one byte
        } else {
            out.push_back(static_cast<uint8_t>(257 - n));  // repeat next byte n times
        }
        out.push_back(value);
        bytes -= n;
    }
}

void expandRgbRow(const uint8_t* bits, int width, uint8_t* rgb)
{
    for (int x = 0; x < width; ++x) {
        const uint8_t v = (bits[x >> 3] & (0x80 >> (x & 7))) ? 0x00 : 0xFF;
        rgb[3 * x] = rgb[3 * x + 1] = rgb[3 * x + 2] = v;
    }
}

}  // namespace

void packBitsRgbRow(const std::vector<int>& changes, int width, std::vector<uint8_t>& out)
{
    int x = 0;
    bool black = false;
    for (size_t i = 0; i <= changes.size(); ++i) {
        const int end = i < changes.size() ? std::min(changes[i], width) : width;
        if (end > x)
            emitRun(out, black ? 0x00 : 0xFF, 3LL * (end - x));
        x = std::max(x, end);
        black = !black;
    }
}

int rowsPerStrip(int width, int bitsPerPixel)
{
    const size_t rowBytes = (static_cast<size_t>(width) * bitsPerPixel + 7) / 8;
    const size_t rows = std::max<size_t>(1, kMaxStripBytes / std::max<size_t>(rowBytes, 1));
    return static_cast<int>(std::min<size_t>(kBandRows, rows));
}

bool writeSheetTiff(int fd, const std::string& fileName, const Sheet& sheet,
                    const TiffPreferences& preferences, const TiffRequest& request, std::string& error)
{
    const PageLayout page = layoutPage(sheet, preferences);
    const bool rgb = preferences.imageType == cad::kRgb;
    const int bitsPerPixel = rgb ? 24 : 1;
    const uint64_t rawBytes =
        static_cast<uint64_t>((static_cast<uint64_t>(page.width) * bitsPerPixel + 7) / 8) * page.height;
    // Classic TIFF ends at 4 GiB; larger uncompressed pages go to BigTIFF.
    const char* mode = rawBytes > (3ull << 30) ? "w8" : "w";

    TIFFSetErrorHandler(keepTiffMessage);
    TIFFSetWarningHandler(nullptr);
    lastTiffMessage.clear();
    TIFF* tif = TIFFFdOpen(fd, fileName.c_str(), mode);
    if (!tif) {
        ::close(fd);
        error = "TIFF-Datei nicht anzulegen: " + lastTiffMessage;
        return false;
    }
    std::unique_ptr<TIFF, void (*)(TIFF*)> closer(tif, TIFFClose);

    uint16_t compression = COMPRESSION_NONE;
    if (preferences.compression == cad::kPackBits)
        compression = COMPRESSION_PACKBITS;
    else if (preferences.compression == cad::kGroup4)
        compression = COMPRESSION_CCITTFAX4;
    const int stripRows = rowsPerStrip(page.width, bitsPerPixel);

    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(page.width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(page.height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, rgb ? 8 : 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, rgb ? 3 : 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, rgb ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(stripRows));
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(page.dpi));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(page.dpi));
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_DOCUMENTNAME, request.documentName.c_str());
    TIFFSetField(tif, TIFFTAG_PAGENAME, request.pageName.c_str());
    TIFFSetField(tif, TIFFTAG_SOFTWARE, "cadsim");

    Rasterizer raster(page.width, page.height);
    addSheetShapes(raster, sheet, page);

    const size_t stride = (static_cast<size_t>(page.width) + 7) / 8;
    const bool group4 = compression == COMPRESSION_CCITTFAX4;
    const bool ownPackBits = rgb && compression == COMPRESSION_PACKBITS;
    // Group 4 and RGB PackBits are coded from the change positions directly;
    // the rest goes through bit rows.
    std::vector<uint8_t> bits;
    std::vector<uint8_t> encoded;
    std::vector<int> changes;
    if (!group4 && !ownPackBits)
        bits.resize(stride * stripRows);
    if (rgb && !ownPackBits)
        encoded.resize(static_cast<size_t>(page.width) * 3 * stripRows);
    Group4Encoder g4(page.width);

    uint32_t strip = 0;
    for (int first = 0; first < page.height; first += stripRows, ++strip) {
        const int rows = std::min(stripRows, page.height - first);
        tmsize_t written;
        if (group4) {
            g4.beginStrip();
            for (int r = 0; r < rows; ++r) {
                raster.rowChanges(first + r, changes);
                g4.addRow(changes);
            }
            const std::vector<uint8_t>& data = g4.endStrip();
            written = TIFFWriteRawStrip(tif, strip, const_cast<uint8_t*>(data.data()),
                                        static_cast<tmsize_t>(data.size()));
        } else if (ownPackBits) {
            encoded.clear();
            for (int r = 0; r < rows; ++r) {
                raster.rowChanges(first + r, changes);
                packBitsRgbRow(changes, page.width, encoded);
            }
            written = TIFFWriteRawStrip(tif, strip, encoded.data(), static_cast<tmsize_t>(encoded.size()));
        } else {
            std::fill(bits.begin(), bits.begin() + stride * rows, 0);
            raster.fillBand(first, rows, bits.data(), stride);
            if (!rgb) {
                written =
                    TIFFWriteEncodedStrip(tif, strip, bits.data(), static_cast<tmsize_t>(stride * rows));
            } else {
                const size_t rgbRow = static_cast<size_t>(page.width) * 3;
                for (int r = 0; r < rows; ++r)
                    expandRgbRow(bits.data() + r * stride, page.width, encoded.data() + r * rgbRow);
                written =
                    TIFFWriteEncodedStrip(tif, strip, encoded.data(), static_cast<tmsize_t>(rgbRow * rows));
            }
        }
        if (written < 0) {
            error = "Schreiben fehlgeschlagen: " + lastTiffMessage;
            return false;
        }
    }
    if (!TIFFFlush(tif) || ::fsync(TIFFFileno(tif)) != 0) {
        error = "Schreiben fehlgeschlagen: " +
                (lastTiffMessage.empty() ? std::string(std::strerror(errno)) : lastTiffMessage);
        return false;
    }
    closer.reset();
    return true;
}

}  // namespace cadsim
