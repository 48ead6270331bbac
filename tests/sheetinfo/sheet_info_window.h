// What the sheet information window tests share: regional settings as the
// program takes them, the window's controls by name, and message boxes that
// also note what the report box showed while they were up.
#pragma once

#include "sheetinfo/frmSheetInfo.h"
#include "tests/support/message_recorder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>

#include <string>
#include <vector>

namespace sheetinfotest {

// The locale for the windows and the decimal separator for the number texts,
// both from one regional setting, as the program does at start.
void useRegionalSettings(const QLocale& locale);

struct Boxes : fake::MessageRecorder {
    QPlainTextEdit* report = nullptr;  // its text is noted with every box
    std::vector<std::string> reportWhileShown;
    void show(const std::string& text, const std::string& title, kup::Icon icon) override
    {
        MessageRecorder::show(text, title, icon);
        if (report != nullptr)
            reportWhileShown.push_back(report->toPlainText().toStdString());
    }
};

// The eight property fields, in the window's order.
std::vector<std::string> fields(const frmSheetInfo& form);
std::vector<std::string> listEntries(const frmSheetInfo& form);
// The report box's text with its line breaks as CR LF.
std::string reportText(const frmSheetInfo& form);
// Chooses an entry as the user does: with the arrow keys when it is another
// one, through the open list and Enter when it is the one shown.
void choose(frmSheetInfo& form, int index);
void click(frmSheetInfo& form, const char* button);

}  // namespace sheetinfotest
