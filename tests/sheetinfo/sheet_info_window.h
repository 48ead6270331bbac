// What the sheet information window tests share: regional settings as the
// program takes them and the window's controls by name.
#pragma once

#include "sheetinfo/frmSheetInfo.h"

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
