#include "cad/sheet_queries.h"
#include "export/sheet_export.h"
#include "tests/support/fake_cad.h"
#include "tests/support/text_log.h"

#include <gtest/gtest.h>

using namespace kup;
using Journal = std::vector<std::string>;

namespace {

const std::string sep(1, kPathSeparator);
const std::string kHeading = "Speichere einzelne Blätter von als TIFF\r\n";
const std::string kDone = "--- Erfolgreich abgeschlossen ---";

// Records boxes together with what the log showed when each box came up.
struct Boxes : kup::MessageBoxes {
    explicit Boxes(const fake::TextLog& log) : log(log) {}
    void show(const std::string& text, const std::string& title, kup::Icon) override
    {
        shown.push_back({text, title, log.text});
    }
    struct Shown {
        std::string text, title, logAtShow;
    };
    const fake::TextLog& log;
    std::vector<Shown> shown;
};

class SheetExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        cad.install();
        fake::setDefaultPreferences(cad);
        cad.document = fake::Document{
            cad::kDocDrawing,
            "Flansch",
            {fake::makeSheet("Blatt1", 8), fake::makeSheet("Blatt2", 7), fake::makeSheet("Blatt3", 12)},
            1};
        cad.document->sheets[2].properties[5] = 0.5;  // user-defined 0.5 x 0.25 m
        cad.document->sheets[2].properties[6] = 0.25;
    }
    ExportOutcome run()
    {
        log.refreshed.clear();
        boxes.shown.clear();
        return KupTools_SaveSheetsAsTIFF(settings, log, boxes);
    }
    static std::string line(int i, const std::string& file)
    {
        return "gesichert Sheet " + std::to_string(i) + " unter : " + file + "\r\n";
    }

    fake::Cad cad;
    ExportSettings settings;
    fake::TextLog log;
    Boxes boxes{log};
};

const Journal kNamesJournal{"attach",          "Visible(b:true)", "ActiveDoc()",       "GetType()",
                            "GetSheetCount()", "GetSheetNames()", "GetCurrentSheet()", "GetName()"};

Journal ownFormatSheetJournal(const std::string& sheet, const std::string& file, int16_t paper,
                              const std::string& width, const std::string& height)
{
    Journal j{"GetType()",
              "ActivateSheet(&s:" + sheet + ")",
              "GetTitle()",
              "attach",
              "Visible(b:true)",
              "GetUserPreferenceIntegerValue(i4:6)",
              "GetUserPreferenceIntegerValue(i4:7)",
              "GetUserPreferenceIntegerValue(i4:8)",
              "GetUserPreferenceIntegerValue(i4:9)",
              "GetUserPreferenceIntegerValue(i4:10)",
              "GetUserPreferenceIntegerValue(i4:11)",
              "GetUserPreferenceToggle(i4:28)",
              "GetUserPreferenceDoubleValue(i4:8)",
              "GetUserPreferenceDoubleValue(i4:9)",
              "GetCurrentSheet()",
              "GetProperties()",
              "attach",
              "Visible(b:true)",
              "SetUserPreferenceIntegerValue(i4:6, i2:1)",
              "SetUserPreferenceIntegerValue(i4:10, i4:12)",
              "SetUserPreferenceToggle(i4:28, i2:1)",
              "SetUserPreferenceIntegerValue(i4:8, i2:0)",
              "SetUserPreferenceIntegerValue(i4:11, i2:100)",
              "SetUserPreferenceToggle(i4:28, b:true)",
              "SetUserPreferenceDoubleValue(i4:8, &r8:" + width + ")",
              "SetUserPreferenceDoubleValue(i4:9, &r8:" + height + ")",
              "SetUserPreferenceIntegerValue(i4:10, i2:" + std::to_string(paper) + ")",
              "SetUserPreferenceIntegerValue(i4:9, i2:200)",
              "SetUserPreferenceIntegerValue(i4:6, i2:1)",
              "SetUserPreferenceIntegerValue(i4:7, i2:0)",
              "SetUserPreferenceIntegerValue(i4:8, i2:2)",
              "SaveAsSilent(&s:" + file + ", &b:true)"};
    return j;
}

TEST_F(SheetExport, OwnFormatRunCallsEverySheetInOrder)
{
    const ExportOutcome outcome = run();
    Journal expected = kNamesJournal;
    for (const auto& part : {Journal{"attach", "Visible(b:true)", "ActiveDoc()"},
                             ownFormatSheetJournal("Blatt1", "Flansch - Blatt1.tif", 8, "0.42", "0.297"),
                             ownFormatSheetJournal("Blatt2", "Flansch - Blatt2.tif", 7, "0.21", "0.297"),
                             ownFormatSheetJournal("Blatt3", "Flansch - Blatt3.tif", 12, "0.5", "0.25")})
        expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(cad.journal(), expected);
    EXPECT_EQ(log.text, kHeading + line(0, "Flansch - Blatt1.tif") + line(1, "Flansch - Blatt2.tif") +
                            line(2, "Flansch - Blatt3.tif") + kDone);
    EXPECT_EQ(log.refreshed.size(), 5u);  // heading, three sheets, closing line
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(outcome.saved, 3);
    EXPECT_TRUE(outcome.ranThrough);
    // The last sheet's format stays in the preferences; the others as read.
    EXPECT_EQ(cad.integerPreferences[10], 12);
    EXPECT_EQ(cad.doublePreferences[8], 0.5);
    EXPECT_EQ(cad.integerPreferences[8], 2);
    EXPECT_EQ(cad.document->active, 2);
}

TEST_F(SheetExport, PlainRunLeavesThePreferencesAlone)
{
    settings.ownFormat = false;
    settings.titleNaming = false;
    settings.saveInDocFolder = false;
    settings.directory = "D:" + sep + "out";
    run();
    Journal expected = kNamesJournal;
    expected.insert(expected.end(), {"attach", "Visible(b:true)", "ActiveDoc()"});
    for (int i = 1; i <= 3; ++i) {
        const std::string name = "Blatt" + std::to_string(i);
        expected.insert(expected.end(), {"GetType()", "ActivateSheet(&s:" + name + ")",
                                         "SaveAsSilent(&s:D:" + sep + "out" + sep + name + ".tif, &b:true)"});
    }
    EXPECT_EQ(cad.journal(), expected);
    EXPECT_EQ(log.text, kHeading + line(0, "D:" + sep + "out" + sep + "Blatt1.tif") +
                            line(1, "D:" + sep + "out" + sep + "Blatt2.tif") +
                            line(2, "D:" + sep + "out" + sep + "Blatt3.tif") + kDone);
}

TEST_F(SheetExport, DirectoryPrefix)
{
    settings.ownFormat = false;
    settings.titleNaming = false;
    settings.saveInDocFolder = true;
    settings.directory = "ignored";
    run();
    EXPECT_EQ(cad.savedFiles[0], "Blatt1.tif");

    // An empty directory means the drawing's folder, never the drive's root.
    settings.saveInDocFolder = false;
    settings.directory = "";
    cad.savedFiles.clear();
    run();
    EXPECT_EQ(cad.savedFiles[0], "Blatt1.tif");

    // Taken as typed: a trailing separator is doubled, blanks are kept.
    settings.directory = " D:" + sep + "out" + sep;
    cad.savedFiles.clear();
    run();
    EXPECT_EQ(cad.savedFiles[0], " D:" + sep + "out" + sep + sep + "Blatt1.tif");
}

TEST_F(SheetExport, NamesFromTheDrawingCannotLeaveTheFolder)
{
    EXPECT_EQ(safeFileNamePart("a\\b/c:d*e?f\"g<h>i|j"), "a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(safeFileNamePart("..\\..\\Windows\\x"), ".._.._Windows_x");
    EXPECT_EQ(safeFileNamePart(std::string("Tab\there\x01\x7f")), "Tab_here__");
    EXPECT_EQ(safeFileNamePart(" Blatt 1 – Ansicht "), " Blatt 1 – Ansicht ");
    // Windows devices, whatever case and whatever follows a dot, are no files.
    for (const std::string device : {"CON", "prn", "Aux", "NUL", "COM1", "com9", "LPT1", "lpt9"})
        EXPECT_EQ(safeFileNamePart(device), device + "_");
    EXPECT_EQ(safeFileNamePart("con.1.detail"), "con_.1.detail");
    EXPECT_EQ(safeFileNamePart("NUL "), "NUL_ ");
    for (const std::string name : {"CONSOLE", "COM0", "COM10", "LPT", "xCON", "AUX-1", "a.CON"})
        EXPECT_EQ(safeFileNamePart(name), name);

    settings.titleNaming = false;
    settings.ownFormat = false;
    cad.document->sheets[0].name = "../../etc/passwd";
    cad.document->sheets[1].name = "Con";
    run();
    EXPECT_EQ(cad.savedFiles, (std::vector<std::string>{".._.._etc_passwd.tif", "Con_.tif", "Blatt3.tif"}));
    EXPECT_NE(log.text.find("unter : .._.._etc_passwd.tif\r\n"), std::string::npos);
    EXPECT_NE(log.text.find("unter : Con_.tif\r\n"), std::string::npos);
}

TEST_F(SheetExport, ATargetNameIsNeverWrittenTwiceInARun)
{
    settings.titleNaming = false;
    settings.ownFormat = false;
    cad.document->sheets[0].name = "A/B";
    cad.document->sheets[1].name = "A:B";  // becomes the same file name
    cad.document->sheets[2].name = "a_b";  // the same file on Windows
    const ExportOutcome outcome = run();
    EXPECT_EQ(cad.savedFiles, std::vector<std::string>{"A_B.tif"});
    EXPECT_EQ(
        log.text,
        kHeading + line(0, "A_B.tif") +
            "*** Blatt nicht gespeichert, Dateiname schon in diesem Lauf verwendet *** (Sheet 1 unter : "
            "A_B.tif)\r\n"
            "*** Blatt nicht gespeichert, Dateiname schon in diesem Lauf verwendet *** (Sheet 2 unter : "
            "a_b.tif)\r\n"
            "--- Abgeschlossen mit Fehlern: 2 von 3 Blättern nicht gespeichert ---");
    EXPECT_EQ(outcome.notSaved, 2);
}

TEST_F(SheetExport, NamesAreComparedWithTheCaseFoldingOfWindows)
{
    settings.titleNaming = false;
    settings.ownFormat = false;
    const struct {
        std::vector<std::string> names, saved;
    } rows[] = {
        {{"Détail", "DÉTAIL", "détail"}, {"Détail.tif"}},
        {{"ΣΊΣΥΦΟΣ", "σίσυφος", "Σίσυφοσ"}, {"ΣΊΣΥΦΟΣ.tif"}},              // final sigma folds to sigma
        {{"Ǆ Ё", "ǅ ё", "ǆ Е"}, {"Ǆ Ё.tif", "ǆ Е.tif"}},                   // title case, Cyrillic
        {{"Straße", "STRASSE", "STRAẞE"}, {"Straße.tif", "STRASSE.tif"}},  // ẞ folds to ß, not to ss
        // Bytes that are not UTF-8 stay as they are: Latin-1 É and é differ.
        {{"A\xC9", "a\xE9", "a\xC9"}, {"A\xC9.tif", "a\xE9.tif"}},
    };
    for (const auto& row : rows) {
        cad.savedFiles.clear();
        for (std::size_t i = 0; i < 3; ++i)
            cad.document->sheets[i].name = row.names[i];
        run();
        EXPECT_EQ(cad.savedFiles, row.saved) << row.names[0];
    }
}

TEST_F(SheetExport, FailedSaveKeepsTheLogAndTheClosingLineTellsTheTruth)
{
    settings.ownFormat = false;
    cad.addFault({"SaveAsSilent", fake::FaultKind::Refuse, "Flansch - Blatt1.tif"});
    run();
    EXPECT_EQ(log.text, kHeading +
                            "*** Konnte Blatt nicht als TIFF speichern *** (Sheet 0 unter : Flansch - "
                            "Blatt1.tif)\r\n" +
                            line(1, "Flansch - Blatt2.tif") + line(2, "Flansch - Blatt3.tif") +
                            "--- Abgeschlossen mit Fehlern: 1 von 3 Blättern nicht gespeichert ---");
    EXPECT_TRUE(boxes.shown.empty());

    // A name whose save failed was not written, so a later sheet may use it.
    cad.clearFaults();
    settings.titleNaming = false;
    cad.document->sheets[1].name = "Blatt1";
    cad.addFault({"SaveAsSilent", fake::FaultKind::Refuse, "Blatt1.tif", 1});
    cad.savedFiles.clear();
    run();
    EXPECT_EQ(cad.savedFiles, (std::vector<std::string>{"Blatt1.tif", "Blatt3.tif"}));
}

TEST_F(SheetExport, FailuresThatEndTheRun)
{
    // No document, or no drawing: the query's text, box after the log.
    cad.document->type = cad::kDocPart;
    run();
    EXPECT_EQ(log.text, "Fehler aufgetreten\r\nKeine Zeichnung aktiv");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "KUP-Tools - Fehlerinfo");
    EXPECT_EQ(boxes.shown[0].logAtShow, log.text);
    cad.document->type = cad::kDocDrawing;

    // The document gone between the sheet list and the run: no box.
    cad.addFault({"ActiveDoc", fake::FaultKind::Refuse, {}, 2});
    run();
    EXPECT_EQ(log.text, "*** Keine Datei geöffnet ***");
    EXPECT_TRUE(boxes.shown.empty());
    cad.clearFaults();

    // No longer a drawing at the second sheet: earlier lines stay, box "info" after the log.
    cad.addFault({"GetType", fake::FaultKind::Refuse, {}, 3});
    run();
    EXPECT_EQ(log.text, kHeading + line(0, "Flansch - Blatt1.tif") + "*** " + cad::kNoDrawingLongText);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, cad::kNoDrawingLongText);
    EXPECT_EQ(boxes.shown[0].title, "info");
    EXPECT_EQ(boxes.shown[0].logAtShow, log.text);
    cad.clearFaults();

    cad.addFault({"ActivateSheet", fake::FaultKind::Refuse, "Blatt2"});
    run();
    EXPECT_EQ(log.text, kHeading + line(0, "Flansch - Blatt1.tif") +
                            "*** Konnte Blatt mit Namen Blatt2nicht ansprechen. Verlasse Prozedur!");
    EXPECT_EQ(boxes.shown.at(0).title, "info");
    cad.clearFaults();
}

TEST_F(SheetExport, TransferFailuresShowTheBoxBeforeTheLog)
{
    // The third attach of a run is the preference read of the first sheet.
    cad.addFault({"attach", fake::FaultKind::Refuse, {}, 3});
    const auto before = cad.integerPreferences;
    run();
    EXPECT_TRUE(cad.savedFiles.empty());
    EXPECT_EQ(cad.integerPreferences, before);
    EXPECT_EQ(log.text, kHeading + "*** Solidworks läuft gar nicht");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Solidworks läuft gar nicht");
    EXPECT_EQ(boxes.shown[0].title, "KUP-Tools - Fehlerinfo");
    EXPECT_EQ(boxes.shown[0].logAtShow, kHeading);
    cad.clearFaults();

    cad.addFault({"SetUserPreferenceIntegerValue", fake::FaultKind::Refuse, "9"});
    run();
    const std::string message =
        "Fehler beim Setzen der TIFF-Optionen\r\nTiffPrintDPI konnte nicht gesetzt werden\r\n";
    EXPECT_EQ(log.text, kHeading + "*** " + message);
    EXPECT_EQ(boxes.shown.at(0).text, message);
    EXPECT_EQ(boxes.shown.at(0).logAtShow, kHeading);
    EXPECT_TRUE(cad.savedFiles.empty());
}

TEST_F(SheetExport, ShortPropertyArrayEndsTheRunInsteadOfSavingInAWrongFormat)
{
    cad.document->sheets[1].properties.resize(3);
    run();
    EXPECT_EQ(cad.savedFiles, std::vector<std::string>{"Flansch - Blatt1.tif"});
    EXPECT_EQ(log.text, kHeading + line(0, "Flansch - Blatt1.tif") +
                            "*** Blatt Blatt2 liefert nur 3 von 7 Eigenschaften");
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(SheetExport, DrawingWithoutSheets)
{
    cad.document->sheets.clear();
    const ExportOutcome outcome = run();
    EXPECT_EQ(log.text, kHeading + kDone);
    EXPECT_TRUE(outcome.ranThrough);
}

TEST_F(SheetExport, AutomationErrorAtAnyCallLeavesAUsableState)
{
    // The complete journal and log of a good run, to compare each broken run with.
    fake::TextLog good;
    {
        Boxes quiet{good};
        KupTools_SaveSheetsAsTIFF(settings, good, quiet);
    }
    const std::size_t calls = cad.journal().size();
    ASSERT_GT(calls, 90u);

    for (std::size_t k = 1; k <= calls; ++k) {
        SCOPED_TRACE("Fehler bei Aufruf " + std::to_string(k) + ": " + cad.journal()[k - 1]);
        log.replace("Text eines früheren Laufs");
        cad.clearJournal();
        cad.throwAtCall(static_cast<int>(k));
        const ExportOutcome outcome = run();
        EXPECT_FALSE(outcome.ranThrough);
        // What stood before the failure stays, followed by one line naming it.
        const std::size_t mark = log.text.rfind("*** ");
        ASSERT_NE(mark, std::string::npos) << log.text;
        EXPECT_EQ(good.text.compare(0, mark, log.text, 0, mark), 0) << log.text;
        EXPECT_NE(log.text.find("simulierter Fehler", mark), std::string::npos);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].title, "KUP-Tools - Fehlerinfo");

        cad.clearFaults();
        cad.clearJournal();
        run();
        EXPECT_EQ(log.text, good.text);
    }
}

}  // namespace
