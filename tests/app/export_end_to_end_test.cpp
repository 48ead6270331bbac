// The export through the whole stack: the main window, the platform's backend
// and cadsim as a process of its own, writing real TIFF files.
#include "app/frmMain.h"
#include "export/sheet_export.h"
#include "tests/support/cadsim_fixture.h"
#include "tests/support/message_recorder.h"
#include "tests/support/tiff_readback.h"
#include "tiffoptions/swx_sldtools.h"
#include "ui/qt_message_boxes.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

namespace {

using bustest::readTiff;
using Clock = std::chrono::steady_clock;

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

bool exists(const std::string& utf8Path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())),
                                   ec);
}

// The log of a run that saved every sheet, in order.
std::string logOf(const std::vector<std::string>& files)
{
    std::string log = "Speichere einzelne Blätter von als TIFF\r\n";
    for (size_t i = 0; i < files.size(); ++i)
        log += "gesichert Sheet " + std::to_string(i) + " unter : " + files[i] + "\r\n";
    return log + "--- Erfolgreich abgeschlossen ---";
}

class ExportEndToEnd : public bustest::CadsimTest {
protected:
    void SetUp() override
    {
        CadsimTest::SetUp();
        // A4 portrait, A3 landscape, a size of the user's own under a name with an umlaut.
        drawing = writeFile(
            "Flansch.json",
            bustest::drawingJson("Flansch", {{"Blatt1", 7, 7},
                                             {"Blatt2", 8, 8},
                                             {"Übersicht", 12, 13, "\"width\": 0.5, \"height\": 0.25"}}));
        start({drawing});
        form = std::make_unique<frmMain>();
    }
    void TearDown() override
    {
        form.reset();
        CadsimTest::TearDown();
    }
    void clickExport() { QTest::mouseClick(form->control("cmdTS_SaveSheetAsTiff"), Qt::LeftButton); }
    std::string log() const { return form->ausgabe().text(); }
    std::string inFolder(const std::string& name) const { return folder() + kup::kPathSeparator + name; }
    bool idle() const
    {
        return !form->control("lblWorking")->isVisibleTo(form.get()) &&
               form->control("cmdTS_SaveSheetAsTiff")->isEnabled();
    }
    void inject(const char* member, const std::string& argument, const char* kind)
    {
        ASSERT_EQ(control("InjectFault", {QString(member), QString::fromStdString(argument), QString(kind)}),
                  "");
    }

    std::string drawing;
    std::unique_ptr<frmMain> form;
    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
};

TEST_F(ExportEndToEnd, EverySheetInItsOwnFormatIntoTheDrawingsFolderThenIntoAChosenOne)
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
    expectPage(inFolder("Flansch - Übersicht.tif"), 500, 250, dpi);
    EXPECT_EQ(log(), logOf({"Flansch - Blatt1.tif", "Flansch - Blatt2.tif", "Flansch - Übersicht.tif"}));

    // Sheet names into a folder of the user's choice, all in the preference's paper size.
    options.TiffPrintPaperSize = 6;  // A4 landscape
    options.TiffPrintPaperWidth = 0.297;
    options.TiffPrintPaperHeight = 0.21;
    ASSERT_TRUE(kup::SetzeSwxTiffOptions(options, message)) << message;
    const std::string archive = inFolder("Archiv");
    std::filesystem::create_directory(std::filesystem::path(std::u8string(archive.begin(), archive.end())));
    QTest::mouseClick(form->control<QAbstractButton>("optTS_SaveAsTitleName(1)"), Qt::LeftButton);
    form->control<QCheckBox>("chkTS_SaveInDocFolder")->setChecked(false);
    form->control<QLineEdit>("txtTS_SaveDirectory")->setText(QString::fromStdString(archive));
    form->control<QCheckBox>("chkTS_DrwOwnFormat")->setChecked(false);
    clickExport();
    EXPECT_TRUE(boxes.messages.empty());
    std::vector<std::string> files;
    for (const char* sheet : {"Blatt1", "Blatt2", "Übersicht"})
        files.push_back(archive + kup::kPathSeparator + sheet + ".tif");
    for (const std::string& file : files)
        expectPage(file, 297, 210, dpi);
    EXPECT_EQ(log(), logOf(files));
}

TEST_F(ExportEndToEnd, AFaultEndsTheRunWithOneBoxAndTheNextRunWorks)
{
    using namespace std::chrono_literals;
    constexpr auto kBound = 2s;
    options.callTimeoutMs = options.saveTimeoutMs = int(std::chrono::milliseconds(kBound).count());
    installBackend();
    const struct Row {
        const char* kind;
        const char* member;  // "": every member
        std::string argument;
        bool busyOnly;                   // a COM server's answer
        std::vector<const char*> inBox;  // empty: the run gets through
        Clock::duration waited;          // at least, before the box
    } rows[] = {
        {"error", "SaveAsSilent", "", false, {"SaveAsSilent"}, {}},
        // Turned away a few times: the retries get the run through.
        {"busy", "", "3", true, {}, {}},
        // Busy for longer than the tool waits.
        {"busy", "", "1000000", true, {"Solidworks ist beschäftigt und nimmt keine Aufrufe an"}, 29s},
        // Taken and never answered, a save as any other call: given up after the bound.
        {"hang", "SaveAsSilent", "", false, {"SaveAsSilent", bustest::kNoAnswerText}, kBound},
        {"hang", "ActivateSheet", "Blatt2", false, {"ActivateSheet", bustest::kNoAnswerText}, kBound},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.kind) + " " + row.member + " " + row.argument);
        if (row.busyOnly && !bustest::kCadsimCanBeBusy)
            continue;
        boxes.messages.clear();
        inject(row.member, row.argument, row.kind);
        const auto started = Clock::now();
        // The run ends by itself. Should it wait on regardless, the fault goes after a while, so
        // that the case fails instead of hanging.
        std::atomic<bool> rescued = false;
        std::jthread rescue([&rescued](std::stop_token stop) {
            std::mutex mutex;
            std::unique_lock lock(mutex);
            std::condition_variable_any().wait_for(lock, stop, 2min, [] { return false; });
            if (stop.stop_requested())
                return;
            rescued = true;
            control("ClearFaults");
        });
        clickExport();
        rescue.request_stop();
        EXPECT_FALSE(rescued);
        ASSERT_EQ(boxes.messages.size(), row.inBox.empty() ? 0u : 1u)
            << (boxes.messages.empty() ? "" : boxes.messages[0].text);
        EXPECT_TRUE(idle());
        if (!row.inBox.empty()) {
            const std::string& text = boxes.messages[0].text;
            for (const char* part : row.inBox)
                EXPECT_NE(text.find(part), std::string::npos) << text;
            // The box's reason is the log's last line.
            EXPECT_TRUE(log().ends_with("*** " + text.substr(text.find('\n') + 1) + "\r\n")) << log();
        }
        // Coarse timers (Qt's D-Bus timeout among them) may fire up to 5 % early.
        EXPECT_GE(Clock::now() - started, row.waited * 9 / 10);

        ASSERT_EQ(control("ClearFaults"), "");
        boxes.messages.clear();
        clickExport();
        EXPECT_TRUE(boxes.messages.empty());
        EXPECT_TRUE(log().ends_with("--- Erfolgreich abgeschlossen ---")) << log();
    }
}

TEST_F(ExportEndToEnd, CadsimKilledInTheMiddleOfARunGivesOneBoxAndAnIdleWindow)
{
    // The second sheet's save never returns, so the kill meets the run in the middle.
    inject("SaveAsSilent", "Flansch - Blatt2.tif", "hang");
    const std::string first = inFolder("Flansch - Blatt1.tif");
    std::jthread killer = killCadsimOnce([first] { return exists(first); });
    clickExport();
    EXPECT_EQ(boxes.messages.size(), 1u);
    EXPECT_TRUE(idle());
    EXPECT_FALSE(exists(inFolder("Flansch - Blatt2.tif")));
}

}  // namespace
