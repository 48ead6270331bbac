// The windows the main window opens: one instance each, its own button unloads
// it, and the next opening loads it afresh; each inside the screen's free area,
// and on Windows only the fixed dialogs off the taskbar.
#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelpSaveAsTiff.h"
#include "dialogs/frmOpenDirectory.h"
#include "sheetinfo/frmSheetInfo.h"
#include "tests/dialogs/temp_tree.h"
#include "tiffoptions/frmTIFFOptions.h"
#include "ui/window_registry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Whether the window, frame and title bar included, lies inside the free area of its screen once
// the window system has placed it.
bool insideTheFreeArea(QWidget* window)
{
    const auto inside = [window] {
        return window->screen()->availableGeometry().contains(window->frameGeometry());
    };
    for (QDeadlineTimer placed(10000); !inside() && !placed.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return inside();
}

// On Windows: whether the window stays off the taskbar (it has an owner and asks for no entry of
// its own), and, where given, that owner. Elsewhere the window manager decides.
void expectOffTheTaskbar([[maybe_unused]] QWidget* window, [[maybe_unused]] bool off,
                         [[maybe_unused]] QWidget* owner = nullptr)
{
#ifdef _WIN32
    const auto handle = reinterpret_cast<HWND>(window->winId());
    const HWND ownedBy = GetWindow(handle, GW_OWNER);
    EXPECT_EQ(ownedBy != nullptr && (GetWindowLongPtrW(handle, GWL_EXSTYLE) & WS_EX_APPWINDOW) == 0, off)
        << window->objectName().toStdString();
    if (owner != nullptr)
        EXPECT_EQ(ownedBy, reinterpret_cast<HWND>(owner->winId()));
#endif
}

struct FromMainWindow : ::testing::Test {
    std::unique_ptr<frmMain> main = std::make_unique<frmMain>();
    void TearDown() override { ui::windows().destroyAll(); }

    QLineEdit* directory() const { return main->control<QLineEdit>("txtTS_SaveDirectory"); }
    // "..." with the own directory chosen; answer runs inside the open chooser.
    void choose(const std::function<void(frmOpenDirectory&)>& answer)
    {
        // The user's click on "..." is made in the active main window.
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get(), 10000));
        main->control<QCheckBox>("chkTS_SaveInDocFolder")->setChecked(false);
        fake::ModalAnswer modal([&] {
            frmOpenDirectory* chooser = fake::openChooser();
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(QApplication::activeModalWidget(), chooser);
            EXPECT_TRUE(insideTheFreeArea(chooser));
            // Owned by the window it blocks, it stays in front of it.
            expectOffTheTaskbar(chooser, true, main.get());
            answer(*chooser);
        });
        QTest::mouseClick(main->control("cmdTS_ChooseSaveDirectory"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* window : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<frmOpenDirectory*>(window), nullptr);  // unloaded after use
    }
};

template <class Window> QWidget* found()
{
    return ui::windows().find<Window>();
}

TEST_F(FromMainWindow, EachMenuOpensOneInstanceThatItsButtonUnloads)
{
    main->show();
    EXPECT_TRUE(insideTheFreeArea(main.get()));
    expectOffTheTaskbar(main.get(), false);
    struct Case {
        const char* menu;
        std::function<QWidget*()> find;
        const char* close;  // the window's own button
        bool fixedDialog;
    } const cases[] = {
        {"mnuAbout", found<frmAbout>, "cmdOK", true},
        {"mnuHelpSaveAsTiff", found<frmHelpSaveAsTiff>, "cmdOkay", false},
        {"mnuBlattInfoAusgeben", found<frmSheetInfo>, "cmdBack", false},
        {"mnuTiffOptionSetzenAuslesen", found<frmTIFFOptions>, "cmdBack", false},
        {nullptr, found<frmHelpSaveAsTiff>, "cmdOkay", false},  // the explanation label
    };
    for (const Case& c : cases) {
        const auto open = [&] {
            if (c.menu != nullptr)
                main->menuItem(c.menu)->trigger();
            else
                QTest::mouseClick(main->control("lblErklaerung"), Qt::LeftButton);
            return c.find();
        };
        SCOPED_TRACE(c.menu ? c.menu : "lblErklaerung");
        auto* first = qobject_cast<ui::Form*>(open());
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(first->isVisible());
        EXPECT_TRUE(insideTheFreeArea(first));
        expectOffTheTaskbar(first, c.fixedDialog);
        first->setWindowTitle("geändert");
        EXPECT_EQ(open(), first);
        EXPECT_EQ(first->windowTitle(), "geändert");  // not loaded again
        first->hide();                                // and shown again later
        first->show();
        expectOffTheTaskbar(first, c.fixedDialog);
        QTest::mouseClick(first->control(c.close), Qt::LeftButton);
        EXPECT_EQ(c.find(), nullptr);
        QWidget* again = open();
        EXPECT_NE(again->windowTitle(), "geändert");
        expectOffTheTaskbar(again, c.fixedDialog);
        ui::windows().destroyAll();
    }
}

TEST_F(FromMainWindow, SheetInfosAboutButtonOpensTheMainMenusAboutWhichOutlivesIt)
{
    main->menuItem("mnuBlattInfoAusgeben")->trigger();
    auto* info = ui::windows().find<frmSheetInfo>();
    QTest::mouseClick(info->control("cmdAbout"), Qt::LeftButton);
    frmAbout* about = ui::windows().find<frmAbout>();
    ASSERT_NE(about, nullptr);
    main->menuItem("mnuAbout")->trigger();
    EXPECT_EQ(ui::windows().find<frmAbout>(), about);
    QTest::mouseClick(info->control("cmdBack"), Qt::LeftButton);
    EXPECT_EQ(ui::windows().find<frmAbout>(), about);
}

TEST_F(FromMainWindow, ChosenFolderStandsInTheFieldAndCancelOrCloseEmptyIt)
{
    fake::TempTree tree;
    main->show();
    choose([&](frmOpenDirectory& chooser) {
        auto* dir1 = chooser.control<QListWidget>("Dir1");
        dir1->setCurrentItem(fake::entryOf(chooser, tree.path("beta")));
        QTest::keyClick(dir1, Qt::Key_Return);
        QTest::mouseClick(chooser.control("cmdOkay"), Qt::LeftButton);
    });
    EXPECT_EQ(directory()->text(), tree.path("beta"));

    // Opened afresh at the process's current directory, not at the last choice or the field's text.
    choose([&](frmOpenDirectory& chooser) {
        EXPECT_EQ(chooser.currentPath(), tree.path());
        QTest::mouseClick(chooser.control("cmdAbbruch"), Qt::LeftButton);
    });
    EXPECT_EQ(directory()->text(), "");

    directory()->setText(tree.path("Alpha"));
    choose([&](frmOpenDirectory& chooser) { chooser.close(); });
    EXPECT_EQ(directory()->text(), "");
}

}  // namespace
