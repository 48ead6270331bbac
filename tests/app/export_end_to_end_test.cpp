// The export through the whole stack: the main window, the D-Bus backend and
// cadsim on a private bus, writing real TIFF files.
#include "app/frmMain.h"
#include "tests/support/cadsim_fixture.h"
#include "tests/support/message_recorder.h"
#include "tests/support/tiff_readback.h"
#include "tiffoptions/swx_sldtools.h"
#include "ui/qt_message_boxes.h"

#include <QCheckBox>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

using bustest::readTiff;

// Pixels of a page side at a resolution, as a renderer rounds them.
uint32_t pixels(double millimetres, int dpi)
{
    return static_cast<uint32_t>(std::lround(millimetres / 25.4 * dpi));
}

void expectPage(const std::string& file, double widthMm, double heightMm, int dpi)
{
    SCOPED_TRACE(file);
    const bustest::TiffFacts facts = readTiff(file);
    ASSERT_TRUE(facts.readable);
    EXPECT_TRUE(facts.decoded);
    EXPECT_NEAR(facts.width, pixels(widthMm, dpi), 1);
    EXPECT_NEAR(facts.height, pixels(heightMm, dpi), 1);
    EXPECT_FLOAT_EQ(facts.xResolution, dpi);
}

class ExportEndToEnd : public bustest::CadsimTest {
protected:
    void SetUp() override
    {
        CadsimTest::SetUp();
        drawing = writeFile(
            "Flansch.json",
            bustest::drawingJson("Flansch", {{"Blatt1", 7, 7},
                                             {"Blatt2", 8, 8},
                                             {"Blatt3", 12, 13, "\"width\": 0.5, \"height\": 0.25"}}));
        start({drawing});
        form = std::make_unique<frmMain>();
    }
    void TearDown() override
    {
        form.reset();
        CadsimTest::TearDown();
    }
    void clickExport() { QTest::mouseClick(form->control("cmdTS_SaveSheetAsTiff"), Qt::LeftButton); }
    std::string inFolder(const std::string& name) const { return folder() + "/" + name; }

    std::string drawing;
    std::unique_ptr<frmMain> form;
    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
};

TEST_F(ExportEndToEnd, EverySheetInItsOwnFormatThenThePreferenceFormat)
{
    kup::TiffOptionSet options;
    std::string message;
    ASSERT_TRUE(kup::HoleSwxTiffOptions(options, message)) << message;
    const int dpi = options.TiffPrintDPI;

    // The other settings of the window are the window tests' matter.
    clickExport();
    EXPECT_TRUE(boxes.messages.empty());
    expectPage(inFolder("Flansch - Blatt1.tif"), 210, 297, dpi);
    expectPage(inFolder("Flansch - Blatt2.tif"), 420, 297, dpi);
    expectPage(inFolder("Flansch - Blatt3.tif"), 500, 250, dpi);

    // Without the own format every file has the preference's paper size.
    options.TiffPrintPaperSize = 6;  // A4 landscape
    options.TiffPrintPaperWidth = 0.297;
    options.TiffPrintPaperHeight = 0.21;
    ASSERT_TRUE(kup::SetzeSwxTiffOptions(options, message)) << message;
    form->control<QCheckBox>("chkTS_DrwOwnFormat")->setChecked(false);
    clickExport();
    EXPECT_TRUE(boxes.messages.empty());
    for (const char* sheet : {"Blatt1", "Blatt2", "Blatt3"})
        expectPage(inFolder("Flansch - " + std::string(sheet) + ".tif"), 297, 210, dpi);
}

TEST_F(ExportEndToEnd, AnErrorReplyOrAKilledCadsimGiveAMessageAndAUsableWindow)
{
    ASSERT_TRUE(control("InjectFault", {QString("SaveAsSilent"), QString(), QString("error")}).empty());
    clickExport();
    EXPECT_EQ(boxes.messages.size(), 1u);

    cadsim->kill();
    boxes.messages.clear();
    clickExport();
    EXPECT_EQ(boxes.messages.size(), 1u);
    EXPECT_TRUE(form->control("cmdTS_SaveSheetAsTiff")->isEnabled());
}

}  // namespace
