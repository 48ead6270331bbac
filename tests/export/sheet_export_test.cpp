#include "cad/sheet_queries.h"
#include "export/sheet_export.h"
#include "tests/support/fake_cad.h"
#include "tests/support/message_recorder.h"
#include "tests/support/text_log.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>

using namespace kup;
using Journal = std::vector<std::string>;

namespace {

const std::string sep(1, kPathSeparator);
const std::string kHeading = "Speichere einzelne Blätter von als TIFF\r\n";
const std::string kDone = "--- Erfolgreich abgeschlossen ---";

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
        boxes.whileShown = [this] { logAtShow.push_back(log.text); };
    }
    ExportOutcome run()
    {
        log.refreshed.clear();
        boxes.messages.clear();
        logAtShow.clear();
        return KupTools_SaveSheetsAsTIFF(settings, log, boxes);
    }
    static std::string line(int i, const std::string& file)
    {
        return "gesichert Sheet " + std::to_string(i) + " unter : " + file + "\r\n";
    }

    fake::Cad cad;
    ExportSettings settings;
    fake::TextLog log;
    fake::MessageRecorder boxes;
    std::vector<std::string> logAtShow;  // what the log showed as each box came up
};

const Journal kNamesJournal{"attach",          "Visible(b:true)", "ActiveDoc()",       "GetType()",
                            "GetSheetCount()", "GetSheetNames()", "GetCurrentSheet()", "GetName()"};

// The entries of a journal that hold a text, or those that do not.
Journal select(const Journal& journal, const std::string& part, bool holding = true)
{
    Journal calls;
    for (const std::string& entry : journal)
        if ((entry.find(part) != std::string::npos) == holding)
            calls.push_back(entry);
    return calls;
}

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
    EXPECT_EQ(log.text, kHeading + line(0, "Flansch - Blatt1.tif") + line(1, "Flansch - Blatt2.tif") +
                            line(2, "Flansch - Blatt3.tif") + kDone);
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

// Lists as one text, "|" between the entries.
std::string joined(const Journal& list)
{
    std::string text;
    for (const std::string& entry : list)
        text += (text.empty() ? "" : "|") + entry;
    return text;
}

TEST_F(SheetExport, NamesTargetsAndFailuresOfARun)
{
    const std::string typedDir = " D:" + sep + "out" + sep, out = typedDir + sep, info = "info",
                      fehlerinfo = "KUP-Tools - Fehlerinfo";
    const std::string twice =
        "*** Blatt nicht gespeichert, Dateiname schon in diesem Lauf verwendet *** (Sheet ";
    const std::string notSaved = "--- Abgeschlossen mit Fehlern: ";
    const std::string dpi =
        "Fehler beim Setzen der TIFF-Optionen\r\nTiffPrintDPI konnte nicht gesetzt werden\r\n";
    const std::string inactive = "Konnte Blatt mit Namen Blatt2nicht ansprechen. Verlasse Prozedur!";
    const std::string noProperties = "Blatt Blatt2 liefert nur 0 von 7 Eigenschaften";
    const ExportSettings plain{false, false, false, ""}, own{true, false, false, ""};
    const ExportSettings docFolder{false, false, true, "ignored"}, typed{false, false, false, typedDir};
    enum Box { None, AfterLog, BeforeLog };  // a box, and whether the log's last line stood when it came up
    const struct {
        const char* what;
        ExportSettings settings;
        const char* names;    // of the sheets, "|" between them; null: Blatt1 to Blatt3
        const char* refused;  // the member refused, with its first argument and the n-th call (0: every)
        const char* argument;
        int nth;
        std::string log;  // empty: not compared
        std::string saved;
        Box box;
        std::string boxTitle, boxText;
    } rows[] = {
        {"Ordner der Zeichnung", docFolder, nullptr, nullptr, nullptr, 0, "",
         "Blatt1.tif|Blatt2.tif|Blatt3.tif"},
        // Taken as typed: a trailing separator is doubled, blanks are kept.
        {"Verzeichnis wie eingegeben", typed, nullptr, nullptr, nullptr, 0,
         kHeading + line(0, out + "Blatt1.tif") + line(1, out + "Blatt2.tif") + line(2, out + "Blatt3.tif") +
             kDone,
         out + "Blatt1.tif|" + out + "Blatt2.tif|" + out + "Blatt3.tif"},
        {"Blattname mit Pfad, Gerätename", plain, "../../etc/passwd|Con|Blatt3", nullptr, nullptr, 0,
         kHeading + line(0, ".._.._etc_passwd.tif") + line(1, "Con_.tif") + line(2, "Blatt3.tif") + kDone,
         ".._.._etc_passwd.tif|Con_.tif|Blatt3.tif"},
        // The second becomes the same file name, the third is the same file on Windows.
        {"Dateiname zweimal", plain, "A/B|A:B|a_b", nullptr, nullptr, 0,
         kHeading + line(0, "A_B.tif") + twice + "1 unter : A_B.tif)\r\n" + twice + "2 unter : a_b.tif)\r\n" +
             notSaved + "2 von 3 Blättern nicht gespeichert ---",
         "A_B.tif"},
        {"Speichern abgelehnt",
         {false, true, true, ""},
         nullptr,
         "SaveAsSilent",
         "Flansch - Blatt1.tif",
         0,
         kHeading +
             "*** Konnte Blatt nicht als TIFF speichern *** (Sheet 0 unter : Flansch - Blatt1.tif)\r\n" +
             line(1, "Flansch - Blatt2.tif") + line(2, "Flansch - Blatt3.tif") + notSaved +
             "1 von 3 Blättern nicht gespeichert ---",
         "Flansch - Blatt2.tif|Flansch - Blatt3.tif"},
        // A name whose save failed was not written, so a later sheet may use it.
        {"abgelehnter Name wieder frei", plain, "Blatt1|Blatt1|Blatt3", "SaveAsSilent", "Blatt1.tif", 1, "",
         "Blatt1.tif|Blatt3.tif"},
        {"keine Zeichnung", plain, nullptr, "GetType", nullptr, 1,
         "Fehler aufgetreten\r\nKeine Zeichnung aktiv", "", AfterLog, fehlerinfo, "Keine Zeichnung aktiv"},
        // The document gone between the sheet list and the run: no box.
        {"Dokument weg", plain, nullptr, "ActiveDoc", nullptr, 2, "*** Keine Datei geöffnet ***", ""},
        {"beim zweiten Blatt keine Zeichnung mehr", plain, nullptr, "GetType", nullptr, 3,
         kHeading + line(0, "Blatt1.tif") + "*** " + cad::kNoDrawingLongText, "Blatt1.tif", AfterLog, info,
         cad::kNoDrawingLongText},
        {"Blatt nicht aktivierbar", plain, nullptr, "ActivateSheet", "Blatt2", 0,
         kHeading + line(0, "Blatt1.tif") + "*** " + inactive, "Blatt1.tif", AfterLog, info, inactive},
        // The third attach of a run is the preference read of the first sheet.
        {"Optionen nicht lesbar", own, nullptr, "attach", nullptr, 3,
         kHeading + "*** Solidworks läuft gar nicht", "", BeforeLog, fehlerinfo,
         "Solidworks läuft gar nicht"},
        {"Optionen nicht setzbar", own, nullptr, "SetUserPreferenceIntegerValue", "9", 0,
         kHeading + "*** " + dpi, "", BeforeLog, fehlerinfo, dpi},
        // Ends the run rather than saving in a wrong format.
        {"Eigenschaften fehlen", own, nullptr, "GetProperties", nullptr, 2,
         kHeading + line(0, "Blatt1.tif") + "*** " + noProperties, "Blatt1.tif", BeforeLog, fehlerinfo,
         noProperties},
        {"Zeichnung ohne Blätter", plain, "", nullptr, nullptr, 0, kHeading + kDone, ""},
    };
    const auto before = cad.integerPreferences;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        cad.clearFaults();
        cad.clearJournal();
        cad.savedFiles.clear();
        cad.integerPreferences = before;
        SetUp();
        settings = row.settings;
        if (row.names) {
            cad.document->sheets.clear();
            std::istringstream names(row.names);
            for (std::string name; std::getline(names, name, '|');)
                cad.document->sheets.push_back(fake::makeSheet(name, 8));
        }
        if (row.refused)
            cad.addFault({row.refused, fake::FaultKind::Refuse,
                          row.argument ? std::optional<std::string>(row.argument) : std::nullopt, row.nth});
        run();
        EXPECT_EQ(log.text, row.log.empty() ? log.text : row.log);
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
