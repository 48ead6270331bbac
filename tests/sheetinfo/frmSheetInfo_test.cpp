// The sheet information window against the fake CAD, driven through its
// controls offscreen, under German and English regional settings.
#include "app/frmMain.h"
#include "cad/number_text.h"
#include "dialogs/frmAbout.h"
#include "tests/sheetinfo/sheet_info_window.h"
#include "tests/sheetinfo/worked_example.h"
#include "tests/support/fake_cad.h"
#include "tests/support/message_recorder.h"
#include "ui/qt_message_boxes.h"
#include "ui/window_registry.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace sheetinfotest;

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const std::string kErrorTitle = "KUP-Tools - Fehlerinfo";

std::vector<std::string> secondSheetGerman()
{
    return {"A3", "keine Vorlage", "C:\\Vorlagen\\Blatt2.drt", "1", "2,5", "dritter Winkel", "0,42", "0,297"};
}

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
        useRegionalSettings(kGerman);
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
    std::vector<std::string> activations() const { return cad.journalOf("ActivateSheet"); }
    int active() const { return cad.document->active; }

    fake::Cad cad;
    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
    std::vector<std::string> reportWhileShown;
    std::unique_ptr<frmSheetInfo> form;
    const std::vector<std::string> empty = std::vector<std::string>(8);
};

TEST_F(SheetInfoWindow, OpensEmptyWithoutAskingTheCad)
{
    EXPECT_EQ(form->windowTitle(), "KupTools für Solidworks - Blattinformationen");
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(list()->currentIndex(), -1);
    EXPECT_EQ(fields(*form), empty);
    EXPECT_EQ(reportText(*form), "");
    EXPECT_EQ(form->control<QPushButton>("cmdHoleKupInfos")->text(),
              "Hole Infos über alle Zeichnungsblätter in Textform");

    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), form->control("txtAusgabe"));
    EXPECT_TRUE(cad.journal().empty());
}

TEST_F(SheetInfoWindow, LoadListsTheSheetsAndShowsTheActiveOne)
{
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(listEntries(*form), (std::vector<std::string>{"Blatt1", "Blatt2", " Blatt 3 "}));
    EXPECT_EQ(list()->currentIndex(), 1);
    EXPECT_EQ(fields(*form), secondSheetGerman());
    // Once for the selection, once for the fields; the active sheet stays active.
    EXPECT_EQ(activations(),
              (std::vector<std::string>{"ActivateSheet(&s:Blatt2)", "ActivateSheet(&s:Blatt2)"}));
    EXPECT_EQ(active(), 1);
    EXPECT_TRUE(boxes.messages.empty());

    // The first entry is the one a fresh list shows already: its choice still runs, once.
    cad.document->active = 0;
    cad.clearJournal();
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(list()->currentIndex(), 0);
    EXPECT_EQ(activations(),
              (std::vector<std::string>{"ActivateSheet(&s:Blatt1)", "ActivateSheet(&s:Blatt1)"}));
    EXPECT_EQ(fields(*form), (std::vector<std::string>{"A4 quer", "A4 quer", "C:\\Vorlagen\\a4-quer.drt", "1",
                                                       "2", "erster Winkel", "0,297", "0,21"}));

    useRegionalSettings(kEnglish);
    cad.document->active = 1;
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(fields(*form), (std::vector<std::string>{"A3", "keine Vorlage", "C:\\Vorlagen\\Blatt2.drt", "1",
                                                       "2.5", "dritter Winkel", "0.42", "0.297"}));
    // A separator outside Latin-1 stays whole.
    useRegionalSettings(QLocale(QLocale::Arabic, QLocale::Egypt));
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(fields(*form)[6], "0\u066b42");
}

TEST_F(SheetInfoWindow, PreselectionMatchesExactlyAndTheLaterEqualNameWins)
{
    cad.document->sheets = {fake::makeSheet("Teil", 6), fake::makeSheet("teil", 7),
                            fake::makeSheet("Teil", 8), fake::makeSheet("TEIL", 9)};
    cad.document->active = 0;
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(list()->currentIndex(), 2);

    cad.document->sheets = {fake::makeSheet("blatt", 6), fake::makeSheet("Blatt", 7)};
    cad.document->active = 0;
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(list()->currentIndex(), 0);
    EXPECT_EQ(fields(*form)[0], "A4 quer");
}

TEST_F(SheetInfoWindow, ChoosingASheetActivatesItAndRefillsEveryField)
{
    click(*form, "cmdGetActiveSheet");
    form->control<QLineEdit>("txtBI_PaperWidth")->setFocus();
    QTest::keyClicks(form->control<QLineEdit>("txtBI_PaperWidth"), "123");
    EXPECT_EQ(fields(*form)[6], "0,42123");

    cad.clearJournal();
    choose(*form, 2);
    EXPECT_EQ(activations(), (std::vector<std::string>{"ActivateSheet(&s: Blatt 3 )"}));
    EXPECT_EQ(active(), 2);
    EXPECT_EQ(fields(*form),
              (std::vector<std::string>{"benutzerdefiniert", "keine Vorlage", "C:\\Vorlagen\\ Blatt 3 .drt",
                                        "1", "1", "dritter Winkel", "0,1", "0,1"}));

    cad.clearJournal();
    choose(*form, 1);
    EXPECT_EQ(fields(*form), secondSheetGerman());

    // Choosing the entry already shown is a choice too.
    cad.document->active = 0;
    cad.clearJournal();
    choose(*form, 1);
    EXPECT_EQ(activations(), (std::vector<std::string>{"ActivateSheet(&s:Blatt2)"}));
    EXPECT_EQ(active(), 1);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(SheetInfoWindow, FailedQueriesShowTheirTextAndLeaveTheFieldsEmpty)
{
    click(*form, "cmdGetActiveSheet");  // something to lose
    cad.document->type = cad::kDocPart;
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{{"Keine Zeichnung aktiv", kErrorTitle}}));
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(fields(*form), empty);

    cad.document.reset();
    boxes.messages.clear();
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{{"Keine Dokument aktiv", kErrorTitle}}));

    // A sheet that cannot be activated: once for the selection, once for the fields.
    cad.document = flange();
    boxes.messages.clear();
    cad.addFault({"ActivateSheet", fake::FaultKind::Refuse, "Blatt2"});
    click(*form, "cmdGetActiveSheet");
    const fake::Message refused{"Konnte Blatt mit Namen Blatt2nicht ansprechen. Verlasse Prozedur!",
                                kErrorTitle};
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{refused, refused}));
    EXPECT_EQ(list()->count(), 3);
    EXPECT_EQ(list()->currentIndex(), 1);
    EXPECT_EQ(fields(*form), empty);

    choose(*form, 0);
    EXPECT_EQ(fields(*form)[0], "A4 quer");
    boxes.messages.clear();
    choose(*form, 1);
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{refused}));
    EXPECT_EQ(fields(*form), empty);
}

TEST_F(SheetInfoWindow, AnAutomationErrorShowsOneBoxAndKeepsWhatWasFilled)
{
    cad.addFault({"GetProperties", fake::FaultKind::Throw});
    click(*form, "cmdGetActiveSheet");
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, kErrorTitle);
    EXPECT_NE(boxes.messages[0].text.find("GetProperties: simulierter Fehler"), std::string::npos)
        << boxes.messages[0].text;
    EXPECT_EQ(list()->count(), 3);
    EXPECT_EQ(list()->currentIndex(), 1);
    EXPECT_EQ(fields(*form), empty);

    boxes.messages.clear();
    choose(*form, 0);
    EXPECT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(active(), 0);  // activated before the properties failed

    // The window goes on working once the CAD answers again.
    cad.clearFaults();
    boxes.messages.clear();
    choose(*form, 1);
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(fields(*form), secondSheetGerman());

    cad.addFault({"GetSheetNames", fake::FaultKind::Throw});
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(fields(*form), empty);
}

TEST_F(SheetInfoWindow, AFaultOfTheToolIsToldAsAnInternalErrorNotAsTheCads)
{
    for (const char* button : {"cmdGetActiveSheet", "cmdHoleKupInfos"}) {
        SCOPED_TRACE(button);
        cad.addFault({"GetProperties", fake::FaultKind::Internal});
        boxes.messages.clear();
        click(*form, button);
        EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{
                                      {"Interner Fehler: GetProperties: simulierter Fehler", kErrorTitle}}));
        cad.clearFaults();
    }
    boxes.messages.clear();
    click(*form, "cmdGetActiveSheet");
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(list()->count(), 3);
    EXPECT_NE(fields(*form), empty);
}

TEST_F(SheetInfoWindow, ADrawingWithoutSheetsSelectsAndActivatesNothing)
{
    cad.document->sheets.clear();
    click(*form, "cmdGetActiveSheet");
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(list()->currentIndex(), -1);
    EXPECT_TRUE(activations().empty());
    EXPECT_EQ(fields(*form), empty);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(SheetInfoWindow, ReportAsTheWorkedExampleUnderBothSettings)
{
    cad.document = workedExampleDrawing();
    refuseSecondSheet(cad);
    click(*form, "cmdHoleKupInfos");
    EXPECT_EQ(reportText(*form), kWorkedExampleReport);
    // One line on the screen per CR LF, nothing more.
    EXPECT_EQ(form->control<QPlainTextEdit>("txtAusgabe")->document()->blockCount(), 14 + 1);
    EXPECT_EQ(boxes.messages.size(), 1u);

    useRegionalSettings(kEnglish);
    cad.clearFaults();
    click(*form, "cmdHoleKupInfos");
    const std::string english = reportText(*form);
    EXPECT_NE(english.find("Papierbreite : 0.297\r\nPapierhöhe   : 0.21\r\n"), std::string::npos) << english;
    EXPECT_NE(english.find("Sheet 1 Name :   Blatt2\r\nPapiergröße  : 8  (A3)\r\n"), std::string::npos);
    EXPECT_EQ(active(), 1);
}

TEST_F(SheetInfoWindow, ReportShowsOneBoxPerUnreadableSheetBesideAnEmptiedBox)
{
    click(*form, "cmdHoleKupInfos");
    EXPECT_NE(reportText(*form).find("Sheet 2 Name :    Blatt 3 \r\n"), std::string::npos);
    cad.addFault({"ActivateSheet", fake::FaultKind::Refuse});
    click(*form, "cmdHoleKupInfos");
    const std::string report = reportText(*form);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1 + 2 * 3);
    EXPECT_EQ(boxes.messages.size(), 3u);
    EXPECT_EQ(reportWhileShown, std::vector<std::string>(3));
}

TEST_F(SheetInfoWindow, ReportWithoutADrawingEmptiesTheBoxWithOneMessage)
{
    click(*form, "cmdHoleKupInfos");
    ASSERT_FALSE(reportText(*form).empty());

    cad.document->type = cad::kDocAssembly;
    click(*form, "cmdHoleKupInfos");
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{{"Keine Zeichnung aktiv", kErrorTitle}}));
    EXPECT_EQ(reportWhileShown, std::vector<std::string>{""});
    EXPECT_EQ(reportText(*form), "");

    cad.document.reset();
    boxes.messages.clear();
    click(*form, "cmdHoleKupInfos");
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{{"Keine Dokument aktiv", kErrorTitle}}));
    EXPECT_EQ(reportText(*form), "");
}

TEST(SheetInfoFromMainWindow, OneInstanceThatZurueckUnloads)
{
    frmMain main;
    main.menuItem("mnuBlattInfoAusgeben")->trigger();
    auto* info = ui::windows().find<frmSheetInfo>();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    info->control<QLineEdit>("txtBI_PaperSize")->setText("A3");
    main.menuItem("mnuBlattInfoAusgeben")->trigger();
    EXPECT_EQ(ui::windows().find<frmSheetInfo>(), info);
    EXPECT_EQ(info->control<QLineEdit>("txtBI_PaperSize")->text(), "A3");

    // "über KUP-Tools" opens the main menu's About window, which outlives this one.
    click(*info, "cmdAbout");
    frmAbout* about = ui::windows().find<frmAbout>();
    ASSERT_NE(about, nullptr);
    main.menuItem("mnuAbout")->trigger();
    EXPECT_EQ(ui::windows().find<frmAbout>(), about);

    QPointer<frmSheetInfo> closed(info);
    click(*info, "cmdBack");
    EXPECT_EQ(ui::windows().find<frmAbout>(), about);
    EXPECT_EQ(ui::windows().find<frmSheetInfo>(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    main.menuItem("mnuBlattInfoAusgeben")->trigger();
    info = ui::windows().find<frmSheetInfo>();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(fields(*info), std::vector<std::string>(8));
    ui::windows().destroyAll();
}

}  // namespace
