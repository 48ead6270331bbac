#include "app/frmMain.h"
#include "tests/support/fake_cad.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Records each box with the state of the window at the moment it came up.
struct Boxes : kup::MessageBoxes {
    frmMain* form = nullptr;
    struct Shown {
        std::string text, title;
        bool working;
        Qt::CursorShape cursor;
    };
    std::vector<Shown> shown;
    void show(const std::string& text, const std::string& title, kup::Icon) override
    {
        shown.push_back(
            {text, title, form->control("lblWorking")->isVisibleTo(form), form->cursor().shape()});
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
    void clickExport()
    {
        QTest::mouseClick(form->control<QPushButton>("cmdTS_SaveSheetAsTiff"), Qt::LeftButton);
    }
    std::string log() const { return form->ausgabe().text(); }
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
    EXPECT_EQ(log(), "Speichere einzelne Blätter von als TIFF\r\n"
                     "gesichert Sheet 0 unter : Welle - Blatt1.tif\r\n"
                     "gesichert Sheet 1 unter : Welle - Blatt2.tif\r\n"
                     "--- Erfolgreich abgeschlossen ---");
    EXPECT_EQ(cad.journalOf("GetProperties").size(), 2u);
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

TEST_F(MainWindowExport, BusyWhileRunningAndIdleAfterAFailure)
{
    cad.addFault({"ActivateSheet", fake::FaultKind::Refuse, "Blatt2"});
    clickExport();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "info");
    EXPECT_TRUE(boxes.shown[0].working);
    EXPECT_EQ(boxes.shown[0].cursor, Qt::WaitCursor);
    EXPECT_TRUE(idle());
}

TEST_F(MainWindowExport, AutomationErrorLeavesAUsableWindow)
{
    cad.throwAtCall(20);  // inside the first sheet's preference read
    clickExport();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "KUP-Tools - Fehlerinfo");
    EXPECT_NE(log().find("*** "), std::string::npos);
    EXPECT_TRUE(idle());
    EXPECT_TRUE(form->control("cmdTS_SaveSheetAsTiff")->isEnabled());

    cad.clearFaults();
    boxes.shown.clear();
    clickExport();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(log().substr(log().size() - 33), "--- Erfolgreich abgeschlossen ---");
}

}  // namespace
