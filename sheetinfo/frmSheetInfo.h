// The sheet information window: the properties of one sheet of the active
// drawing in fields, a list to choose the sheet, and the report over all sheets.
#pragma once

#include "ui/text_box_log.h"
#include "ui/window_builder.h"

#include <array>
#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class frmSheetInfo : public ui::Form {
    Q_OBJECT
public:
    explicit frmSheetInfo(QWidget* parent = nullptr);

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
    // does not change, so the choice's work is done here, once, either way.
    void selectSheet(int index);
    // Runs an operation started by the user. An automation error ends it with one box; the window
    // stays usable.
    void reportingCadFailure(const std::function<void()>& body);

    // The controls, resolved once when the window loads.
    QPushButton* const cmdGetActiveSheet;
    QPushButton* const cmdHoleKupInfos;
    QPushButton* const cmdAbout;
    QPushButton* const cmdBack;
    QComboBox* const cmbDrawingNames;
    QPlainTextEdit* const txtAusgabe;
    // The eight property fields in the order they are cleared and filled.
    const std::array<QLineEdit*, 8> propertyFields_;

    ui::TextBoxLog ausgabe_;
};
