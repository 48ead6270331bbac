#include "app/frmMain.h"
#include "app/mod_kup_tools.h"
#include "cad/size_tables.h"
#include "dialogs/frmAbout.h"
#include "tests/support/event_loop.h"
#include "ui/controls.h"
#include "ui/window_registry.h"

#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct MainWindow : ::testing::Test {
    std::unique_ptr<frmMain> form = std::make_unique<frmMain>();

    QCheckBox* saveInDocFolder() const { return form->control<QCheckBox>("chkTS_SaveInDocFolder"); }
    QLineEdit* directory() const { return form->control<QLineEdit>("txtTS_SaveDirectory"); }
    QPushButton* chooseButton() const { return form->control<QPushButton>("cmdTS_ChooseSaveDirectory"); }
    void showActive()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
};

}  // namespace

TEST_F(MainWindow, StateAfterOpening)
{
    EXPECT_EQ(form->windowTitle(), "KupTools für Solidworks");
    EXPECT_EQ(form->control<QLabel>("lblErklaerung")->text(),
              "Die Funktion speichert alle Blätter der aktuellen Solidworks-Drawing als TIFF ab. Eine "
              "Kurzerklärung können Sie in der Hilfe lesen");
    EXPECT_TRUE(form->control<QCheckBox>("chkTS_DrwOwnFormat")->isChecked());
    EXPECT_TRUE(form->control<QRadioButton>("optTS_SaveAsTitleName(0)")->isChecked());
    EXPECT_FALSE(form->control<QRadioButton>("optTS_SaveAsTitleName(1)")->isChecked());
    EXPECT_EQ(form->control<QRadioButton>("optTS_SaveAsTitleName(1)")->text(), "benutzte nur Blattnamen");
    EXPECT_TRUE(saveInDocFolder()->isChecked());
    EXPECT_EQ(saveInDocFolder()->text(), "TIFF im Ordner der Zeichnung speichern");
    EXPECT_TRUE(directory()->text().isEmpty());
    EXPECT_FALSE(directory()->isEnabled());
    EXPECT_FALSE(chooseButton()->isEnabled());
    EXPECT_TRUE(form->control("cmdTS_SaveSheetAsTiff")->isEnabled());
    EXPECT_TRUE(form->control<QPlainTextEdit>("txtAusgabe")->toPlainText().isEmpty());
    EXPECT_FALSE(form->control("lblWorking")->isVisibleTo(form.get()));
    EXPECT_EQ(form->control<QLabel>("lblWorking")->text(), "Export läuft, bitte etwas Geduld ...");
    EXPECT_EQ(form->control<QGroupBox>("Frame1")->title(), " SLDDRW als TIFF abpseichern (alle Blätter) ");
    EXPECT_EQ(form->control<QGroupBox>("Frame2")->title(), "Namenskonvention für erzeugte TIFF-Dateien ");
}

TEST_F(MainWindow, ClientAreaBelowTheMenuBarIsTheTablesSize)
{
    showActive();
    const double dx = ui::logicalDpiX(), dy = ui::logicalDpiY();
    EXPECT_EQ(form->centralWidget()->size(), QSize(ui::twipsToPixels(5265, dx), ui::twipsToPixels(6480, dy)));
    EXPECT_EQ(form->centralWidget()->y(), form->menuBar()->height());
}

TEST_F(MainWindow, MenusReadAsTheirTree)
{
    QStringList titles;
    for (QAction* title : form->menuBar()->actions())
        titles << title->text();
    EXPECT_EQ(titles, QStringList({"&Datei", "Blattinfo", "TIFF-Optionen", "&?"}));
    auto items = [&](const char* menu) {
        QStringList texts;
        for (QAction* item : form->menu(menu)->actions())
            texts << item->text();
        return texts;
    };
    EXPECT_EQ(items("mnuDatei"), QStringList({"&Beenden"}));
    EXPECT_EQ(items("mnuBlattInfo"), QStringList({"Info ausgeben ..."}));
    EXPECT_EQ(items("mnuTiffOptionen"), QStringList({"setzen / auslesen ..."}));
    EXPECT_EQ(items("mnuHilfe"), QStringList({"Kurzerklärung", "&Über KUP-Tools"}));
    // The drop-down menus are windows of their own, yet show the window's font.
    const QFontInfo windowFont(form->control("cmdExit")->font());
    for (const char* menu : {"mnuDatei", "mnuBlattInfo", "mnuTiffOptionen", "mnuHilfe"}) {
        const QFontInfo shown(form->menu(menu)->font());
        EXPECT_EQ(shown.family(), windowFont.family()) << menu;
        EXPECT_EQ(shown.pixelSize(), windowFont.pixelSize()) << menu;
    }
}

TEST_F(MainWindow, IndicatorsFitTheirControls)
{
    for (const char* name : {"optTS_SaveAsTitleName(0)", "optTS_SaveAsTitleName(1)"}) {
        auto* option = form->control<ui::OptionButton>(name);
        EXPECT_TRUE(option->rect().contains(option->indicatorRect()))
            << name << " " << option->indicatorRect().bottom();
    }
    for (const char* name : {"chkTS_DrwOwnFormat", "chkTS_SaveInDocFolder"}) {
        auto* box = form->control<ui::CheckBox>(name);
        EXPECT_TRUE(box->rect().contains(box->indicatorRect()))
            << name << " " << box->indicatorRect().bottom();
    }
}

TEST_F(MainWindow, SaveInDocFolderSwitchesTheDirectoryFieldAndKeepsItsText)
{
    showActive();
    QTest::mouseClick(saveInDocFolder(), Qt::LeftButton);
    EXPECT_FALSE(saveInDocFolder()->isChecked());
    EXPECT_TRUE(directory()->isEnabled());
    EXPECT_TRUE(chooseButton()->isEnabled());

    directory()->setFocus();
    QTest::keyClicks(directory(), "/daten/tiff");
    QTest::mouseClick(saveInDocFolder(), Qt::LeftButton);
    EXPECT_FALSE(directory()->isEnabled());
    EXPECT_FALSE(chooseButton()->isEnabled());
    EXPECT_EQ(directory()->text(), "/daten/tiff");

    // The program setting the value runs the same handler as a click.
    saveInDocFolder()->setChecked(false);
    EXPECT_TRUE(directory()->isEnabled());
    EXPECT_EQ(directory()->text(), "/daten/tiff");
}

TEST_F(MainWindow, NamingOptionsAreNeverBothSelected)
{
    showActive();
    auto* title = form->control<QRadioButton>("optTS_SaveAsTitleName(0)");
    auto* sheet = form->control<QRadioButton>("optTS_SaveAsTitleName(1)");
    QTest::mouseClick(sheet, Qt::LeftButton);
    EXPECT_TRUE(sheet->isChecked());
    EXPECT_FALSE(title->isChecked());
    QTest::mouseClick(sheet, Qt::LeftButton);  // clicking the selected one keeps it selected
    EXPECT_TRUE(sheet->isChecked());
    QTest::mouseClick(title, Qt::LeftButton, {}, QPoint(title->width() / 2, title->height() - 3));
    EXPECT_TRUE(title->isChecked());
    EXPECT_FALSE(sheet->isChecked());
}

TEST_F(MainWindow, FocusStartsOnBeendenAndTabFollowsTheTabIndex)
{
    showActive();
    EXPECT_EQ(QApplication::focusWidget(), form->control("cmdExit"));
    // Directory field and "..." are disabled, the labels and frames take no focus.
    const char* forward[] = {"chkTS_DrwOwnFormat",    "txtAusgabe",
                             "cmdTS_SaveSheetAsTiff", "optTS_SaveAsTitleName(0)",
                             "chkTS_SaveInDocFolder", "cmdExit"};
    for (const char* name : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "chkTS_SaveInDocFolder");
    // Tab left the multi-line box instead of going into its text.
    EXPECT_TRUE(form->control<QPlainTextEdit>("txtAusgabe")->toPlainText().isEmpty());

    // With the own directory chosen, field and button join the round.
    saveInDocFolder()->setChecked(false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "txtTS_SaveDirectory");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "cmdTS_ChooseSaveDirectory");
}

TEST_F(MainWindow, AltDOpensDateiAndBEndsTheProgram)
{
    showActive();
    const int rc = fake::execAround([&] {
        QTest::keyClick(form.get(), Qt::Key_D, Qt::AltModifier);
        QMenu* datei = form->menu("mnuDatei");
        EXPECT_TRUE(datei->isVisible());
        if (datei->isVisible())
            QTest::keyClick(datei, Qt::Key_B);
    });
    EXPECT_EQ(rc, 0);
}

TEST_F(MainWindow, AltBClicksBeendenWhichEndsTheProgramWhateverIsOpen)
{
    showActive();
    QWidget other;
    other.setWindowTitle("noch offen");
    const int rc = fake::execAround([&] {
        other.show();
        form->activateWindow();
        QTest::keyClick(form.get(), Qt::Key_B, Qt::AltModifier);
    });
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(other.isVisible());
}

TEST_F(MainWindow, WithoutAnEndingActionTheProgramRunsOn)
{
    showActive();
    // The guard in execAround proves it can tell "ended" from "still running".
    EXPECT_EQ(fake::execAround(
                  [&] { QTest::mouseClick(form->control("cmdTS_SaveSheetAsTiff"), Qt::LeftButton); }, 200),
              fake::kNotEnded);
}

TEST(StartUp, FillsTheTablesAndShowsOneMainWindow)
{
    cad::PaperSizeNames.fill("");
    mod_kup_tools::Main();
    EXPECT_FALSE(cad::PaperSizeNames[8].empty());
    auto* main = ui::windows().find<frmMain>();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(ui::windows().show<frmMain>(), main);
    int mainWindows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        mainWindows += qobject_cast<frmMain*>(w) != nullptr && w->isVisible();
    EXPECT_EQ(mainWindows, 1);
    ui::windows().destroyAll();
}

TEST(StartUp, TheProgramEndsWhenItsLastWindowCloses)
{
    QApplication::setQuitOnLastWindowClosed(true);
    mod_kup_tools::Main();
    auto* main = ui::windows().find<frmMain>();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    main->menuItem("mnuAbout")->trigger();
    QPointer<frmAbout> about = ui::windows().find<frmAbout>();
    ASSERT_NE(about, nullptr);
    // The About window opened from the main window outlives it, and so does the program.
    const int afterMain = fake::execAround([main] { main->close(); }, 200);
    const bool aboutOpen = !about.isNull() && about->isVisible();
    const int rc = fake::execAround([about] {
        if (about)
            about->close();
    });
    QApplication::setQuitOnLastWindowClosed(false);
    EXPECT_EQ(afterMain, fake::kNotEnded);
    EXPECT_TRUE(aboutOpen);
    EXPECT_EQ(rc, 0);
    ui::windows().destroyAll();
}
