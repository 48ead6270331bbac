#include "dialogs/frmHelpSaveAsTiff.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

TEST(Help, ShowsTheTextFromTheTopWithTheFocusInItAndKeepsEditsUntilClosed)
{
    frmHelpSaveAsTiff* form = ui::windows().show<frmHelpSaveAsTiff>();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    auto* text = form->control<QPlainTextEdit>("txtHelpSaveAsTiff");
    const QString help = QString::fromStdString(frmHelpSaveAsTiff::helpText());
    ASSERT_TRUE(help.endsWith("\r\n\r\n"));
    // One line per CR LF, the empty one after the last paragraph too.
    EXPECT_EQ(text->toPlainText(), QString(help).replace("\r\n", "\n"));
    EXPECT_EQ(text->document()->blockCount(), help.count("\r\n") + 1);
    EXPECT_EQ(text->verticalScrollBar()->value(), 0);
    EXPECT_EQ(text->textCursor().position(), 0);
    EXPECT_EQ(QApplication::focusWidget(), text);

    // Enter breaks the line in the box; Esc does not close the window.
    QTest::keyClicks(text, "Notiz");
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(ui::windows().show<frmHelpSaveAsTiff>(), form);
    EXPECT_EQ(text->toPlainText(), "Notiz\n" + QString(help).replace("\r\n", "\n"));

    QTest::mouseClick(form->control("cmdOkay"), Qt::LeftButton);
    EXPECT_EQ(ui::windows().find<frmHelpSaveAsTiff>(), nullptr);
    frmHelpSaveAsTiff* again = ui::windows().show<frmHelpSaveAsTiff>();
    EXPECT_FALSE(again->control<QPlainTextEdit>("txtHelpSaveAsTiff")->toPlainText().startsWith("Notiz"));
    again->close();  // the title bar's close unloads it too
    EXPECT_EQ(ui::windows().find<frmHelpSaveAsTiff>(), nullptr);
}
