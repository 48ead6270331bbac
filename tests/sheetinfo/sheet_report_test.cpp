#include "cad/number_text.h"
#include "sheetinfo/sheet_report.h"
#include "tests/sheetinfo/worked_example.h"
#include "tests/support/fake_cad.h"
#include "tests/support/message_recorder.h"

#include <gtest/gtest.h>

using namespace kup;

namespace {

int lineCount(const std::string& text)
{
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

class SheetReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        cad::setDecimalSeparator(",");
        cad.install();
        cad.document = sheetinfotest::workedExampleDrawing();
    }
    void TearDown() override { cad::setDecimalSeparator("."); }
    fake::Cad cad;
    fake::MessageRecorder boxes;
};

TEST_F(SheetReport, WorkedExampleByteForByte)
{
    sheetinfotest::refuseSecondSheet(cad);
    const std::string report = buildSheetReport(boxes);
    EXPECT_EQ(report, sheetinfotest::kWorkedExampleReport);
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0],
              (fake::Message{"Konnte Blatt mit Namen Blatt2nicht ansprechen. Verlasse Prozedur!",
                             "KUP-Tools - Fehlerinfo"}));

    cad::setDecimalSeparator(".");
    cad.clearFaults();
    const std::string english = buildSheetReport(boxes);
    EXPECT_NE(english.find("Papierbreite : 0.297\r\nPapierhöhe   : 0.21\r\n"), std::string::npos);
    EXPECT_NE(english.find("PTyp 1.Winkel: 0\r\n"), std::string::npos);  // third angle
}

TEST_F(SheetReport, LineCountsActiveSheetAndWhatAFailureLeaves)
{
    cad.document->sheets.push_back(fake::makeSheet("  Blatt 3 ", 12));
    std::string report = buildSheetReport(boxes);
    EXPECT_EQ(lineCount(report), 1 + 11 * 3);
    EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
    EXPECT_NE(report.find("Sheet 2 Name :     Blatt 3 \r\n"), std::string::npos);
    EXPECT_EQ(cad.document->active, 2);
    EXPECT_TRUE(boxes.messages.empty());

    cad.addFault({"ActivateSheet", fake::FaultKind::Refuse});
    report = buildSheetReport(boxes);
    EXPECT_EQ(lineCount(report), 1 + 2 * 3);
    EXPECT_EQ(boxes.messages.size(), 3u);

    // An automation error keeps the report so far.
    cad.clearFaults();
    cad.addFault({"GetProperties", fake::FaultKind::Throw, {}, 2});
    boxes.messages.clear();
    report = buildSheetReport(boxes);
    EXPECT_EQ(lineCount(report), 1 + 11 + 2 + 1);
    EXPECT_NE(report.find("Sheet 1 Name :   Blatt2\r\n*** GetProperties: simulierter Fehler\r\n"),
              std::string::npos);
    const std::vector<fake::Message> noDrawing{{"Keine Zeichnung aktiv", "KUP-Tools - Fehlerinfo"}};
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, noDrawing[0].title);

    // No drawing: one box and no report.
    cad.document->type = cad::kDocAssembly;
    boxes.messages.clear();
    EXPECT_EQ(buildSheetReport(boxes), "");
    EXPECT_EQ(boxes.messages, noDrawing);
    cad.document.reset();
    boxes.messages.clear();
    EXPECT_EQ(buildSheetReport(boxes), "");
    EXPECT_EQ(boxes.messages.size(), 1u);
}

}  // namespace
