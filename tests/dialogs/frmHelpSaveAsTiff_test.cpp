#include "dialogs/frmHelpSaveAsTiff.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

const QString kFirst =
    "Diese Programmfunktion speichert alle einzelnen Blätter einer Solidworkszeichnung (Drawing) als TIFF "
    "ab. Diese "
    "Funktion wird häufig für die Dokumentation oder zur Archivierung in einem PDM-System benötigt.";
const QString kLast = "Klicken Sie den Button EXPORT an, lehnen sich zurück und harren der Dinge die da "
                      "kommen. Der TIFF-Export kann je "
                      "nach Umfang und Einstellungen zwischen wenigen Sekunden und mehreren Dutzend Minuten "
                      "dauern, aber das ist "
                      "vollständig von Solidworks bzw. Ihrer Arbeitsumgebung abhängig, denn dieses "
                      "Progrämmchen läßt Solidworks die "
                      "ganze Arbeit erledigen und sagt SWX nur, was es zu tun hat :-)))";

QPlainTextEdit* box(frmHelpSaveAsTiff* form)
{
    return form->control<QPlainTextEdit>("txtHelpSaveAsTiff");
}

struct Help : ::testing::Test {
    frmHelpSaveAsTiff* form = ui::windows().show<frmHelpSaveAsTiff>();
    void TearDown() override { ui::windows().destroyAll(); }
};

}  // namespace

TEST(HelpText, FifteenParagraphsEachFollowedByTwoLineBreaks)
{
    const QString text = QString::fromStdString(frmHelpSaveAsTiff::helpText());
    EXPECT_EQ(text.size(), 2129);
    EXPECT_EQ(text.count("\r\n"), 30);
    // No line break other than the pairs.
    EXPECT_EQ(text.count('\r'), 30);
    EXPECT_EQ(text.count('\n'), 30);
    QStringList paragraphs = text.split("\r\n\r\n");
    ASSERT_EQ(paragraphs.size(), 16);
    EXPECT_EQ(paragraphs.takeLast(), "");  // the text ends with the two breaks of paragraph 15
    EXPECT_EQ(paragraphs.first(), kFirst);
    EXPECT_EQ(paragraphs.last(), kLast);
    for (const QString& paragraph : paragraphs)
        EXPECT_FALSE(paragraph.isEmpty());
}

TEST_F(Help, BoxShowsOneLineBreakPerPairFromTheTopWithTheFocusInIt)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    EXPECT_EQ(form->windowTitle(), "KUP-Tools für Solidworks - Kurzerklärung");
    QPlainTextEdit* text = box(form);
    EXPECT_EQ(text->toPlainText(),
              QString::fromStdString(frmHelpSaveAsTiff::helpText()).replace("\r\n", "\n"));
    // 30 breaks: 31 lines, every second one empty, the last one after paragraph 15 too.
    EXPECT_EQ(text->document()->blockCount(), 31);
    EXPECT_EQ(text->document()->findBlockByNumber(28).text(), kLast);
    EXPECT_EQ(text->document()->lastBlock().text(), "");
    EXPECT_EQ(text->verticalScrollBar()->value(), 0);
    EXPECT_EQ(text->textCursor().position(), 0);
    EXPECT_FALSE(text->isReadOnly());
    EXPECT_EQ(QApplication::focusWidget(), text);
    EXPECT_EQ(form->control<QPushButton>("cmdOkay")->text(), "Zurück");  // no access key
}

TEST_F(Help, EditsLastUntilClosedAndASecondOpeningKeepsThem)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    QPlainTextEdit* text = box(form);
    QTest::keyClicks(text, "Notiz");
    // Enter breaks the line in the box; Esc does not close the window.
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(text->toPlainText().startsWith("Notiz\n" + kFirst));

    EXPECT_EQ(ui::windows().show<frmHelpSaveAsTiff>(), form);
    EXPECT_TRUE(text->toPlainText().startsWith("Notiz\n"));

    QTest::mouseClick(form->control("cmdOkay"), Qt::LeftButton);
    EXPECT_EQ(ui::windows().find<frmHelpSaveAsTiff>(), nullptr);
    frmHelpSaveAsTiff* again = ui::windows().show<frmHelpSaveAsTiff>();
    EXPECT_TRUE(box(again)->toPlainText().startsWith(kFirst));
    again->close();  // the title bar's close unloads it too
    EXPECT_EQ(ui::windows().find<frmHelpSaveAsTiff>(), nullptr);
}
