// The export help window: a short guide to the sheet export in an editable box.
#pragma once

#include "ui/window_builder.h"

#include <string>

class frmHelpSaveAsTiff : public ui::Form {
    Q_OBJECT
public:
    frmHelpSaveAsTiff();

    // The guide as the window loads it: every paragraph followed by two CR LF.
    static std::string helpText();

private slots:
    void cmdOkay_Click();

private:
    void Form_Load();
};
