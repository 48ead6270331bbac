#include "cad/sheet_queries.h"
#include "export/sheet_export.h"
#include "tests/support/fake_cad.h"
#include "tests/support/message_recorder.h"
#include "tests/support/text_log.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>

using namespace kup;
using fake::kLogHeading;
using fake::logOf;
using fake::refusal;
using fake::savedLine;
using Journal = std::vector<std::string>;

namespace {

const std::string sep(1, fake::kSeparator);
const std::string kNotSaved = "--- Abgeschlossen mit Fehlern: ";

// Three sheets, the second one active, the third of the user's own size 0.5 x 0.25 m.
fake::Document flange()
{
    fake::Document drawing{
        cad::kDocDrawing,
        "Flansch",
        {fake::makeSheet("Blatt1", 8), fake::makeSheet("Blatt2", 7), fake::makeSheet("Blatt3", 12)},
        1};
    drawing.sheets[2].properties[5] = 0.5;
    drawing.sheets[2].properties[6] = 0.25;
    return drawing;
}

// Lists as one text, "|" between the entries.
std::string joined(const Journal& list)
{
    std::string text;
    for (const std::string& entry : list)
        text += (text.empty() ? "" : "|") + entry;
    return text;
}

// The entries of a journal that hold a text, or those that do not.
Journal select(const Journal& journal, const std::string& part, bool holding = true)
{
    Journal calls;
    for (const std::string& entry : journal)
        if ((entry.find(part) != std::string::npos) == holding)
            calls.push_back(entry);
    return calls;
}

enum Box { None, AfterLog, BeforeLog };  // a box, and whether the log's last line stood when it came up

// One run: its settings, sheets and fault, and all it leaves: log, files and box.
struct Row {
    const char* what;
    ExportSettings settings;
    const char* names;  // of the sheets, "|" between them; null: those of flange()
    std::optional<fake::Fault> fault;
    std::string log;
    std::string saved;  // the files, "|" between them
    Box box = None;
    std::string boxTitle, boxText;
};

const ExportSettings kPlain{false, false, false, ""}, kOwn{true, false, false, ""};

class SheetExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        cad.install();
        fresh();
        boxes.whileShown = [this] { logAtShow.push_back(log.text); };
    }
    // The drawing and preferences a run starts from, no fault, nothing journalled or saved.
    void fresh()
    {
        cad.clearFaults();
        cad.clearJournal();
        cad.savedFiles.clear();
        fake::setDefaultPreferences(cad);
        cad.document = flange();
    }
    ExportOutcome run()
    {
        log.refreshed.clear();
        boxes.messages.clear();
        logAtShow.clear();
        return KupTools_SaveSheetsAsTIFF(settings, log, boxes);
    }
    void expectRun(const Row& row)
    {
        SCOPED_TRACE(row.what);
        fresh();
        settings = row.settings;
        if (row.names) {
            cad.document->sheets.clear();
            std::istringstream names(row.names);
            for (std::string name; std::getline(names, name, '|');)
                cad.document->sheets.push_back(fake::makeSheet(name, 8));
        }
        if (row.fault)
            cad.addFault(*row.fault);
        const auto before = cad.integerPreferences;
        run();
        EXPECT_EQ(log.text, row.log);
        EXPECT_EQ(joined(cad.savedFiles), row.saved);
        if (!row.settings.ownFormat) {
            EXPECT_EQ(select(cad.journal(), "UserPreference"), Journal{});  // left alone
        }
        if (row.saved.empty()) {
            EXPECT_EQ(cad.integerPreferences, before);  // nothing half-written either
        }
        ASSERT_EQ(boxes.messages.size(), row.box == None ? 0u : 1u);
        if (row.box != None) {
            EXPECT_EQ(boxes.messages[0].title, row.boxTitle);
            EXPECT_EQ(boxes.messages[0].text, row.boxText);
            EXPECT_EQ(logAtShow[0],
                      row.box == AfterLog ? log.text : log.text.substr(0, log.text.rfind("*** ")));
        }
    }

    fake::Cad cad;
    ExportSettings settings;
    fake::TextLog log;
    fake::MessageRecorder boxes;
    std::vector<std::string> logAtShow;  // what the log showed as each box came up
};

const Journal kNamesJournal{"attach",          "Visible(b:true)", "ActiveDoc()",       "GetType()",
                            "GetSheetCount()", "GetSheetNames()", "GetCurrentSheet()", "GetName()"};

TEST_F(SheetExport, OwnFormatRunCallsEverySheetInOrder)
{
    const ExportOutcome outcome = run();
    Journal expected = kNamesJournal;
    expected.insert(expected.end(), {"attach", "Visible(b:true)", "ActiveDoc()"});
    for (const std::string sheet : {"Blatt1", "Blatt2", "Blatt3"})
        expected.insert(expected.end(),
                        {"GetType()", "ActivateSheet(&s:" + sheet + ")", "GetTitle()", "attach",
                         "Visible(b:true)", "GetCurrentSheet()", "GetProperties()", "attach",
                         "Visible(b:true)", "SaveAsSilent(&s:Flansch - " + sheet + ".tif, &b:true)"});
    // The order and types of the preference calls are the transfer's matter; the paper it is handed is not.
    EXPECT_EQ(select(cad.journal(), "UserPreference", false), expected);
    EXPECT_EQ(
        cad.journalOf("SetUserPreferenceDoubleValue"),
        (Journal{
            "SetUserPreferenceDoubleValue(i4:8, &r8:0.42)", "SetUserPreferenceDoubleValue(i4:9, &r8:0.297)",
            "SetUserPreferenceDoubleValue(i4:8, &r8:0.21)", "SetUserPreferenceDoubleValue(i4:9, &r8:0.297)",
            "SetUserPreferenceDoubleValue(i4:8, &r8:0.5)", "SetUserPreferenceDoubleValue(i4:9, &r8:0.25)"}));
    EXPECT_EQ(
        select(cad.journal(), "SetUserPreferenceIntegerValue(i4:10, i2:"),
        (Journal{"SetUserPreferenceIntegerValue(i4:10, i2:8)", "SetUserPreferenceIntegerValue(i4:10, i2:7)",
                 "SetUserPreferenceIntegerValue(i4:10, i2:12)"}));
    EXPECT_EQ(log.text, logOf({"Flansch - Blatt1.tif", "Flansch - Blatt2.tif", "Flansch - Blatt3.tif"}));
    EXPECT_EQ(log.refreshed.size(), 5u);  // heading, three sheets, closing line
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(outcome.saved, 3);
    EXPECT_TRUE(outcome.ranThrough);
    // The last sheet's format stays in the preferences; the others as read.
    EXPECT_EQ(cad.integerPreferences[10], 12);
    EXPECT_EQ(cad.doublePreferences[8], 0.5);
    EXPECT_EQ(cad.integerPreferences[8], 2);
    EXPECT_EQ(cad.document->active, 2);
}

TEST_F(SheetExport, FileNamesFollowTheSettingsAndStayInTheTargetFolder)
{
    const std::string typedDir = " D:" + sep + "out" + sep, out = typedDir + sep;
    const Row rows[] = {
        {"Ordner der Zeichnung",
         {false, false, true, "ignored"},
         nullptr,
         {},
         logOf({"Blatt1.tif", "Blatt2.tif", "Blatt3.tif"}),
         "Blatt1.tif|Blatt2.tif|Blatt3.tif"},
        // Taken as typed: a trailing separator is doubled, blanks are kept.
        {"Verzeichnis wie eingegeben",
         {false, false, false, typedDir},
         nullptr,
         {},
         logOf({out + "Blatt1.tif", out + "Blatt2.tif", out + "Blatt3.tif"}),
         out + "Blatt1.tif|" + out + "Blatt2.tif|" + out + "Blatt3.tif"},
        {"Blattname mit Pfad, Gerätename",
         kPlain,
         "../../etc/passwd|Con|Blatt3",
         {},
         logOf({".._.._etc_passwd.tif", "Con_.tif", "Blatt3.tif"}),
         ".._.._etc_passwd.tif|Con_.tif|Blatt3.tif"},
    };
    for (const Row& row : rows)
        expectRun(row);
}

TEST_F(SheetExport, ANameAlreadyWrittenInTheRunIsNotWrittenAgain)
{
    const std::string twice =
        "*** Blatt nicht gespeichert, Dateiname schon in diesem Lauf verwendet *** (Sheet ";
    const Row rows[] = {
        // The second becomes the same file name, the third is the same file on Windows.
        {"Dateiname zweimal",
         kPlain,
         "A/B|A:B|a_b",
         {},
         kLogHeading + savedLine(0, "A_B.tif") + twice + "1 unter : A_B.tif)\r\n" + twice +
             "2 unter : a_b.tif)\r\n" + kNotSaved + "2 von 3 Blättern nicht gespeichert ---",
         "A_B.tif"},
        // A name whose save failed was not written, so a later sheet may use it.
        {"abgelehnter Name wieder frei", kPlain, "Blatt1|Blatt1|Blatt3",
         refusal("SaveAsSilent", "Blatt1.tif", 1),
         kLogHeading + "*** Konnte Blatt nicht als TIFF speichern *** (Sheet 0 unter : Blatt1.tif)\r\n" +
             savedLine(1, "Blatt1.tif") + savedLine(2, "Blatt3.tif") + kNotSaved +
             "1 von 3 Blättern nicht gespeichert ---",
         "Blatt1.tif|Blatt3.tif"},
    };
    for (const Row& row : rows)
        expectRun(row);
}

TEST_F(SheetExport, TheClosingLineTellsWhetherEverySheetWasSaved)
{
    const Row rows[] = {
        {"Speichern abgelehnt",
         {false, true, true, ""},
         nullptr,
         refusal("SaveAsSilent", "Flansch - Blatt1.tif"),
         kLogHeading +
             "*** Konnte Blatt nicht als TIFF speichern *** (Sheet 0 unter : Flansch - Blatt1.tif)\r\n" +
             savedLine(1, "Flansch - Blatt2.tif") + savedLine(2, "Flansch - Blatt3.tif") + kNotSaved +
             "1 von 3 Blättern nicht gespeichert ---",
         "Flansch - Blatt2.tif|Flansch - Blatt3.tif"},
        {"Zeichnung ohne Blätter", kPlain, "", {}, logOf({}), ""},
    };
    for (const Row& row : rows)
        expectRun(row);
}

TEST_F(SheetExport, AFailureThatEndsTheRunLeavesItsLineAndOneBox)
{
    const std::string info = "info", fehlerinfo = "KUP-Tools - Fehlerinfo";
    const std::string dpi =
        "Fehler beim Setzen der TIFF-Optionen\r\nTiffPrintDPI konnte nicht gesetzt werden\r\n";
    const std::string inactive = "Konnte Blatt mit Namen Blatt2nicht ansprechen. Verlasse Prozedur!";
    const std::string noProperties = "Blatt Blatt2 liefert nur 0 von 7 Eigenschaften";
    const Row rows[] = {
        {"keine Zeichnung", kPlain, nullptr, refusal("GetType", nullptr, 1),
         "Fehler aufgetreten\r\nKeine Zeichnung aktiv", "", AfterLog, fehlerinfo, "Keine Zeichnung aktiv"},
        // The document gone between the sheet list and the run: no box.
        {"Dokument weg", kPlain, nullptr, refusal("ActiveDoc", nullptr, 2), "*** Keine Datei geöffnet ***",
         ""},
        {"beim zweiten Blatt keine Zeichnung mehr", kPlain, nullptr, refusal("GetType", nullptr, 3),
         kLogHeading + savedLine(0, "Blatt1.tif") + "*** " + cad::kNoDrawingLongText, "Blatt1.tif", AfterLog,
         info, cad::kNoDrawingLongText},
        {"Blatt nicht aktivierbar", kPlain, nullptr, refusal("ActivateSheet", "Blatt2"),
         kLogHeading + savedLine(0, "Blatt1.tif") + "*** " + inactive, "Blatt1.tif", AfterLog, info,
         inactive},
        // The third attach of a run is the preference read of the first sheet.
        {"Optionen nicht lesbar", kOwn, nullptr, refusal("attach", nullptr, 3),
         kLogHeading + "*** Solidworks läuft gar nicht", "", BeforeLog, fehlerinfo,
         "Solidworks läuft gar nicht"},
        {"Optionen nicht setzbar", kOwn, nullptr, refusal("SetUserPreferenceIntegerValue", "9"),
         kLogHeading + "*** " + dpi, "", BeforeLog, fehlerinfo, dpi},
        // Ends the run rather than saving in a wrong format.
        {"Eigenschaften fehlen", kOwn, nullptr, refusal("GetProperties", nullptr, 2),
         kLogHeading + savedLine(0, "Blatt1.tif") + "*** " + noProperties, "Blatt1.tif", BeforeLog,
         fehlerinfo, noProperties},
    };
    for (const Row& row : rows)
        expectRun(row);
}

TEST(SafeFileNamePart, ReplacesWhatCannotStandInAFileNameAndMarksWindowsDevices)
{
    EXPECT_EQ(safeFileNamePart("a\\b/c:d*e?f\"g<h>i|j"), "a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(safeFileNamePart(std::string("Tab\there\x01\x7f")), "Tab_here__");
    EXPECT_EQ(safeFileNamePart(" Blatt 1 – Ansicht "), " Blatt 1 – Ansicht ");
    // Windows devices, whatever case and whatever follows a dot, are no files.
    for (const std::string device : {"CON", "prn", "Aux", "NUL", "COM1", "com9", "LPT1", "lpt9"})
        EXPECT_EQ(safeFileNamePart(device), device + "_");
    EXPECT_EQ(safeFileNamePart("con.1.detail"), "con_.1.detail");
    EXPECT_EQ(safeFileNamePart("NUL "), "NUL_ ");
    for (const std::string name : {"CONSOLE", "COM0", "COM10", "LPT", "xCON", "AUX-1", "a.CON"})
        EXPECT_EQ(safeFileNamePart(name), name);
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

TEST_F(SheetExport, AutomationErrorAtAnyCallLeavesAUsableState)
{
    // The complete journal and log of a good run, to compare each broken run with.
    fake::TextLog good;
    KupTools_SaveSheetsAsTIFF(settings, good, boxes);
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
        ASSERT_EQ(boxes.messages.size(), 1u);
        EXPECT_EQ(boxes.messages[0].title, "KUP-Tools - Fehlerinfo");

        cad.clearFaults();
        cad.clearJournal();
        run();
        EXPECT_EQ(log.text, good.text);
    }
}

}  // namespace
