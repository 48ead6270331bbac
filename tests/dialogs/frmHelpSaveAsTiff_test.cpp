#include "dialogs/frmHelpSaveAsTiff.h"
#include "tests/support/test_data.h"
#include "ui/window_registry.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

TEST(Help, ShowsTheTextFromTheTopAndKeepsEditsUntilClosed)
{
    frmHelpSaveAsTiff* form = ui::windows().show<frmHelpSaveAsTiff>();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    auto* text = form->control<QPlainTextEdit>("txtHelpSaveAsTiff");
    // Each paragraph one line, an empty line after it, the last one too.
    const QString help = QString::fromStdString(fake::dataText("help_text.txt", "\n\n"));
    EXPECT_EQ(text->toPlainText(), help);
    EXPECT_EQ(text->verticalScrollBar()->value(), 0);
    EXPECT_EQ(text->textCursor().position(), 0);

    // Enter breaks the line in the box; Esc does not close the window.
    QTest::keyClicks(text, "Notiz");
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(ui::windows().show<frmHelpSaveAsTiff>(), form);
    EXPECT_EQ(text->toPlainText(), "Notiz\n" + help);

    QTest::mouseClick(form->control("cmdOkay"), Qt::LeftButton);
    EXPECT_EQ(ui::windows().find<frmHelpSaveAsTiff>(), nullptr);
    frmHelpSaveAsTiff* again = ui::windows().show<frmHelpSaveAsTiff>();
    EXPECT_FALSE(again->control<QPlainTextEdit>("txtHelpSaveAsTiff")->toPlainText().startsWith("Notiz"));
    again->close();  // the title bar's close unloads it too
    EXPECT_EQ(ui::windows().find<frmHelpSaveAsTiff>(), nullptr);
}
