#include "app/frmMain.h"
#include "app/mod_kup_tools.h"
#include "cad/size_tables.h"
#include "dialogs/frmAbout.h"
#include "tests/support/event_loop.h"
#include "ui/controls.h"
#include "ui/window_registry.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct MainWindow : ::testing::Test {
    std::unique_ptr<frmMain> form = std::make_unique<frmMain>();

    QCheckBox* saveInDocFolder() const { return form->control<QCheckBox>("chkTS_SaveInDocFolder"); }
    void showActive()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
};

}  // namespace

TEST_F(MainWindow, MenusShowTheWindowsFontAndIndicatorsFitTheirControls)
{
    // The drop-down menus are windows of their own, yet show the window's font.
    const QFontInfo windowFont(form->control("cmdExit")->font());
#ifdef Q_OS_WIN
    // Never the bitmap face, which Qt draws a size too large; its outline twin.
    EXPECT_EQ(windowFont.family(), "Microsoft Sans Serif");
#endif
    for (const char* menu : {"mnuDatei", "mnuBlattInfo", "mnuTiffOptionen", "mnuHilfe"}) {
        const QFontInfo shown(form->menu(menu)->font());
        EXPECT_EQ(shown.family(), windowFont.family()) << menu;
        EXPECT_EQ(shown.pixelSize(), windowFont.pixelSize()) << menu;
    }
    for (const char* name : {"optTS_SaveAsTitleName(0)", "optTS_SaveAsTitleName(1)"}) {
        auto* option = form->control<ui::OptionButton>(name);
        EXPECT_TRUE(option->rect().contains(option->indicatorRect())) << name;
    }
    for (const char* name : {"chkTS_DrwOwnFormat", "chkTS_SaveInDocFolder"}) {
        auto* box = form->control<ui::CheckBox>(name);
        EXPECT_TRUE(box->rect().contains(box->indicatorRect())) << name;
    }
}

TEST_F(MainWindow, SaveInDocFolderSwitchesTheDirectoryFieldAndItsButtonAndKeepsTheText)
{
    // Ticked on loading, which runs the handler and closes both: the window's reference file.
    showActive();
    QTest::mouseClick(saveInDocFolder(), Qt::LeftButton);
    EXPECT_TRUE(form->control("cmdTS_ChooseSaveDirectory")->isEnabled());
    auto* directory = form->control<QLineEdit>("txtTS_SaveDirectory");
    directory->setFocus();
    QTest::keyClicks(directory, "/daten/tiff");
    saveInDocFolder()->setChecked(true);  // the program setting it runs the same handler
    EXPECT_FALSE(directory->isEnabled());
    EXPECT_FALSE(form->control("cmdTS_ChooseSaveDirectory")->isEnabled());
    EXPECT_EQ(directory->text(), "/daten/tiff");
}

// The tab order itself is the window's reference file's matter.
TEST_F(MainWindow, TabLeavesTheLogBoxInsteadOfGoingIntoItsText)
{
    showActive();
    auto* log = form->control<QPlainTextEdit>("txtAusgabe");
    log->setFocus();
    QTest::keyClick(log, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->control("cmdTS_SaveSheetAsTiff"));
    EXPECT_TRUE(log->toPlainText().isEmpty());
}

TEST_F(MainWindow, AltDOpensDateiAndBEndsTheProgram)
{
    showActive();
    EXPECT_EQ(fake::execAround([&] {
                  QTest::keyClick(form.get(), Qt::Key_D, Qt::AltModifier);
                  QMenu* datei = form->menu("mnuDatei");
                  EXPECT_TRUE(datei->isVisible());
                  if (datei->isVisible())
                      QTest::keyClick(datei, Qt::Key_B);
              }),
              0);
}

TEST_F(MainWindow, AltBClicksBeendenWhichEndsTheProgramWhateverIsOpen)
{
    showActive();
    QWidget other;
    EXPECT_EQ(fake::execAround([&] {
                  other.show();
                  form->activateWindow();
                  QTest::keyClick(form.get(), Qt::Key_B, Qt::AltModifier);
              }),
              0);
    EXPECT_TRUE(other.isVisible());
}

TEST(StartUp, FillsTheTablesShowsOneMainWindowAndEndsWhenItsLastWindowCloses)
{
    cad::PaperSizeNames.fill("");
    QApplication::setQuitOnLastWindowClosed(true);
    mod_kup_tools::Main();
    EXPECT_FALSE(cad::PaperSizeNames[8].empty());
    auto* main = ui::windows().find<frmMain>();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    int mainWindows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        mainWindows += qobject_cast<frmMain*>(w) != nullptr && w->isVisible();
    EXPECT_EQ(mainWindows, 1);
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
