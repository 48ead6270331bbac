// The window that shows the CAD system's nine TIFF-export preferences, loads
// them from the CAD system and writes them back, with the rules that tie its
// controls together.
#pragma once

#include "tiffoptions/swx_sldtools.h"
#include "ui/qt_message_boxes.h"
#include "ui/window_builder.h"

#include <cstdint>
#include <optional>
#include <string>

class QComboBox;

class frmTIFFOptions : public ui::Form {
    Q_OBJECT
public:
    // boxes: where the window's message boxes go; null shows them on the screen.
    explicit frmTIFFOptions(kup::MessageBoxes* boxes = nullptr, QWidget* parent = nullptr);

    // The scale factor most recently accepted by the scale rule.
    int32_t lastScaleFactor() const { return LastScaleFactor; }

    void KupTools_FillComboStandardValues();
    // CAD system into the controls.
    void KupTools_HoleTiffOptions();
    // Controls into the CAD system.
    void KupTools_SetzeTiffOptions();

private slots:
    void cmbTO_ScreenOrPrintCapture_Click();
    void cmbTO_ImageType_Click();
    void cmbTO_CompressionScheme_Click();
    void cmbTO_PaperSize_Click();
    void chkTO_PrintScaleToFit_Click();
    void txtTO_PrintScaleFactor_Change();
    void cmdGetTiffOptions_Click();
    void Command1_Click();
    void cmdBack_Click();

private:
    void Form_Load();

    using Rule = void (frmTIFFOptions::*)();
    // Selects a position as the program does: the list's rule runs once, also
    // when the list already stands there (Qt reports no change then).
    void selectPosition(const char* list, int position, Rule rule);
    // Moves a list to a value read from the CAD system; false when the list has
    // no such position (its selection then stays).
    bool selectValue(const char* list, int value, Rule rule);
    void conflictRule(const char* changedList, int fallback);
    // The scale text and the scale-to-fit box set as the program does: their rule
    // runs once, also when they already show that value.
    void setScaleText(const std::string& text);
    void setScaleToFit(bool checked);

    // The options as the controls show them; none when a width or height text is
    // not a number (the user has been told which).
    std::optional<kup::TiffOptionSet> readControls();

    QComboBox* list(const char* name) const;
    std::string text(const char* name) const;
    void setText(const char* name, const std::string& text);
    void enable(const char* name, bool enabled);

    ui::QtMessageBoxes screenBoxes_;
    kup::MessageBoxes& boxes_;
    int32_t LastScaleFactor = 0;
};
