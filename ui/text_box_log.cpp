#include "ui/text_box_log.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace ui {

namespace {

// A CR LF pair is one line break on the screen; so is a lone LF. A lone CR
// has no line of its own there either, so it breaks the line too rather than
// showing as a box glyph.
QString forScreen(const std::string& text)
{
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

}  // namespace

TextBoxLog::TextBoxLog(QPlainTextEdit* box) : box_(box)
{
    box_->setUndoRedoEnabled(false);
}

void TextBoxLog::replace(const std::string& text)
{
    box_->setPlainText(forScreen(text));
    QTextCursor cursor = box_->textCursor();
    cursor.movePosition(QTextCursor::Start);
    box_->setTextCursor(cursor);
}

void TextBoxLog::insert(const std::string& text)
{
    QTextCursor cursor = box_->textCursor();
    cursor.insertText(forScreen(text));
    box_->setTextCursor(cursor);
}

void TextBoxLog::refresh()
{
    // The run holds the UI thread, so no paint event would arrive before it ends.
    box_->ensureCursorVisible();
    box_->repaint();
}

std::string TextBoxLog::text() const
{
    QString text = box_->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toStdString();
}

}  // namespace ui
