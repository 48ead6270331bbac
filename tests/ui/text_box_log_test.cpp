#include "ui/text_box_log.h"

#include <QPlainTextEdit>
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

}  // namespace

TEST_F(Log, ShowsOneLineBreakPerLineEndAndReadsBackCrLf)
{
    // Lone line ends count as CR LF.
    for (const auto& [given, lines, readBack] :
         {std::tuple{"Zeile 1\r\nZeile 2\r\n", 3, "Zeile 1\r\nZeile 2\r\n"},
          {"a\nb\rc", 3, "a\r\nb\r\nc"},
          {"", 1, ""}}) {
        log.replace(given);
        EXPECT_EQ(box.blockCount(), lines) << given;
        EXPECT_EQ(log.text(), readBack) << given;
    }
}

TEST_F(Log, InsertGoesToTheInsertionPointAndContinuesBehindWhatItInserted)
{
    log.replace("alt");
    log.insert("neu ");  // replace put the insertion point at the start
    log.insert("Überschrift\r\n");
    EXPECT_EQ(log.text(), "neu Überschrift\r\nalt");
    EXPECT_FALSE(box.document()->isUndoAvailable());  // no undo copy of the lines

    // Where the user left the cursor.
    log.replace("AC");
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(1);
    box.setTextCursor(cursor);
    log.insert("B");
    EXPECT_EQ(log.text(), "ABC");
}

TEST_F(Log, RefreshPaintsWithoutAnEventLoopWithTheLastLineInView)
{
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    log.replace("");
    for (int i = 0; i < 200; ++i)
        log.insert("Zeile\r\n");
    const int paintsBefore = box.paints;
    log.refresh();
    EXPECT_GT(box.paints, paintsBefore);
    EXPECT_TRUE(box.viewport()->rect().contains(box.cursorRect()));
}
