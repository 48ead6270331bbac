// The sheet information window against the fake CAD, driven through its
// controls offscreen.
#include "cad/number_text.h"
#include "tests/sheetinfo/sheet_info_window.h"
#include "tests/support/fake_cad.h"
#include "tests/support/message_recorder.h"
#include "ui/qt_message_boxes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace sheetinfotest;
using Texts = std::vector<std::string>;

namespace {

const std::string kErrorTitle = "KUP-Tools - Fehlerinfo";
const Texts kSecondSheet{"A3",   "keine Vorlage", "C:\\Vorlagen\\Blatt2.drt", "1", "2,5", "dritter Winkel",
                         "0,42", "0,297"};
const Texts kEmpty(8);

// Three sheets, the second one active.
fake::Document flange()
{
    fake::Sheet first = fake::makeSheet("Blatt1", 6, 6, 1, 2, true);
    first.templatePath = "C:\\Vorlagen\\a4-quer.drt";
    fake::Sheet third = fake::makeSheet(" Blatt 3 ", 12, 13);
    third.properties[4] = 1;  // neither -1 nor 0
    return fake::Document{
        cad::kDocDrawing, "Flansch", {first, fake::makeSheet("Blatt2", 8, 13, 1, 2.5, false), third}, 1};
}

class SheetInfoWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        useRegionalSettings(QLocale(QLocale::German, QLocale::Germany));
        cad.install();
        cad.document = flange();
        form = std::make_unique<frmSheetInfo>();
        // What the report box showed while each box was up.
        boxes.whileShown = [this] {
            reportWhileShown.push_back(
                form->control<QPlainTextEdit>("txtAusgabe")->toPlainText().toStdString());
        };
    }
    void TearDown() override
    {
        form.reset();
        useRegionalSettings(QLocale::c());
    }
    QComboBox* list() const { return form->control<QComboBox>("cmbDrawingNames"); }
    Texts activations() const { return cad.journalOf("ActivateSheet"); }

    fake::Cad cad;
    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
    Texts reportWhileShown;
    std::unique_ptr<frmSheetInfo> form;
};

TEST_F(SheetInfoWindow, LoadListsTheSheetsAndShowsTheActiveOneInTheRegionalNotationPreselectedByExactName)
{
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(listEntries(*form), (Texts{"Blatt1", "Blatt2", " Blatt 3 "}));
    EXPECT_EQ(list()->currentIndex(), 1);
    EXPECT_EQ(fields(*form), kSecondSheet);
    // Once for the selection, once for the fields; the active sheet stays active.
    EXPECT_EQ(activations(), (Texts{"ActivateSheet(&s:Blatt2)", "ActivateSheet(&s:Blatt2)"}));
    EXPECT_EQ(cad.document->active, 1);
    EXPECT_TRUE(boxes.messages.empty());

    // The first entry is the one a fresh list shows already: its choice still runs, once.
    cad.document->active = 0;
    cad.clearJournal();
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(activations(), (Texts{"ActivateSheet(&s:Blatt1)", "ActivateSheet(&s:Blatt1)"}));
    EXPECT_EQ(fields(*form), (Texts{"A4 quer", "A4 quer", "C:\\Vorlagen\\a4-quer.drt", "1", "2",
                                    "erster Winkel", "0,297", "0,21"}));

    // A separator outside Latin-1 stays whole.
    useRegionalSettings(QLocale(QLocale::Arabic, QLocale::Egypt));
    cad.document->active = 1;
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(fields(*form)[6], "0\u066b42");

    // The preselection matches exactly, and the later equal name wins.
    cad.document->sheets = {fake::makeSheet("Teil", 6), fake::makeSheet("teil", 7),
                            fake::makeSheet("Teil", 8), fake::makeSheet("TEIL", 9)};
    cad.document->active = 0;
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(list()->currentIndex(), 2);

    cad.document->sheets = {fake::makeSheet("blatt", 6), fake::makeSheet("Blatt", 7)};
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(list()->currentIndex(), 0);
}

TEST_F(SheetInfoWindow, ChoosingASheetActivatesItAndRefillsEveryField)
{
    click(*form, "cmdGetActiveSheet");
    form->control<QLineEdit>("txtBI_PaperWidth")->setText("0,42123");  // typed over, refilled below

    cad.clearJournal();
    choose(*form, 2);
    EXPECT_EQ(activations(), (Texts{"ActivateSheet(&s: Blatt 3 )"}));
    EXPECT_EQ(cad.document->active, 2);
    EXPECT_EQ(fields(*form), (Texts{"benutzerdefiniert", "keine Vorlage", "C:\\Vorlagen\\ Blatt 3 .drt", "1",
                                    "1", "dritter Winkel", "0,1", "0,1"}));
    choose(*form, 1);
    EXPECT_EQ(fields(*form), kSecondSheet);

    // Choosing the entry already shown is a choice too.
    cad.document->active = 0;
    cad.clearJournal();
    choose(*form, 1);
    EXPECT_EQ(activations(), (Texts{"ActivateSheet(&s:Blatt2)"}));
    EXPECT_EQ(cad.document->active, 1);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(SheetInfoWindow, FailedQueriesShowOneBoxEachAndLeaveTheFieldsEmpty)
{
    const std::string refused = "Konnte Blatt mit Namen Blatt2nicht ansprechen. Verlasse Prozedur!";
    const std::string thrown = "Die Blattinformationen konnten nicht gelesen werden, Solidworks meldet einen "
                               "Fehler:\r\nGetProperties: simulierter Fehler";
    struct Case {
        const char* what;
        std::function<void(fake::Cad&)> fail;
        Texts messages;
        int entries;
    } const cases[] = {
        {"a part", [](fake::Cad& c) { c.document->type = cad::kDocPart; }, {"Keine Zeichnung aktiv"}, 0},
        {"no document", [](fake::Cad& c) { c.document.reset(); }, {"Keine Dokument aktiv"}, 0},
        {"no sheets", [](fake::Cad& c) { c.document->sheets.clear(); }, {}, 0},
        {"names fail",
         [](fake::Cad& c) { c.addFault({"GetSheetNames"}); },
         {"Die Blattinformationen konnten nicht gelesen werden, Solidworks meldet einen Fehler:\r\n"
          "GetSheetNames: simulierter Fehler"},
         0},
        // Once for the selection, once for the fields.
        {"refused",
         [](fake::Cad& c) {
             c.addFault({"ActivateSheet", fake::FaultKind::Refuse, "Blatt2"});
         },
         {refused, refused},
         3},
        // A fault of the tool is not told as the CAD's.
        {"internal",
         [](fake::Cad& c) {
             c.addFault({"GetProperties", fake::FaultKind::Internal});
         },
         {"Interner Fehler: GetProperties: simulierter Fehler"},
         3},
        {"properties fail", [](fake::Cad& c) { c.addFault({"GetProperties"}); }, {thrown}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cad.clearFaults();
        cad.document = flange();
        click(*form, "cmdGetActiveSheet");  // something to lose
        c.fail(cad);
        cad.clearJournal();
        boxes.messages.clear();
        click(*form, "cmdGetActiveSheet");
        Texts texts;
        for (const fake::Message& message : boxes.messages) {
            EXPECT_EQ(message.title, kErrorTitle);
            texts.push_back(message.text);
        }
        EXPECT_EQ(texts, c.messages);
        EXPECT_EQ(list()->count(), c.entries);
        EXPECT_EQ(fields(*form), kEmpty);
        EXPECT_EQ(activations().empty(), c.entries == 0);
    }

    // Activated before the properties failed; the window goes on once the CAD answers again.
    choose(*form, 0);
    EXPECT_EQ(cad.document->active, 0);
    EXPECT_EQ(fields(*form), kEmpty);
    cad.clearFaults();
    choose(*form, 1);
    EXPECT_EQ(fields(*form), kSecondSheet);
}

TEST_F(SheetInfoWindow, ReportBoxesComeUpBesideAnEmptiedBox)
{
    click(*form, "cmdHoleKupInfos");  // a report to lose; its text is the end-to-end case's matter
    EXPECT_TRUE(boxes.messages.empty());

    cad.addFault({"ActivateSheet", fake::FaultKind::Refuse});
    click(*form, "cmdHoleKupInfos");
    EXPECT_EQ(reportWhileShown, Texts(3));
    EXPECT_NE(reportText(*form), "");

    cad.document->type = cad::kDocAssembly;
    boxes.messages.clear();
    reportWhileShown.clear();
    click(*form, "cmdHoleKupInfos");
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{{"Keine Zeichnung aktiv", kErrorTitle}}));
    EXPECT_EQ(reportWhileShown, Texts{""});
    EXPECT_EQ(reportText(*form), "");

    cad.document->type = cad::kDocDrawing;
    cad.clearFaults();
    cad.addFault({"GetProperties", fake::FaultKind::Internal});
    boxes.messages.clear();
    click(*form, "cmdHoleKupInfos");
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{
                                  {"Interner Fehler: GetProperties: simulierter Fehler", kErrorTitle}}));
}

}  // namespace
