// The sheet information window end to end: the platform's backend against a
// cadsim process of its own, with a three-sheet drawing.
#include "cad/sheet_queries.h"
#include "tests/sheetinfo/sheet_info_window.h"
#include "tests/support/cadsim_fixture.h"
#include "tests/support/message_recorder.h"
#include "tests/support/test_data.h"
#include "ui/qt_message_boxes.h"

#include <gtest/gtest.h>

#include <memory>

using namespace sheetinfotest;
using Texts = std::vector<std::string>;

namespace {

class SheetInfoOnCadsim : public cadsimtest::CadsimTest {
protected:
    void SetUp() override
    {
        CadsimTest::SetUp();
        useRegionalSettings(QLocale(QLocale::German, QLocale::Germany));
        start({writeFile(
            "Flansch.json",
            cadsimtest::drawingJson(
                "Flansch",
                {{"Blatt1", 8, 8}, {"Blatt2", 7, 13}, {"Blatt3", 12, 12, R"("width": 0.5, "height": 0.25)"}},
                "Blatt2"))});
        form = std::make_unique<frmSheetInfo>();
    }
    void TearDown() override
    {
        form.reset();
        useRegionalSettings(QLocale::c());
        CadsimTest::TearDown();
    }

    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
    std::unique_ptr<frmSheetInfo> form;
};

// What the fake-CAD window tests check of texts and boxes is not repeated here:
// only that the values come from cadsim and the choices and faults reach it.
TEST_F(SheetInfoOnCadsim, LoadChooseAndReportAsANewUserWould)
{
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(listEntries(*form), (Texts{"Blatt1", "Blatt2", "Blatt3"}));
    EXPECT_EQ(fields(*form), (Texts{"A4 hoch", "keine Vorlage", "C:\\Vorlagen\\Blatt2.drt", "1", "2",
                                    "dritter Winkel", "0,21", "0,297"}));
    choose(*form, 2);
    EXPECT_EQ(cad::currentSheetOf(*activeDoc())->GetName(), "Blatt3");
    EXPECT_EQ(fields(*form)[6], "0,5");

    click(*form, "cmdHoleKupInfos");
    // Byte for byte, whichever platform's backend carried the values.
    EXPECT_EQ(reportText(*form), fake::dataText("sheet_report_flansch.txt", "\r\n"));
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(SheetInfoOnCadsim, ErrorRepliesAndRefusalsReachTheUserOnce)
{
    ASSERT_EQ(inject("GetProperties", "", "error"), "");
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(boxes.messages,
              (std::vector<fake::Message>{
                  {"Die Blattinformationen konnten nicht gelesen werden, Solidworks meldet einen "
                   "Fehler:\r\n" +
                       cadsimtest::injectedError("GetProperties"),
                   "KUP-Tools - Fehlerinfo"}}));

    ASSERT_EQ(control("ClearFaults"), "");
    ASSERT_EQ(inject("ActivateSheet", "Blatt3", "refuse"), "");
    boxes.messages.clear();
    click(*form, "cmdHoleKupInfos");
    EXPECT_EQ(boxes.messages.size(), 1u);
    // The third sheet with its separator and name line only.
    const std::vector<std::string> lines = fake::dataLines("sheet_report_flansch.txt");
    std::string firstTwo;
    for (std::size_t i = 0; i < 1 + 11 * 2 + 2; ++i)
        firstTwo += lines.at(i) + "\r\n";
    EXPECT_EQ(reportText(*form), firstTwo);
}

}  // namespace
