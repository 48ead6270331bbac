#include "dialogs/drives.h"
#include "dialogs/frmOpenDirectory.h"
#include "tests/dialogs/temp_tree.h"
#include "tests/support/qt_print.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_WIN
// A drive letter whose target does not exist, as a network drive that is not connected: Windows
// lists it, and nothing on it can be read. Defined for the case's lifetime.
std::shared_ptr<const wchar_t> driveWithoutTarget()
{
    static wchar_t drive[] = L"Y:";
    while (drive[0] > L'D' && ((GetLogicalDrives() >> (drive[0] - L'A')) & 1) != 0)
        --drive[0];
    DefineDosDeviceW(0, drive, L"C:\\kup-ohne-ziel");
    return {drive, [](const wchar_t* name) { DefineDosDeviceW(DDD_REMOVE_DEFINITION, name, nullptr); }};
}
#endif

struct Chooser : ::testing::Test {
    fake::TempTree tree;
    std::unique_ptr<frmOpenDirectory> form = std::make_unique<frmOpenDirectory>();

    QListWidget* dir1() const { return form->control<QListWidget>("Dir1"); }
    QComboBox* drive1() const { return form->control<QComboBox>("Drive1"); }
    QPushButton* okay() const { return form->control<QPushButton>("cmdOkay"); }
    QPushButton* abbruch() const { return form->control<QPushButton>("cmdAbbruch"); }

    QListWidgetItem* entry(const QString& path) const { return fake::entryOf(*form, path); }
    void doubleClick(const QString& path)
    {
        QListWidgetItem* item = entry(path);
        ASSERT_NE(item, nullptr);
        const QPoint at = dir1()->visualItemRect(item).center();
        // A double click is preceded by a click, as on the screen.
        QTest::mouseClick(dir1()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(dir1()->viewport(), Qt::LeftButton, {}, at);
    }
    // Shows the chooser modal, runs action inside, and returns once it has been hidden.
    void runModal(const std::function<void()>& action)
    {
        fake::ModalAnswer answer(action);
        form->showModal();
    }
};

}  // namespace

TEST_F(Chooser, OpensModalAtTheCurrentDirectoryWithItsChainAndSubDirectoriesThatMayBeGone)
{
    EXPECT_EQ(form->currentPath(), tree.path());
    EXPECT_TRUE(form->Tag().isEmpty());
    // The chain from the root down to the open directory, then its sub-directories.
    QStringList paths;
    for (int i = 0; i < dir1()->count(); ++i)
        paths << dir1()->item(i)->data(Qt::UserRole).toString();
    ASSERT_GE(paths.size(), 3);
    EXPECT_EQ(paths.first(), kup::resultPath(QDir::rootPath()));
    EXPECT_EQ(paths.mid(paths.size() - 3), QStringList({tree.path(), tree.path("Alpha"), tree.path("beta")}));
    EXPECT_EQ(dir1()->currentItem()->data(Qt::UserRole).toString(), tree.path());
    EXPECT_EQ(drive1()->currentText(), kup::driveOf(tree.path(), kup::systemDrives()));

    // Modal without an owner; Enter or Esc press no button.
    runModal([&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        EXPECT_EQ(QApplication::activeModalWidget(), form.get());
        EXPECT_EQ(form->parentWidget(), nullptr);
        QTest::keyClick(drive1(), Qt::Key_Escape);
        QTest::keyClick(drive1(), Qt::Key_Return);
        dir1()->setFocus();
        QTest::keyClick(dir1(), Qt::Key_Escape);
        EXPECT_TRUE(form->isVisible());
        QTest::mouseClick(abbruch(), Qt::LeftButton);
    });
    EXPECT_TRUE(form->Tag().isEmpty());

    // A directory removed meanwhile cannot be opened and the list stays.
    ASSERT_TRUE(QDir(tree.path("Alpha")).removeRecursively());
    form->show();
    doubleClick(tree.path("Alpha"));
    EXPECT_EQ(form->currentPath(), tree.path());
    EXPECT_TRUE(form->findChild<QLabel*>("lblHinweis")->isVisible());
    QTest::mouseClick(okay(), Qt::LeftButton);
    EXPECT_EQ(form->Tag(), tree.path());
}

TEST_F(Chooser, UbernehmenReturnsTheDirectoryOpenedByDoubleClickAbbruchAndCloseReturnNothing)
{
    runModal([&] {
        doubleClick(tree.path("beta"));
        doubleClick(tree.path("beta/gamma"));
        EXPECT_TRUE(form->Tag().isEmpty());  // set only by the buttons
        // A single click only highlights.
        QListWidgetItem* beta = entry(tree.path("beta"));
        QTest::mouseClick(dir1()->viewport(), Qt::LeftButton, {}, dir1()->visualItemRect(beta).center());
        QTest::mouseClick(okay(), Qt::LeftButton);
    });
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->Tag(), tree.path("beta/gamma"));

    // The root's own form, with its separator, is the result-path rule's matter.
    runModal([&] {
        doubleClick(kup::resultPath(QDir::rootPath()));
        QTest::mouseClick(okay(), Qt::LeftButton);
    });
    EXPECT_EQ(form->Tag(), kup::resultPath(QDir::rootPath()));
    for (const auto& cancel : {std::function<void()>([&] { QTest::mouseClick(abbruch(), Qt::LeftButton); }),
                               std::function<void()>([&] { form->close(); })}) {
        runModal([&] { QTest::mouseClick(okay(), Qt::LeftButton); });
        runModal(cancel);
        EXPECT_FALSE(form->isVisible());
        EXPECT_TRUE(form->Tag().isEmpty());
    }
}

TEST(ChooserDrives, AnotherDriveMovesTheListAndAnUnreadableOneKeepsItWithANote)
{
    fake::TempTree tree;
    const QString root = kup::resultPath(QDir::rootPath());
#ifdef Q_OS_WIN
    const auto unready = driveWithoutTarget();
    const QString missing = QString::fromWCharArray(unready.get()) + "\\";
    EXPECT_TRUE(kup::systemDrives().contains(missing));
#else
    const QString missing = kup::resultPath(QDir::rootPath() + "kup-ohne-medium");
#endif
    const QString distant = kup::resultPath(QDir::rootPath() + "kup-netz/" + QString(60, 'x') + "/ende");
    frmOpenDirectory form({root, tree.path("beta"), missing, distant});
    auto* drive1 = form.control<QComboBox>("Drive1");
    auto* note = form.findChild<QLabel*>("lblHinweis");
    ASSERT_NE(note, nullptr);
    form.show();
    EXPECT_EQ(drive1->currentText(), root);
    EXPECT_FALSE(note->isVisible());

    drive1->setCurrentIndex(drive1->findText(tree.path("beta")));
    EXPECT_EQ(form.currentPath(), tree.path("beta"));
    EXPECT_TRUE(form.Tag().isEmpty());

    QWidget* list = form.control("Dir1");
    const QRect listBefore = list->geometry();
    drive1->setCurrentIndex(drive1->findText(missing));
    EXPECT_EQ(form.currentPath(), tree.path("beta"));
    EXPECT_EQ(drive1->currentText(), tree.path("beta"));
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().contains(missing)) << note->text().toStdString();
    // The note takes room from the list instead of covering its entries.
    EXPECT_FALSE(note->geometry().intersects(list->geometry()));
    EXPECT_LT(list->height(), listBefore.height());
    EXPECT_TRUE(list->isEnabled());
    // The whole note shows, wrapped within the window; only a long path is shortened.
    for (const QString& drive : {missing, distant}) {
        drive1->setCurrentIndex(drive1->findText(drive));
        EXPECT_TRUE(note->text().endsWith("\nDas geöffnete Verzeichnis bleibt, wie es war."));
        EXPECT_GE(note->height(), note->heightForWidth(note->width())) << drive.toStdString();
        EXPECT_LE(note->geometry().right(), listBefore.right());
        EXPECT_LE(note->fontMetrics().horizontalAdvance(note->text().section('\n', 0, 0)),
                  note->contentsRect().width() - 2 * note->margin());
    }

    // The process's current directory lies on the root drive: choosing it goes there.
    drive1->setCurrentIndex(drive1->findText(root));
    EXPECT_EQ(form.currentPath(), tree.path());
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(list->geometry(), listBefore);
}

TEST(ChooserStart, ACurrentDirectoryRemovedMeanwhileOpensItsDriveWithANote)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Windows removes no directory that a process has as its current one";
#endif
    QTemporaryDir gone;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(gone.path()));
    ASSERT_TRUE(gone.remove());
    frmOpenDirectory form;
    QDir::setCurrent(previous);
    form.show();
    EXPECT_FALSE(form.currentPath().isEmpty());
    EXPECT_TRUE(QFileInfo(form.currentPath()).isDir());
    EXPECT_TRUE(form.findChild<QLabel*>("lblHinweis")->isVisible());
    QTest::mouseClick(form.control("cmdOkay"), Qt::LeftButton);
    EXPECT_EQ(form.Tag(), form.currentPath());
}
