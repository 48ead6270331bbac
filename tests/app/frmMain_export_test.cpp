// The main window's export button: the busy state around a run that fails; the
// settings it hands on are the end-to-end export's matter, what the run writes the
// export core's.
#include "app/frmMain.h"
#include "tests/app/export_window.h"
#include "tests/support/fake_cad.h"
#include "tests/support/message_recorder.h"
#include "tests/support/text_log.h"
#include "ui/qt_message_boxes.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The state of the window at the moment a box came up.
struct WhileShown {
    bool working;
    Qt::CursorShape cursor;
};

struct MainWindowExport : ::testing::Test {
    void SetUp() override
    {
        cad.install();
        fake::setDefaultPreferences(cad);
        cad.document = fake::Document{
            cad::kDocDrawing, "Welle", {fake::makeSheet("Blatt1", 7), fake::makeSheet("Blatt2", 9)}, 0};
        boxes.whileShown = [this] {
            whileShown.push_back(
                {form->control("lblWorking")->isVisibleTo(form.get()), form->cursor().shape()});
        };
    }
    void clickExport()
    {
        QTest::mouseClick(form->control<QPushButton>("cmdTS_SaveSheetAsTiff"), Qt::LeftButton);
    }
    std::string log() const { return form->ausgabe().text(); }

    fake::Cad cad;
    std::unique_ptr<frmMain> form = std::make_unique<frmMain>();
    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
    std::vector<WhileShown> whileShown;
};

TEST_F(MainWindowExport, AFaultEndsTheRunWithOneBoxAndLeavesAUsableWindow)
{
    // The CAD system's failure is told as such; a fault of the tool is not blamed on it.
    const struct {
        fake::FaultKind kind;
        std::string boxStart;
        bool logged;  // the run's own "*** " line
    } rows[] = {
        {fake::FaultKind::Throw, "Der Export wurde abgebrochen, Solidworks meldet einen Fehler:\r\n", true},
        {fake::FaultKind::Internal, "Interner Fehler: ", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.boxStart);
        boxes.messages.clear();
        cad.addFault({"GetProperties", row.kind, {}, 1});  // the first sheet's format
        clickExport();
        ASSERT_EQ(boxes.messages.size(), 1u);
        EXPECT_EQ(boxes.messages[0].title, "KUP-Tools - Fehlerinfo");
        EXPECT_EQ(boxes.messages[0].text.rfind(row.boxStart, 0), 0u) << boxes.messages[0].text;
        EXPECT_NE(boxes.messages[0].text.find("GetProperties: simulierter Fehler"), std::string::npos);
        EXPECT_EQ(log().find("*** ") != std::string::npos, row.logged) << log();
        // The run's own box comes up while it is busy; idle after it either way.
        ASSERT_EQ(whileShown.size(), 1u);
        if (row.logged) {
            EXPECT_TRUE(whileShown[0].working);
            EXPECT_EQ(whileShown[0].cursor, Qt::WaitCursor);
        }
        whileShown.clear();
        EXPECT_TRUE(idle(*form));

        cad.clearFaults();
        boxes.messages.clear();
        clickExport();
        EXPECT_TRUE(boxes.messages.empty());
        EXPECT_TRUE(log().ends_with(fake::kLogDone)) << log();
    }
}

}  // namespace
