#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelpSaveAsTiff.h"
#include "dialogs/frmOpenDirectory.h"
#include "tests/dialogs/temp_tree.h"
#include "tests/support/qt_print.h"
#include "ui/window_registry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

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
            answer(*chooser);
        });
        QTest::mouseClick(main->control("cmdTS_ChooseSaveDirectory"), Qt::LeftButton);
    }
};

void openAndAccept(frmOpenDirectory& chooser, const QString& path)
{
    auto* dir1 = chooser.control<QListWidget>("Dir1");
    for (int i = 0; i < dir1->count(); ++i)
        if (dir1->item(i)->data(Qt::UserRole).toString() == path) {
            const QPoint at = dir1->visualItemRect(dir1->item(i)).center();
            QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, at);
        }
    QTest::mouseClick(chooser.control("cmdOkay"), Qt::LeftButton);
}

int openChoosers()
{
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += qobject_cast<frmOpenDirectory*>(window) != nullptr;
    return count;
}

}  // namespace

TEST_F(FromMainWindow, AboutMenuOpensOneAboutWindow)
{
    main->menuItem("mnuAbout")->trigger();
    frmAbout* about = ui::windows().find<frmAbout>();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "KUP_Tools-Info");
    main->menuItem("mnuAbout")->trigger();
    EXPECT_EQ(ui::windows().find<frmAbout>(), about);
}

TEST_F(FromMainWindow, MenuAndExplanationLabelOpenTheSameHelpWindow)
{
    main->menuItem("mnuHelpSaveAsTiff")->trigger();
    frmHelpSaveAsTiff* help = ui::windows().find<frmHelpSaveAsTiff>();
    ASSERT_NE(help, nullptr);
    main->show();
    QTest::mouseClick(main->control("lblErklaerung"), Qt::LeftButton);
    EXPECT_EQ(ui::windows().find<frmHelpSaveAsTiff>(), help);
    help->close();
    QTest::mouseClick(main->control("lblErklaerung"), Qt::LeftButton);
    EXPECT_NE(ui::windows().find<frmHelpSaveAsTiff>(), nullptr);
}

TEST_F(FromMainWindow, ChosenFolderStandsInTheFieldAndCancelOrCloseEmptyIt)
{
    fake::TempTree tree;
    main->show();
    choose([&](frmOpenDirectory& chooser) {
        EXPECT_EQ(QApplication::activeModalWidget(), &chooser);
        openAndAccept(chooser, tree.path("beta"));
    });
    EXPECT_EQ(directory()->text(), tree.path("beta"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openChoosers(), 0);  // unloaded after use

    // Opened afresh at the process's current directory, not at the last choice or the field's text.
    choose([&](frmOpenDirectory& chooser) {
        EXPECT_EQ(chooser.currentPath(), tree.path());
        QTest::mouseClick(chooser.control("cmdAbbruch"), Qt::LeftButton);
    });
    EXPECT_EQ(directory()->text(), "");

    directory()->setText(tree.path("Alpha"));
    choose([&](frmOpenDirectory& chooser) { chooser.close(); });
    EXPECT_EQ(directory()->text(), "");
    EXPECT_EQ(openChoosers(), 0);
}
