// The sheet information window end to end: the platform's backend against a
// cadsim process of its own, with a three-sheet drawing.
#include "cad/sheet_queries.h"
#include "tests/sheetinfo/sheet_info_window.h"
#include "tests/support/cadsim_fixture.h"
#include "tests/support/message_recorder.h"
#include "ui/qt_message_boxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace sheetinfotest;
using Texts = std::vector<std::string>;

namespace {

// The report over the three sheets, as the tool writes it.
const std::string kReport = "Anzahl Blätter 3\r\n"
                            "------------------------------\r\n"
                            "Sheet 0 Name :   Blatt1\r\n"
                            "Papiergröße  : 8  (A3)\r\n"
                            "Vorlagengröße: 8  (A3)\r\n"
                            "Vorlage in   : C:\\Vorlagen\\Blatt1.drt\r\n"
                            "Maßstab      : 1:2\r\n"
                            "   -zähler   : 1\r\n"
                            "   -nenner   : 2\r\n"
                            "PTyp 1.Winkel: -1\r\n"
                            "Papierbreite : 0,42\r\n"
                            "Papierhöhe   : 0,297\r\n"
                            "------------------------------\r\n"
                            "Sheet 1 Name :   Blatt2\r\n"
                            "Papiergröße  : 7  (A4 hoch)\r\n"
                            "Vorlagengröße: 13  (keine Vorlage)\r\n"
                            "Vorlage in   : C:\\Vorlagen\\Blatt2.drt\r\n"
                            "Maßstab      : 1:2\r\n"
                            "   -zähler   : 1\r\n"
                            "   -nenner   : 2\r\n"
                            "PTyp 1.Winkel: 0\r\n"
                            "Papierbreite : 0,21\r\n"
                            "Papierhöhe   : 0,297\r\n"
                            "------------------------------\r\n"
                            "Sheet 2 Name :   Blatt3\r\n"
                            "Papiergröße  : 12  (benutzerdefiniert)\r\n"
                            "Vorlagengröße: 12  (benutzerdefiniert)\r\n"
                            "Vorlage in   : C:\\Vorlagen\\Blatt3.drt\r\n"
                            "Maßstab      : 1:2\r\n"
                            "   -zähler   : 1\r\n"
                            "   -nenner   : 2\r\n"
                            "PTyp 1.Winkel: -1\r\n"
                            "Papierbreite : 0,5\r\n"
                            "Papierhöhe   : 0,25\r\n";

class SheetInfoOnCadsim : public bustest::CadsimTest {
protected:
    void SetUp() override
    {
        CadsimTest::SetUp();
        useRegionalSettings(QLocale(QLocale::German, QLocale::Germany));
        start({writeFile(
            "Flansch.json",
            bustest::drawingJson(
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
    std::string activeSheet()
    {
        auto doc = activeDoc();
        return doc ? cad::currentSheetOf(*doc)->GetName() : std::string();
    }
    int reportLines() const
    {
        const std::string report = reportText(*form);
        return int(std::count(report.begin(), report.end(), '\n'));
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
    EXPECT_EQ(activeSheet(), "Blatt3");
    EXPECT_EQ(fields(*form)[6], "0,5");

    click(*form, "cmdHoleKupInfos");
    // Byte for byte, whichever platform's backend carried the values.
    EXPECT_EQ(reportText(*form), kReport);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(SheetInfoOnCadsim, ErrorRepliesAndRefusalsReachTheUserOnce)
{
    ASSERT_EQ(control("InjectFault", {QString("GetProperties"), QString(), QString("error")}), "");
    click(*form, "cmdGetActiveSheet");
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_NE(boxes.messages[0].text.find("GetProperties"), std::string::npos) << boxes.messages[0].text;

    ASSERT_EQ(control("ClearFaults"), "");
    ASSERT_EQ(control("InjectFault", {QString("ActivateSheet"), QString("Blatt3"), QString("refuse")}), "");
    boxes.messages.clear();
    click(*form, "cmdHoleKupInfos");
    EXPECT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(reportLines(), 1 + 11 * 2 + 2);
}

}  // namespace
