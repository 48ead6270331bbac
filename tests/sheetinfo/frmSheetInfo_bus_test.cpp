// The sheet information window end to end: the tool's D-Bus backend against a
// cadsim on a private session bus, with a three-sheet drawing.
#include "cad/sheet_queries.h"
#include "tests/sheetinfo/sheet_info_window.h"
#include "tests/support/cadsim_fixture.h"
#include "tests/support/message_recorder.h"
#include "ui/qt_message_boxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace sheetinfotest;

namespace {

class SheetInfoOnTheBus : public bustest::CadsimTest {
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

    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
    std::unique_ptr<frmSheetInfo> form;
};

TEST_F(SheetInfoOnTheBus, LoadChooseAndReportAsANewUserWould)
{
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(listEntries(*form), (std::vector<std::string>{"Blatt1", "Blatt2", "Blatt3"}));
    EXPECT_EQ(form->control<QComboBox>("cmbDrawingNames")->currentIndex(), 1);
    EXPECT_EQ(fields(*form), (std::vector<std::string>{"A4 hoch", "keine Vorlage", "C:\\Vorlagen\\Blatt2.drt",
                                                       "1", "2", "dritter Winkel", "0,21", "0,297"}));
    EXPECT_EQ(activeSheet(), "Blatt2");

    choose(*form, 2);
    EXPECT_EQ(activeSheet(), "Blatt3");
    EXPECT_EQ(fields(*form),
              (std::vector<std::string>{"benutzerdefiniert", "benutzerdefiniert", "C:\\Vorlagen\\Blatt3.drt",
                                        "1", "2", "erster Winkel", "0,5", "0,25"}));
    choose(*form, 1);
    choose(*form, 0);
    EXPECT_EQ(activeSheet(), "Blatt1");

    click(*form, "cmdHoleKupInfos");
    const std::string report = reportText(*form);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1 + 11 * 3);
    EXPECT_EQ(report.rfind("Anzahl Blätter 3\r\n------------------------------\r\nSheet 0 Name :   Blatt1\r\n"
                           "Papiergröße  : 8  (A3)\r\nVorlagengröße: 8  (A3)\r\n",
                           0),
              0u)
        << report;
    EXPECT_NE(report.find("Sheet 2 Name :   Blatt3\r\nPapiergröße  : 12  (benutzerdefiniert)\r\n"),
              std::string::npos);
    EXPECT_NE(report.find("PTyp 1.Winkel: 0\r\nPapierbreite : 0,21\r\nPapierhöhe   : 0,297\r\n"),
              std::string::npos);
    const std::string ending = "Papierbreite : 0,5\r\nPapierhöhe   : 0,25\r\n";
    EXPECT_EQ(report.substr(report.size() - ending.size()), ending);
    EXPECT_EQ(activeSheet(), "Blatt3");
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(SheetInfoOnTheBus, ErrorRepliesAndRefusalsReachTheUserOnce)
{
    ASSERT_EQ(control("InjectFault", {QStringLiteral("GetProperties"), QString(), QStringLiteral("error")}),
              "");
    click(*form, "cmdGetActiveSheet");
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, "KUP-Tools - Fehlerinfo");
    EXPECT_NE(boxes.messages[0].text.find("GetProperties"), std::string::npos) << boxes.messages[0].text;
    EXPECT_EQ(listEntries(*form).size(), 3u);
    EXPECT_EQ(fields(*form), std::vector<std::string>(8));

    ASSERT_EQ(control("ClearFaults"), "");
    ASSERT_EQ(control("InjectFault",
                      {QStringLiteral("ActivateSheet"), QStringLiteral("Blatt3"), QStringLiteral("refuse")}),
              "");
    boxes.messages.clear();
    click(*form, "cmdHoleKupInfos");
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{
                                  {"Konnte Blatt mit Namen Blatt3nicht ansprechen. Verlasse Prozedur!",
                                   "KUP-Tools - Fehlerinfo"}}));
    const std::string report = reportText(*form);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1 + 11 * 2 + 2);
    EXPECT_EQ(activeSheet(), "Blatt2");

    ASSERT_EQ(control("CloseAllDocuments"), "");
    boxes.messages.clear();
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(boxes.messages,
              (std::vector<fake::Message>{{"Keine Dokument aktiv", "KUP-Tools - Fehlerinfo"}}));
    EXPECT_TRUE(listEntries(*form).empty());
}

}  // namespace
