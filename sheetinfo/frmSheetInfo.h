// The sheet information window: the properties of one sheet of the active
// drawing in fields, a list to choose the sheet, and the report over all sheets.
#pragma once

#include "ui/qt_message_boxes.h"
#include "ui/text_box_log.h"
#include "ui/window_builder.h"

#include <functional>
#include <string>

class frmSheetInfo : public ui::Form {
    Q_OBJECT
public:
    // boxes: where the window's message boxes go; null shows them on the screen.
    explicit frmSheetInfo(kup::MessageBoxes* boxes = nullptr, QWidget* parent = nullptr);

    void KupTools_ClearAllTextfields();
    void KupTools_FillKupInfo(const std::string& ActiveSheet);
    void KupTools_HoleKupInfo();
    void KupTools_HoleAlleKupInfos();

private slots:
    void cmdGetActiveSheet_Click();
    void cmbDrawingNames_Click(int index);
    void cmdHoleKupInfos_Click();
    void cmdAbout_Click();
    void cmdBack_Click();

private:
    void Form_Load();
    void fillKupInfo(const std::string& sheetName);
    void holeKupInfo();
    // Selecting in code is a choice too; Qt would stay silent when the index
    // does not change, so the handler is called here, once, either way.
    void selectSheet(int index);
    // Runs an operation started by the user. An automation error ends the whole
    // operation, including any nested in it, with one box; the window stays usable.
    void operation(const std::function<void()>& body);

    ui::QtMessageBoxes screenBoxes_;
    kup::MessageBoxes& boxes_;
    ui::TextBoxLog ausgabe_;
    bool inOperation_ = false;
};
