#include "cad/number_text.h"
#include "sheetinfo/sheet_report.h"
#include "tests/support/fake_cad.h"
#include "tests/support/message_recorder.h"
#include "tests/support/test_data.h"

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
        // Two sheets, the second one in third angle.
        fake::Sheet first = fake::makeSheet("Blatt1", 6, 6, 1, 2, true);
        first.templatePath = "C:\\Vorlagen\\a4-quer.drt";
        cad.document = fake::Document{
            cad::kDocDrawing, "Flansch", {first, fake::makeSheet("Blatt2", 8, -1, 1, 1, false)}, 0};
    }
    void TearDown() override { cad::setDecimalSeparator("."); }
    fake::Cad cad;
    fake::MessageRecorder boxes;
};

TEST_F(SheetReport, WorkedExampleByteForByte)
{
    // The second sheet cannot be activated, under German regional settings.
    cad.addFault({"ActivateSheet", fake::FaultKind::Refuse, "Blatt2"});
    EXPECT_EQ(buildSheetReport(boxes), fake::dataText("sheet_report_example.txt", "\r\n"));
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
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{
                                  {"Der Bericht wurde abgebrochen, Solidworks meldet einen Fehler:\r\n"
                                   "GetProperties: simulierter Fehler",
                                   "KUP-Tools - Fehlerinfo"}}));

    // No drawing: one box and no report.
    cad.document->type = cad::kDocAssembly;
    boxes.messages.clear();
    EXPECT_EQ(buildSheetReport(boxes), "");
    EXPECT_EQ(boxes.messages,
              (std::vector<fake::Message>{{"Keine Zeichnung aktiv", "KUP-Tools - Fehlerinfo"}}));
    cad.document.reset();
    boxes.messages.clear();
    EXPECT_EQ(buildSheetReport(boxes), "");
    EXPECT_EQ(boxes.messages.size(), 1u);
}

}  // namespace
