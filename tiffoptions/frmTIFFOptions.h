// The window that shows the CAD system's nine TIFF-export preferences, loads
// them from the CAD system and writes them back, with the rules that tie its
// controls together.
#pragma once

#include "tiffoptions/swx_sldtools.h"
#include "ui/window_builder.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class frmTIFFOptions : public ui::Form {
    Q_OBJECT
public:
    explicit frmTIFFOptions(QWidget* parent = nullptr);

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
    void selectPosition(QComboBox* list, int position, Rule rule);
    // Moves a list to a value read from the CAD system; false when the list has
    // no such position (its selection then stays).
    bool selectValue(QComboBox* list, int value, Rule rule);
    void conflictRule(QComboBox* changedList, int fallback);
    // The scale text and the scale-to-fit box set as the program does: their rule
    // runs once, also when they already show that value.
    void setScaleText(const std::string& text);
    void setScaleToFit(bool checked);

    // The options as the controls show them; none when a width or height text is
    // not a number (the user has been told which).
    std::optional<kup::TiffOptionSet> readControls();

    static std::string text(const QLineEdit* box);
    static void setText(QLineEdit* box, const std::string& text);

    // The controls, resolved once when the window loads.
    QPushButton* const Command1;
    QPushButton* const cmdGetTiffOptions;
    QPushButton* const cmdBack;
    QCheckBox* const chkTO_PrintScaleToFit;
    QComboBox* const cmbTO_PaperSize;
    QComboBox* const cmbTO_PrintDPI;
    QComboBox* const cmbTO_ScreenOrPrintCapture;
    QComboBox* const cmbTO_CompressionScheme;
    QComboBox* const cmbTO_ImageType;
    QLineEdit* const txtTO_PrintScaleFactor;
    QLineEdit* const txtTO_PrintPaperHeight;
    QLineEdit* const txtTO_PrintPaperWidth;
    // The five lists, for what is done to each of them alike.
    std::array<QComboBox*, 5> lists() const;
    int32_t LastScaleFactor = 0;
};
