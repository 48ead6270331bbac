#include "cadsim/drawing.h"
#include "cadsim/file_io.h"
#include "cadsim/group4.h"
#include "cadsim/page_layout.h"
#include "cadsim/raster.h"
#include "cadsim/sheet_shapes.h"
#include "cadsim/tiff_writer.h"

#include <tiffio.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <random>

namespace {

using cadsim::Rasterizer;

struct Bitmap {
    size_t stride;
    std::vector<uint8_t> bits;
    bool at(int x, int y) const { return bits[y * stride + x / 8] & (0x80 >> (x % 8)); }
};

Bitmap fill(Rasterizer& raster, int bandRows)
{
    Bitmap b{size_t(raster.width() + 7) / 8};
    b.bits.resize(b.stride * raster.height());
    for (int y = 0; y < raster.height(); y += bandRows)
        raster.fillBand(y, std::min(bandRows, raster.height() - y), b.bits.data() + y * b.stride, b.stride);
    return b;
}

// The fill rule at the pixel level; holes and overlapping shapes are the sheet's
// matter below.
TEST(Raster, PixelsAreBlackWhenTheirCentreIsInside)
{
    Rasterizer r(32, 16);
    r.beginShape();
    r.addContour({{10.2, 5.0}, {20.4, 5.0}, {20.4, 8.5}, {10.2, 8.5}});  // columns 10..19, rows 5..7
    r.endShape();
    const Bitmap b = fill(r, 16);
    for (auto [x, y, black] : {std::tuple{10, 5, true},
                               {19, 7, true},
                               {9, 5, false},
                               {20, 5, false},
                               {10, 8, false},
                               {10, 4, false}})
        EXPECT_EQ(b.at(x, y), black) << x << "," << y;
}

// Random rows as change lists, with runs of every length class: short runs
// (vertical and pass modes), long ones (make-up codes up to and past 2560),
// rows that start or end black, and repeated rows.
std::vector<std::vector<int>> randomRows(int width, int rows, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::vector<int>> result;
    for (int r = 0; r < rows; ++r) {
        std::vector<int> changes;
        const unsigned scale = 1u << (random() % 13);  // runs from 1 to about 8000 pixels
        for (int x = static_cast<int>(random() % 3); x < width; x += 1 + static_cast<int>(random() % scale))
            changes.push_back(x);
        if (changes.size() % 2 == 1)
            changes.push_back(width);  // the last run reaches the right edge
        result.push_back(r > 0 && random() % 4 == 0 ? result.back() : changes);
    }
    return result;
}

std::vector<uint8_t> expandRow(const std::vector<int>& changes, int width)
{
    std::vector<uint8_t> row((width + 7) / 8, 0);
    for (size_t i = 0; i + 1 < changes.size(); i += 2)
        cadsim::setSpan(row.data(), changes[i], std::min(changes[i + 1], width));
    return row;
}

std::vector<uint8_t> unpackBits(const std::vector<uint8_t>& in)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < in.size();) {
        const int8_t n = static_cast<int8_t>(in[i++]);
        if (n >= 0) {
            out.insert(out.end(), in.begin() + i, in.begin() + i + n + 1);
            i += n + 1;
        } else if (n != -128) {
            out.insert(out.end(), 1 - n, in[i++]);
        }
    }
    return out;
}

// Group 4 strips in a file libtiff decodes, and PackBits RGB rows, give back every pixel.
TEST(Encoders, Group4StripsAndPackBitsRowsDecodeToTheSameRows)
{
    for (int width : {1, 7, 17, 43, 200, 1001, 1728, 9000}) {
        SCOPED_TRACE("width " + std::to_string(width));
        const int height = 300, stripRows = 64;
        const auto rows = randomRows(width, height, static_cast<unsigned>(width));
        const QTemporaryDir temporary;  // the process's own
        const std::string path = temporary.filePath("g4.tif").toStdString();
        TIFF* tif = TIFFOpen(path.c_str(), "w");
        ASSERT_NE(tif, nullptr);
        const uint32_t tags[] = {TIFFTAG_IMAGEWIDTH,      TIFFTAG_IMAGELENGTH, TIFFTAG_BITSPERSAMPLE,
                                 TIFFTAG_SAMPLESPERPIXEL, TIFFTAG_PHOTOMETRIC, TIFFTAG_COMPRESSION,
                                 TIFFTAG_ROWSPERSTRIP};
        const uint32_t values[] = {uint32_t(width),       uint32_t(height),   1, 1, PHOTOMETRIC_MINISWHITE,
                                   COMPRESSION_CCITTFAX4, uint32_t(stripRows)};
        for (int i = 0; i < 7; ++i)
            TIFFSetField(tif, tags[i], values[i]);
        cadsim::Group4Encoder encoder(width);
        for (int first = 0, strip = 0; first < height; first += stripRows, ++strip) {
            encoder.beginStrip();
            for (int r = first; r < std::min(height, first + stripRows); ++r)
                encoder.addRow(rows[r]);
            std::vector<uint8_t> data = encoder.endStrip();
            ASSERT_GE(TIFFWriteRawStrip(tif, strip, data.data(), tmsize_t(data.size())), 0);
        }
        TIFFClose(tif);
        tif = TIFFOpen(path.c_str(), "r");
        ASSERT_NE(tif, nullptr);
        std::vector<uint8_t> line(TIFFScanlineSize(tif));
        for (int r = 0; r < height; ++r) {
            const std::vector<uint8_t> bits = expandRow(rows[r], width);
            ASSERT_GE(TIFFReadScanline(tif, line.data(), r), 0) << "row " << r;
            ASSERT_EQ(line, bits) << "row " << r;
            std::vector<uint8_t> packed, rgb;
            for (int x = 0; x < width; ++x)
                rgb.insert(rgb.end(), 3, (bits[x / 8] & (0x80 >> (x % 8))) ? 0x00 : 0xFF);
            cadsim::packBitsRgbRow(rows[r], width, packed);
            ASSERT_EQ(unpackBits(packed), rgb) << "row " << r;
        }
        TIFFClose(tif);
        std::remove(path.c_str());
    }
    std::vector<uint8_t> white;
    cadsim::packBitsRgbRow({}, 9000, white);
    EXPECT_LE(white.size(), 2u * (3 * 9000 / 128 + 1));  // long runs stay short
}

// Every kind of entity, filled in bands of 7 rows, against the page as the
// writer codes it from the row changes in bands of its own: first as classic
// TIFF, then outgrowing a small limit and starting over as BigTIFF.
TEST(TiffWriter, ThePageInBandsIsTheFileEvenWhenItStartsOverAsBigTiff)
{
    const cadsim::Sheet sheet =
        cadsim::parseDrawing(
            R"({"type": "drawing", "sheets": [{"name": "B", "paperSize": 12, "width": 0.1, "height": 0.07,
            "template": 12, "templatePath": "", "scale": [1, 1], "firstAngle": true, "entities": [
            {"rect": [5, 5, 90, 60]}, {"line": [0, 0, 100, 70]}, {"circle": [50, 35, 20]},
            {"arc": [50, 35, 30, 45, 200]}, {"polyline": [10, 60, 20, 50, 30, 60]}, {"text": [10, 10, 6, "Blatt 1"]}]}]})",
            "z.json")
            .sheets[0];
    const cadsim::TiffPreferences prefs{.dpi = 600, .paperSize = 12, .paperWidth = 0.1, .paperHeight = 0.07};
    const cadsim::PageLayout page = cadsim::layoutPage(sheet, prefs);
    Rasterizer r(page.width, page.height);
    cadsim::addSheetShapes(r, sheet, page);
    const Bitmap banded = fill(r, 7);
    const auto ink = [](int n, uint8_t byte) { return n + std::popcount(byte); };
    EXPECT_GT(std::accumulate(banded.bits.begin(), banded.bits.end(), 0, ink), 20000);  // text included
    // The circle's inside stays white (away from the diagonal line), its line is black,
    // and so is the place where the diagonal crosses it: overlaps never cancel.
    const auto at = [&](double x, double y) { return banded.at(int(page.x(x)), int(page.y(y))); };
    EXPECT_FALSE(at(50, 45));
    EXPECT_TRUE(at(70, 35));
    EXPECT_TRUE(at(50 + 20 * 100 / std::hypot(100, 70), 35 + 20 * 70 / std::hypot(100, 70)));
    for (const uint64_t limit : {cadsim::kClassicTiffLimit, uint64_t{6000}}) {
        SCOPED_TRACE(limit);
        // As a save creates it: the start over as BigTIFF truncates that very file.
        const cadsim::file_io::NewFile file =
            cadsim::file_io::createTemporary(::testing::TempDir(), "outgrows-");
        ASSERT_GE(file.fd, 0) << file.error;
        const std::string path = cadsim::file_io::utf8FromPath(file.path);
        const cadsim::TiffRequest request{"z", "B", limit};
        std::string error;
        ASSERT_TRUE(cadsim::writeSheetTiff(file.fd, path, sheet, prefs, request, error)) << error;
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        ASSERT_NE(tif, nullptr);
        EXPECT_EQ(TIFFIsBigTIFF(tif) != 0, limit != cadsim::kClassicTiffLimit);
        ASSERT_EQ(size_t(TIFFScanlineSize(tif)), banded.stride);
        std::vector<uint8_t> line(banded.stride);
        for (int y = 0; y < page.height; ++y) {
            ASSERT_GE(TIFFReadScanline(tif, line.data(), y), 0);
            ASSERT_TRUE(std::equal(line.begin(), line.end(), banded.bits.begin() + y * banded.stride)) << y;
        }
        TIFFClose(tif);
        std::remove(path.c_str());
    }
}

}  // namespace
