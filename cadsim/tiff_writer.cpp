#include "cadsim/tiff_writer.h"

#include "cadsim/file_io.h"
#include "cadsim/group4.h"
#include "cadsim/page_layout.h"
#include "cadsim/raster.h"
#include "cadsim/sheet_shapes.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

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

namespace {

// One strip as it goes to the file: coded here (written as it is) or left to
// libtiff to code, with the most it can take in the file.
struct Strip {
    const uint8_t* data;
    size_t size;
    bool coded;
    uint64_t bound;
};

// Codes the strip of the given rows; rows come in order from the top, and
// asking for row 0 again starts the page over.
using StripCoder = std::function<Strip(int first, int rows)>;

// Group 4 straight from the change positions.
StripCoder group4Strips(Rasterizer& raster, int width)
{
    auto encoder = std::make_shared<Group4Encoder>(width);
    return [&raster, encoder, changes = std::vector<int>()](int first, int rows) mutable {
        encoder->beginStrip();
        for (int r = 0; r < rows; ++r) {
            raster.rowChanges(first + r, changes);
            encoder->addRow(changes);
        }
        const std::vector<uint8_t>& data = encoder->endStrip();
        return Strip{data.data(), data.size(), true, data.size()};
    };
}

// RGB PackBits from the runs, without expanding the rows first.
StripCoder rgbPackBitsStrips(Rasterizer& raster, int width)
{
    return [&raster, width, encoded = std::vector<uint8_t>(),
            changes = std::vector<int>()](int first, int rows) mutable {
        encoded.clear();
        for (int r = 0; r < rows; ++r) {
            raster.rowChanges(first + r, changes);
            packBitsRgbRow(changes, width, encoded);
        }
        return Strip{encoded.data(), encoded.size(), true, encoded.size()};
    };
}

// Black and white bit rows, uncompressed or PackBits coded by libtiff: at
// worst one count byte more per 128 bytes of a row.
StripCoder bitRowStrips(Rasterizer& raster, int width, int stripRows, bool packBits)
{
    const size_t stride = (static_cast<size_t>(width) + 7) / 8;
    return [&raster, stride, packBits, bits = std::vector<uint8_t>(stride * stripRows)](int first,
                                                                                        int rows) mutable {
        const size_t size = stride * rows;
        std::fill(bits.begin(), bits.begin() + size, 0);
        raster.fillBand(first, rows, bits.data(), stride);
        return Strip{bits.data(), size, false, packBits ? size + (stride / 128 + 1) * rows : size};
    };
}

// Uncompressed RGB: the bit rows expanded.
StripCoder rgbStrips(Rasterizer& raster, int width, int stripRows)
{
    const size_t stride = (static_cast<size_t>(width) + 7) / 8;
    const size_t rgbRow = static_cast<size_t>(width) * 3;
    return [&raster, width, stride, rgbRow, bits = std::vector<uint8_t>(stride * stripRows),
            rgb = std::vector<uint8_t>(rgbRow * stripRows)](int first, int rows) mutable {
        std::fill(bits.begin(), bits.begin() + stride * rows, 0);
        raster.fillBand(first, rows, bits.data(), stride);
        for (int r = 0; r < rows; ++r)
            expandRgbRow(bits.data() + r * stride, width, rgb.data() + r * rgbRow);
        return Strip{rgb.data(), rgbRow * rows, false, rgbRow * rows};
    };
}

StripCoder stripCoder(Rasterizer& raster, int width, int stripRows, bool rgb, uint16_t compression)
{
    if (compression == COMPRESSION_CCITTFAX4)
        return group4Strips(raster, width);
    if (rgb && compression == COMPRESSION_PACKBITS)
        return rgbPackBitsStrips(raster, width);
    if (rgb)
        return rgbStrips(raster, width, stripRows);
    return bitRowStrips(raster, width, stripRows, compression == COMPRESSION_PACKBITS);
}

void setTags(TIFF* tif, const PageLayout& page, bool rgb, uint16_t compression, int stripRows,
             const TiffRequest& request)
{
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
}

enum class Written { Complete, OutgrowsClassic, Failed };

// The strips, as long as they fit into room bytes.
Written writeStrips(TIFF* tif, const StripCoder& code, int height, int stripRows, uint64_t room,
                    const TiffRequest& request, std::string& error)
{
    uint64_t used = 8;  // header
    uint32_t strip = 0;
    for (int first = 0; first < height; first += stripRows, ++strip) {
        if (request.stop && *request.stop) {
            error = "abgebrochen, cadsim wird beendet";
            return Written::Failed;
        }
        const int rows = std::min(stripRows, height - first);
        const Strip data = code(first, rows);
        used += data.bound;
        if (used > room)
            return Written::OutgrowsClassic;
        uint8_t* bytes = const_cast<uint8_t*>(data.data);
        const tmsize_t size = static_cast<tmsize_t>(data.size);
        const tmsize_t written = data.coded ? TIFFWriteRawStrip(tif, strip, bytes, size)
                                            : TIFFWriteEncodedStrip(tif, strip, bytes, size);
        if (written < 0) {
            error = "Schreiben fehlgeschlagen: " + lastTiffMessage;
            return Written::Failed;
        }
    }
    return Written::Complete;
}

}  // namespace

bool writeSheetTiff(int fd, const std::string& fileName, const Sheet& sheet,
                    const TiffPreferences& preferences, const TiffRequest& request, std::string& error)
{
    const PageLayout page = layoutPage(sheet, preferences);
    const bool rgb = preferences.imageType == cad::kRgb;
    uint16_t compression = COMPRESSION_NONE;
    if (preferences.compression == cad::kPackBits)
        compression = COMPRESSION_PACKBITS;
    else if (preferences.compression == cad::kGroup4)
        compression = COMPRESSION_CCITTFAX4;
    const int stripRows = rowsPerStrip(page.width, rgb ? 24 : 1);
    const uint64_t strips = (static_cast<uint64_t>(page.height) + stripRows - 1) / stripRows;
    // The directory follows the strips: tags, texts, and offset and byte count per strip.
    const uint64_t directory = 4096 + request.documentName.size() + request.pageName.size() + 8 * strips;
    const uint64_t classicRoom = request.classicLimit > directory ? request.classicLimit - directory : 0;
    const uint64_t rawBytes =
        static_cast<uint64_t>((static_cast<uint64_t>(page.width) * (rgb ? 24 : 1) + 7) / 8) * page.height;
    // Many readers know classic TIFF only. An uncompressed page's size is
    // known beforehand; a compressed one's only once coded, so it starts as
    // classic TIFF and starts over as BigTIFF should it outgrow it.
    bool big = compression == COMPRESSION_NONE && rawBytes > classicRoom;

    Rasterizer raster(page.width, page.height);
    addSheetShapes(raster, sheet, page);
    const StripCoder code = stripCoder(raster, page.width, stripRows, rgb, compression);

    TIFFSetErrorHandler(keepTiffMessage);
    TIFFSetWarningHandler(nullptr);
    for (;;) {
        lastTiffMessage.clear();
        // libtiff closes the descriptor it is given; this one stays for a new start.
        const int copy = file_io::duplicate(fd);
        TIFF* tif = copy < 0 ? nullptr : TIFFFdOpen(copy, fileName.c_str(), big ? "w8" : "w");
        if (!tif) {
            error = "TIFF-Datei nicht anzulegen: " +
                    (lastTiffMessage.empty() ? std::string(std::strerror(errno)) : lastTiffMessage);
            if (copy >= 0)
                file_io::closeFile(copy);
            file_io::closeFile(fd);
            return false;
        }
        setTags(tif, page, rgb, compression, stripRows, request);
        const Written written =
            writeStrips(tif, code, page.height, stripRows, big ? UINT64_MAX : classicRoom, request, error);
        if (written == Written::OutgrowsClassic) {
            TIFFCleanup(tif);  // what it still writes is cut off below
            file_io::closeFile(copy);
            if (!file_io::truncateToEmpty(fd)) {
                error = "Schreiben fehlgeschlagen: " + std::string(std::strerror(errno));
                file_io::closeFile(fd);
                return false;
            }
            big = true;
            continue;
        }
        bool complete = written == Written::Complete;
        if (complete && (!TIFFFlush(tif) || !file_io::flushToDisk(fd))) {
            error = "Schreiben fehlgeschlagen: " +
                    (lastTiffMessage.empty() ? std::string(std::strerror(errno)) : lastTiffMessage);
            complete = false;
        }
        TIFFClose(tif);
        complete = file_io::closeFile(fd) && complete;
        return complete;
    }
}

}  // namespace cadsim
