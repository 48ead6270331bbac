// The windows the main window opens: one instance each, its own button unloads
// it, and the next opening loads it afresh.
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
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct FromMainWindow : ::testing::Test {
    std::unique_ptr<frmMain> main = std::make_unique<frmMain>();
    void TearDown() override { ui::windows().destroyAll(); }

    QLineEdit* directory() const { return main->control<QLineEdit>("txtTS_SaveDirectory"); }
    // "..." with the own directory chosen; answer runs inside the open chooser.
    void choose(const std::function<void(frmOpenDirectory&)>& answer)
    {
        main->control<QCheckBox>("chkTS_SaveInDocFolder")->setChecked(false);
        fake::ModalAnswer modal([&] {
            frmOpenDirectory* chooser = fake::openChooser();
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(QApplication::activeModalWidget(), chooser);
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
    struct Case {
        const char* menu;
        std::function<QWidget*()> find;
        const char* close;  // the window's own button
    } const cases[] = {
        {"mnuAbout", found<frmAbout>, "cmdOK"},
        {"mnuHelpSaveAsTiff", found<frmHelpSaveAsTiff>, "cmdOkay"},
        {"mnuBlattInfoAusgeben", found<frmSheetInfo>, "cmdBack"},
        {"mnuTiffOptionSetzenAuslesen", found<frmTIFFOptions>, "cmdBack"},
        {nullptr, found<frmHelpSaveAsTiff>, "cmdOkay"},  // the explanation label
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
        first->setWindowTitle("geändert");
        EXPECT_EQ(open(), first);
        EXPECT_EQ(first->windowTitle(), "geändert");  // not loaded again
        QTest::mouseClick(first->control(c.close), Qt::LeftButton);
        EXPECT_EQ(c.find(), nullptr);
        EXPECT_NE(open()->windowTitle(), "geändert");
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
