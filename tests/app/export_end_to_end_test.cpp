// The export through the whole stack: the main window, the platform's backend
// and cadsim as a process of its own, writing real TIFF files.
#include "app/frmMain.h"
#include "tests/app/export_window.h"
#include "tests/support/cadsim_fixture.h"
#include "tests/support/folder_names.h"
#include "tests/support/message_recorder.h"
#include "tests/support/preferences.h"
#include "tests/support/text_log.h"
#include "tests/support/tiff_readback.h"
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

using fake::kLogHeading;
using fake::logOf;

const std::string kAborted = "Der Export wurde abgebrochen, Solidworks meldet einen Fehler:\r\n";

// A page of this size read back, its pixels as a renderer rounds them.
void expectPage(const std::string& file, double widthMm, double heightMm, int dpi)
{
    SCOPED_TRACE(file);
    const cadsimtest::TiffFacts facts = cadsimtest::readTiff(file);
    ASSERT_TRUE(facts.readable);
    EXPECT_TRUE(facts.decoded);
    EXPECT_NEAR(facts.width, std::lround(widthMm / 25.4 * dpi), 1);
    EXPECT_NEAR(facts.height, std::lround(heightMm / 25.4 * dpi), 1);
    EXPECT_FLOAT_EQ(facts.xResolution, dpi);
}

class ExportEndToEnd : public cadsimtest::CadsimTest {
protected:
    void SetUp() override
    {
        CadsimTest::SetUp();
        // A4 portrait, A3 landscape, a size of the user's own under a name with an umlaut.
        drawing = writeFile(
            "Flansch.json",
            cadsimtest::drawingJson("Flansch", {{"Blatt1", 7, 7},
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
    std::string inFolder(const std::string& name) const { return folder() + fake::kSeparator + name; }
    // A run that saves every sheet into the drawing's folder, without a box.
    void expectARunThatSavesEverySheet()
    {
        boxes.messages.clear();
        clickExport();
        EXPECT_TRUE(boxes.messages.empty());
        EXPECT_EQ(log(), logOf({"Flansch - Blatt1.tif", "Flansch - Blatt2.tif", "Flansch - Übersicht.tif"}));
    }
    std::string drawing;
    std::unique_ptr<frmMain> form;
    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
};

TEST_F(ExportEndToEnd, EverySheetInItsOwnFormatIntoTheDrawingsFolderThenIntoAChosenOne)
{
    kup::TiffOptionSet options = fake::heldPreferences();
    const int dpi = options.TiffPrintDPI;

    expectARunThatSavesEverySheet();
    expectPage(inFolder("Flansch - Blatt1.tif"), 210, 297, dpi);
    expectPage(inFolder("Flansch - Blatt2.tif"), 420, 297, dpi);
    expectPage(inFolder("Flansch - Übersicht.tif"), 500, 250, dpi);

    // Sheet names into a folder of the user's choice, all in the preference's paper size.
    options.TiffPrintPaperSize = 6;  // A4 landscape
    options.TiffPrintPaperWidth = 0.297;
    options.TiffPrintPaperHeight = 0.21;
    fake::holdPreferences(options);
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
        files.push_back(archive + fake::kSeparator + sheet + ".tif");
    for (const std::string& file : files)
        expectPage(file, 297, 210, dpi);
    EXPECT_EQ(log(), logOf(files));
}

TEST_F(ExportEndToEnd, AnErrorOrACallNeverAnsweredEndsTheRunWithItsLineAndOneBoxAndTheNextRunWorks)
{
    using namespace std::chrono_literals;
    constexpr auto kBound = 2s;
    options.callTimeoutMs = options.saveTimeoutMs = int(std::chrono::milliseconds(kBound).count());
    installBackend();
    const struct Row {
        const char* kind;
        const char* member;
        const char* argument;
        std::string error;        // the whole text for an error, how it begins for a hang
        std::string savedBefore;  // the log's lines before the error's
    } rows[] = {
        {"error", "SaveAsSilent", "", cadsimtest::injectedError("SaveAsSilent"), ""},
        // Taken and never answered, a save as any other call, the first sheet's or one in the
        // middle of the run: given up after the bound.
        {"hang", "SaveAsSilent", "", cadsimtest::unansweredCall("SaveAsSilent"), ""},
        {"hang", "ActivateSheet", "Blatt2", cadsimtest::unansweredCall("ActivateSheet"),
         fake::savedLine(0, "Flansch - Blatt1.tif")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.kind) + " " + row.member);
        boxes.messages.clear();
        ASSERT_EQ(inject(row.member, row.argument, row.kind), "");
        const auto started = std::chrono::steady_clock::now();
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
        ASSERT_EQ(boxes.messages.size(), 1u);
        const std::string& text = boxes.messages[0].text;
        if (std::string(row.kind) == "error")
            EXPECT_EQ(boxes.messages[0], (fake::Message{kAborted + row.error, "KUP-Tools - Fehlerinfo"}));
        else  // coarse timers (Qt's D-Bus timeout among them) may fire up to 5 % early
            EXPECT_GE(std::chrono::steady_clock::now() - started, kBound * 9 / 10);
        EXPECT_EQ(text.rfind(kAborted + row.error, 0), 0u) << text;
        EXPECT_EQ(log(), kLogHeading + row.savedBefore + "*** " + text.substr(kAborted.size()) + "\r\n");
        EXPECT_TRUE(idle(*form));
        ASSERT_EQ(control("ClearFaults"), "");
        expectARunThatSavesEverySheet();
    }
}

TEST_F(ExportEndToEnd, ABusyCadIsAskedAgainUntilItsBoundAndThenNamedInOneBox)
{
    if (!cadsimtest::kCadsimCanBeBusy)
        GTEST_SKIP() << "a D-Bus service has no answer for \"busy, ask again\"";
    // Turned away a few times: the retries get the run through.
    ASSERT_EQ(inject("", "3", "busy"), "");
    expectARunThatSavesEverySheet();

    // Busy for longer than the tool waits: it waits its whole bound, then gives up.
    ASSERT_EQ(control("ClearFaults"), "");
    ASSERT_EQ(inject("", "1000000", "busy"), "");
    const auto started = std::chrono::steady_clock::now();
    clickExport();
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::seconds(29));
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_NE(boxes.messages[0].text.find("Solidworks ist beschäftigt und nimmt keine Aufrufe an"),
              std::string::npos)
        << boxes.messages[0].text;
    EXPECT_TRUE(idle(*form));
    ASSERT_EQ(control("ClearFaults"), "");
    expectARunThatSavesEverySheet();
}

TEST_F(ExportEndToEnd, CadsimKilledWhileItSavesASheetGivesOneBoxNamingTheSaveAndAnIdleWindow)
{
    // The second sheet 10 x 10 m at 2400 dpi: cadsim works on it for a while, its temporary file
    // in the folder the whole time, and is killed then, in the middle of the save.
    cadsim.reset();
    start({writeFile("Gross.json",
                     cadsimtest::drawingJson(
                         "Gross", {{"Blatt1", 7, 7}, {"Blatt2", 12, 12, R"("width": 10, "height": 10)"}}))});
    kup::TiffOptionSet options = fake::kStandardPreferences;
    options.TiffPrintDPI = 2400;
    fake::holdPreferences(options);
    std::jthread killer = killCadsimOnce([dir = folder()] {
        const std::set<std::string> names = fake::namesIn(dir);
        return names.count("Gross - Blatt1.tif") && std::ranges::any_of(names, [](const std::string& name) {
                   return name.starts_with(".cadsim-");
               });
    });
    clickExport();
    EXPECT_TRUE(log().starts_with(kLogHeading + fake::savedLine(0, "Gross - Blatt1.tif") + "*** " +
                                  cadsimtest::lostDuringCall("SaveAsSilent")))
        << log();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text.rfind(kAborted + cadsimtest::lostDuringCall("SaveAsSilent"), 0), 0u)
        << boxes.messages[0].text;
    EXPECT_TRUE(idle(*form));
    EXPECT_EQ(fake::namesIn(folder()).count("Gross - Blatt2.tif"), 0u);
}

}  // namespace
