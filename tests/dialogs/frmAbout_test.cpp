#include "dialogs/frmAbout.h"
#include "tests/support/fake_launcher.h"
#include "tests/support/memory_registry.h"
#include "tests/support/message_recorder.h"
#include "ui/qt_message_boxes.h"

#include <QTest>

#include <gtest/gtest.h>

// Which program the button starts is the lookup's matter; the window only has to ask it.
TEST(About, EnterOrEscCloseItAndSystemInfoStartsTheProgramWithTheWindowStayingOpen)
{
    fake::MemoryRegistry registry;
    fake::Launcher launcher;
    fake::MessageRecorder messages;
    const ui::ScopedMessageBoxes installed{messages};
    frmAbout form(registry, launcher);
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.control("picIcon")->setFocus();  // Enter anywhere, also with no button focused
        QTest::keyClick(&form, key);
        EXPECT_FALSE(form.isVisible()) << key;
    }

    form.show();
    registry.setText("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "C:\\Tools\\msinfo32.exe");
    launcher.files.insert("C:\\Tools\\msinfo32.exe");
    QTest::mouseClick(form.control("cmdSysInfo"), Qt::LeftButton);
    EXPECT_EQ(launcher.started, std::vector<std::string>{"C:\\Tools\\msinfo32.exe"});
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(form.isVisible());
}
