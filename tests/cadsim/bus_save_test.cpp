// SaveAsSilent end to end: every way a name can land or be refused, and each
// TIFF read back with libtiff.
#include "tests/support/cadsim_fixture.h"
#include "tests/support/folder_names.h"
#include "tests/support/preferences.h"
#include "tests/support/tiff_readback.h"

#include <tiffio.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <thread>

namespace cadsimtest {
namespace {

namespace fs = std::filesystem;

using Prefs = kup::TiffOptionSet;

class Save : public CadsimTest {
protected:
    void SetUp() override
    {
        CadsimTest::SetUp();
        // An A4 portrait sheet with a frame along its border, and a sheet of its own size.
        drawing = writeFile("Zeichnung.json",
                            drawingJson("Flansch", {{"Blatt1", 7, 7, "", R"({"rect": [0, 0, 210, 297]})"},
                                                    {"Blatt2", 12, 12, R"("width": 0.1, "height": 0.05)"}}));
        start({drawing});
    }

    std::string drawing;
};

TEST_F(Save, ImageTypeCompressionResolutionPaperAndScaleFollowThePreferences)
{
    const uint16_t g4 = COMPRESSION_CCITTFAX4, packBits = COMPRESSION_PACKBITS, none = COMPRESSION_NONE;
    struct Case {
        std::optional<Prefs> prefs;  // none: cadsim's own defaults
        uint16_t compression;
        bool rgb;
        double widthMm, heightMm, dpi;
        std::array<int, 4> ink;  // first and last column and row with ink, if given
    };
    const Case cases[] = {
        // The A4 portrait frame fits the A3 landscape page by its height, centred.
        {{}, g4, false, 420, 297, 200, {(3307 - 1654) / 2, (3307 + 1654) / 2, 0, 2338}},
        {Prefs{1, 1, 1, 300, 7, 100, true, 0.42, 0.297}, packBits, true, 210, 297, 300},
        {Prefs{1, 1, 0, 100, 11, 100, true, 0.42, 0.297}, none, true, 1189, 841, 100},
        {Prefs{1, 0, 1, 150, 0, 100, true, 0.42, 0.297}, packBits, false, 279.4, 215.9, 150},
        {Prefs{1, 0, 0, 254, 12, 100, true, 0.1, 0.05}, none, false, 100, 50, 254},
        {Prefs{0, 0, 2, 600, 11, 100, true, 0.42, 0.297}, g4, false, 210, 297, 96},  // a screen capture
        // 254 dpi = 10 pixels per mm; at 50 % the frame covers 1050 x 1485 pixels from the top left.
        {Prefs{1, 0, 2, 254, 11, 50, false, 0.42, 0.297}, g4, false, 1189, 841, 254, {0, 1050, 0, 1485}},
    };
    for (const Case& c : cases) {
        if (c.prefs)
            fake::holdPreferences(*c.prefs);
        ASSERT_EQ(save("out.tif"), 0);  // no folder: the drawing's folder
        const TiffFacts f = readTiff(folder() + "/out.tif");
        SCOPED_TRACE(testing::Message() << c.dpi << " dpi, " << c.widthMm << " mm");
        EXPECT_TRUE(f.decoded);
        EXPECT_NEAR(f.width, c.widthMm / 25.4 * c.dpi, 1);
        EXPECT_NEAR(f.height, c.heightMm / 25.4 * c.dpi, 1);
        EXPECT_EQ(f.xResolution, c.dpi);
        EXPECT_EQ(f.yResolution, c.dpi);
        EXPECT_EQ(f.resolutionUnit, RESUNIT_INCH);
        EXPECT_EQ(f.compression, c.compression);
        EXPECT_EQ(f.samplesPerPixel * f.bitsPerSample, c.rgb ? 24 : 1);
        EXPECT_EQ(f.photometric, c.rgb ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISWHITE);
        EXPECT_GT(f.inkPixels, 0);
        const std::array ink{f.firstInkColumn, f.lastInkColumn, f.firstInkRow, f.lastInkRow};
        for (int i = 0; i < 4 && c.ink[1] > 0; ++i)
            EXPECT_NEAR(ink[i], c.ink[i], 3) << "ink bound " << i;
    }
}

TEST_F(Save, AWriteThatFailsLeavesNeitherAPartialFileNorADamagedOldOne)
{
    cadsim.reset();
    // 200 kB per file: a small Group 4 page fits, an uncompressed colour page does not.
    cadsim = std::make_unique<testbus::CadsimProcess>(preferences, std::vector<std::string>{drawing},
                                                      std::vector<std::string>{}, testbus::kCadsimStartWaitMs,
                                                      200 * 1024);
    ASSERT_EQ(save("Blatt1.tif"), 0);
    fake::holdPreferences(Prefs{1, 1, 0, 200, 8, 100, true, 0.42, 0.297});  // RGB, uncompressed: about 23 MB
    EXPECT_EQ(save("Blatt1.tif"), 7);
    const TiffFacts after = readTiff(folder() + "/Blatt1.tif");
    EXPECT_TRUE(after.decoded);
    EXPECT_EQ(after.compression, COMPRESSION_CCITTFAX4);  // still the old, complete file
    EXPECT_EQ(save("Neu.tif"), 7);
    // No temporary file left behind.
    EXPECT_EQ(fake::namesIn(folder()),
              (std::set<std::string>{"Zeichnung.json", "preferences.json", "Blatt1.tif"}));
}

// 10 x 10 m at 2400 dpi: over 100 GB as bits, 14 MB as Group 4, and about a
// second of work.
const Prefs kLargePage{1, 0, 2, 2400, 12, 100, true, 10.0, 10.0};

TEST_F(Save, ALargePageIsAwaitedBeyondTheTimeoutAndStaysClassicTiffWhenItFits)
{
    options.saveTimeoutMs = 100;
    cad::setBackend(cad::dbus::makeBackend(options));
    fake::holdPreferences(kLargePage);
    ASSERT_EQ(save("gross.tif"), 0);  // not a timeout, while the file appears
    std::string header(4, ' ');
    std::ifstream(folder() + "/gross.tif", std::ios::binary).read(header.data(), 4);
    EXPECT_EQ(header, std::string("II*\0", 4));  // 43 would be BigTIFF
}

TEST_F(Save, SigtermDuringASaveRemovesTheTemporaryFileAndEndsCleanly)
{
    fake::holdPreferences(kLargePage);
    std::thread terminator([this] {
        const auto temporary = [](const fs::directory_entry& e) {
            return e.path().filename().string()[0] == '.';
        };
        for (int ms = 0; ms < 20000 && std::ranges::none_of(fs::directory_iterator(folder()), temporary);
             ++ms)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ::kill(static_cast<pid_t>(cadsim->pid()), SIGTERM);
    });
    int32_t result = -1;
    EXPECT_NO_THROW(result = save("gross.tif"));
    terminator.join();
    EXPECT_EQ(result, 7);  // stopped, and answered before the end
    EXPECT_EQ(cadsim->waitForEnd(), 0);
    EXPECT_EQ(fake::namesIn(folder()), (std::set<std::string>{"Zeichnung.json", "preferences.json"}));
}

}  // namespace
}  // namespace cadsimtest
