#include "app/text_box_log.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

class CountingBox : public QPlainTextEdit {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paints;
        QPlainTextEdit::paintEvent(event);
    }
};

struct Log : ::testing::Test {
    CountingBox box;
    ui::TextBoxLog log{&box};
};

} // namespace

TEST_F(Log, ShowsOneLineBreakPerCrLfAndReadsBackCrLf)
{
    log.replace("Zeile 1\r\nZeile 2\r\n");
    EXPECT_EQ(box.toPlainText(), "Zeile 1\nZeile 2\n");
    EXPECT_EQ(box.blockCount(), 3);
    EXPECT_EQ(log.text(), "Zeile 1\r\nZeile 2\r\n");
}

TEST_F(Log, ReplaceMovesTheInsertionPointToTheStart)
{
    log.replace("alt");
    log.insert("neu ");
    EXPECT_EQ(log.text(), "neu alt");
    log.replace("");
    EXPECT_EQ(log.text(), "");
}

TEST_F(Log, InsertContinuesBehindWhatItInserted)
{
    log.replace("");
    log.insert("Überschrift\r\n");
    log.insert("Blatt1 gespeichert\r\n");
    log.insert("*** Fehler: Blatt2\r\n");
    EXPECT_EQ(log.text(), "Überschrift\r\nBlatt1 gespeichert\r\n*** Fehler: Blatt2\r\n");
    EXPECT_EQ(box.document()->findBlockByNumber(1).text(), "Blatt1 gespeichert");
}

TEST_F(Log, InsertGoesWhereTheUserLeftTheCursor)
{
    log.replace("AC");
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(1);
    box.setTextCursor(cursor);
    log.insert("B");
    EXPECT_EQ(log.text(), "ABC");
}

TEST_F(Log, LoneLineEndsBreakTheLineAndCountAsCrLf)
{
    log.replace("a\nb\rc");
    EXPECT_EQ(box.blockCount(), 3);
    EXPECT_EQ(log.text(), "a\r\nb\r\nc");
}

TEST_F(Log, KeepsNoUndoCopyOfTheLines)
{
    log.insert("x\r\n");
    EXPECT_FALSE(box.document()->isUndoAvailable());
}

TEST_F(Log, RefreshPaintsWithoutAnEventLoop)
{
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    log.replace("");
    for (int i = 0; i < 200; ++i)
        log.insert("Zeile\r\n");
    const int paintsBefore = box.paints;
    log.refresh();
    EXPECT_GT(box.paints, paintsBefore);
    // The line just written is in view.
    EXPECT_TRUE(box.viewport()->rect().contains(box.cursorRect()));
}
