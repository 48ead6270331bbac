#include "dialogs/frmAbout.h"
#include "tests/support/fake_launcher.h"
#include "tests/support/memory_registry.h"
#include "tests/support/message_recorder.h"
#include "tests/support/qt_print.h"
#include "ui/controls.h"
#include "ui/qt_message_boxes.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const char* const kUnavailable = "System-Informationen sind augenblicklich nicht verfügbar.";

struct About : ::testing::Test {
    fake::MemoryRegistry registry;
    fake::Launcher launcher;
    fake::MessageRecorder messages;
    ui::ScopedMessageBoxes installed{messages};
    std::unique_ptr<frmAbout> form = std::make_unique<frmAbout>(registry, launcher);

    QString text(const char* label) const { return form->control<QLabel>(label)->text(); }
    void showActive()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
};

}  // namespace

TEST_F(About, TextsAreSetWhenTheWindowLoads)
{
    EXPECT_EQ(form->windowTitle(), "KUP_Tools-Info");
    EXPECT_EQ(text("lblTitle"), "KUP_Tools");
    EXPECT_EQ(text("lblVersion"), "Version 1.2.0");
    EXPECT_EQ(
        text("lblDescription"),
        "KUP-Tools sind eine Sammlung von einfachen Tools zur Bearbeitung von Solidworks-Drawings. Der Autor "
        "übernimmt keinerlei Haftung für die korrekte Arbeit dieser Tools.");
    // A copyright line, then a contact line.
    const QStringList lines = text("lblDisclaimer").split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Copyright"));
    EXPECT_TRUE(lines[1].contains("E-Mail"));
}

TEST_F(About, EngravedSeparatorIsGreyUnderWhite)
{
    auto* grey = form->control<ui::LineWidget>("Line1(1)");
    auto* white = form->control<ui::LineWidget>("Line1(0)");
    ASSERT_NE(grey, nullptr);
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(grey->color(), QColor(128, 128, 128));
    EXPECT_EQ(white->color(), QColor(255, 255, 255));
    // Drawn in table order: the white line lies over the grey one, a pixel lower.
    const QObjectList siblings = grey->parent()->children();
    EXPECT_LT(siblings.indexOf(grey), siblings.indexOf(white));
    EXPECT_EQ(white->from().y() - grey->from().y(), 1);
}

TEST_F(About, FixedSizeFocusOnOkAndEnterOrEscCloseIt)
{
    showActive();
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(QApplication::focusWidget(), form->control("cmdOK"));
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());

    showActive();
    // Enter anywhere in the window, also with the picture box or no button focused.
    form->control("picIcon")->setFocus();
    QTest::keyClick(form.get(), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(About, SystemInfoSaysWhenThereIsNoProgramAndStartsTheRegisteredOneWithTheWindowStayingOpen)
{
    showActive();
    QTest::keyClick(form.get(), Qt::Key_S, Qt::AltModifier);
    // An access key clicks the button visibly, a moment later.
    QTest::qWaitFor([&] { return !messages.messages.empty(); }, 1000);
    EXPECT_EQ(messages.messages, (std::vector<fake::Message>{{kUnavailable, "KUP_Tools", kup::Icon::None}}));
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_EQ(registry.openKeys(), 0);

    messages.messages.clear();
    registry.setText("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "C:\\Tools\\msinfo32.exe");
    launcher.files.insert("C:\\Tools\\msinfo32.exe");
    QTest::mouseClick(form->control("cmdSysInfo"), Qt::LeftButton);
    EXPECT_EQ(launcher.started, std::vector<std::string>{"C:\\Tools\\msinfo32.exe"});
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(form->isVisible());
}

TEST(AboutWindow, OpensOnceAndLoadsAfreshAfterOk)
{
    frmAbout* first = ui::windows().show<frmAbout>();
    first->setWindowTitle("geändert");
    EXPECT_EQ(ui::windows().show<frmAbout>(), first);
    EXPECT_EQ(first->windowTitle(), "geändert");  // not loaded again

    QTest::mouseClick(first->control("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(ui::windows().find<frmAbout>(), nullptr);
    frmAbout* second = ui::windows().show<frmAbout>();
    EXPECT_EQ(second->windowTitle(), "KUP_Tools-Info");
    ui::windows().destroyAll();
}
