// A window's output log over a multi-line text box. The core writes CR LF line ends;
// the box shows one line break for each and hands them back as CR LF (a lone CR
// or LF breaks the line too, and reads back as CR LF).
#pragma once

#include "screen/output_log.h"

#include <string>

class QPlainTextEdit;

namespace ui {

class TextBoxLog : public kup::OutputLog {
public:
    // Turns off the box's undo history, which would otherwise keep a copy of every line.
    explicit TextBoxLog(QPlainTextEdit* box);

    void replace(const std::string& text) override;
    // Costs the same per line however long the log already is: the text goes
    // into the document at the cursor, nothing is rebuilt.
    void insert(const std::string& text) override;
    void refresh() override;

    // The log as the core wrote it, line ends as CR LF.
    std::string text() const;

private:
    QPlainTextEdit* box_;
};

}  // namespace ui
