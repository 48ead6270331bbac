// The main window's export button: the settings it hands on and the busy state
// around the run; what the run itself writes is the export core's matter.
#include "app/frmMain.h"
#include "tests/support/fake_cad.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Records each box with the state of the window at the moment it came up.
struct Boxes : kup::MessageBoxes {
    frmMain* form = nullptr;
    std::vector<std::string> shown;  // "title|working|cursor"
    void show(const std::string&, const std::string& title, kup::Icon) override
    {
        shown.push_back(title + (form->control("lblWorking")->isVisibleTo(form) ? "|working|" : "|idle|") +
                        std::to_string(form->cursor().shape()));
    }
};

struct MainWindowExport : ::testing::Test {
    void SetUp() override
    {
        cad.install();
        fake::setDefaultPreferences(cad);
        cad.document = fake::Document{
            cad::kDocDrawing, "Welle", {fake::makeSheet("Blatt1", 7), fake::makeSheet("Blatt2", 9)}, 0};
        boxes.form = form.get();
        form->setMessageBoxes(boxes);
    }
    void clickExport() { QTest::mouseClick(form->control("cmdTS_SaveSheetAsTiff"), Qt::LeftButton); }
    bool idle() const
    {
        return !form->control("lblWorking")->isVisibleTo(form.get()) &&
               form->cursor().shape() == Qt::ArrowCursor;
    }

    fake::Cad cad;
    std::unique_ptr<frmMain> form = std::make_unique<frmMain>();
    Boxes boxes;
};

TEST_F(MainWindowExport, ExportButtonRunsWithTheWindowsSettings)
{
    clickExport();
    EXPECT_EQ(cad.savedFiles, (std::vector<std::string>{"Welle - Blatt1.tif", "Welle - Blatt2.tif"}));
    EXPECT_EQ(cad.journalOf("GetProperties").size(), 2u);  // each sheet in its own format
    EXPECT_TRUE(form->ausgabe().text().ends_with("--- Erfolgreich abgeschlossen ---"));
    EXPECT_TRUE(idle());

    // Sheet names, a chosen directory, no own format.
    QTest::mouseClick(form->control<QAbstractButton>("optTS_SaveAsTitleName(1)"), Qt::LeftButton);
    form->control<QCheckBox>("chkTS_SaveInDocFolder")->setChecked(false);
    form->control<QLineEdit>("txtTS_SaveDirectory")->setText("/archiv/tiff");
    form->control<QCheckBox>("chkTS_DrwOwnFormat")->setChecked(false);
    cad.savedFiles.clear();
    cad.clearJournal();
    clickExport();
    EXPECT_EQ(cad.savedFiles,
              (std::vector<std::string>{"/archiv/tiff/Blatt1.tif", "/archiv/tiff/Blatt2.tif"}));
    EXPECT_TRUE(cad.journalOf("GetProperties").empty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainWindowExport, BusyWhileRunningAndIdleAndUsableAfterAFailure)
{
    cad.addFault({"ActivateSheet", fake::FaultKind::Refuse, "Blatt2"});
    clickExport();
    EXPECT_EQ(boxes.shown, std::vector<std::string>{"info|working|" + std::to_string(Qt::WaitCursor)});
    EXPECT_TRUE(idle());

    cad.clearFaults();
    cad.clearJournal();
    cad.throwAtCall(20);  // inside the first sheet's preference read
    boxes.shown.clear();
    clickExport();
    EXPECT_EQ(boxes.shown,
              std::vector<std::string>{"KUP-Tools - Fehlerinfo|working|" + std::to_string(Qt::WaitCursor)});
    EXPECT_TRUE(idle());
    cad.clearFaults();
    boxes.shown.clear();
    clickExport();
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
