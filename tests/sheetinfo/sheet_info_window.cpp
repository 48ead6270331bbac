#include "tests/sheetinfo/sheet_info_window.h"

#include "cad/number_text.h"
#include "ui/core_texts.h"

#include <QAbstractItemView>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace sheetinfotest {

void useRegionalSettings(const QLocale& locale)
{
    QLocale::setDefault(locale);
    cad::setDecimalSeparator(ui::regionalDecimalSeparator());
}

std::vector<std::string> fields(const frmSheetInfo& form)
{
    std::vector<std::string> texts;
    for (const char* name :
         {"txtBI_PaperSize", "txtBI_TemplateSize", "txtBI_TemplatePath", "txtBI_ScaleNominator",
          "txtBI_ScaleDenominator", "txtBI_ProjTypFirstAngle", "txtBI_PaperWidth", "txtBI_PaperHeight"})
        texts.push_back(form.control<QLineEdit>(name)->text().toStdString());
    return texts;
}

std::vector<std::string> listEntries(const frmSheetInfo& form)
{
    std::vector<std::string> entries;
    auto* list = form.control<QComboBox>("cmbDrawingNames");
    for (int i = 0; i < list->count(); ++i)
        entries.push_back(list->itemText(i).toStdString());
    return entries;
}

std::string reportText(const frmSheetInfo& form)
{
    QString text = form.control<QPlainTextEdit>("txtAusgabe")->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toStdString();
}

void choose(frmSheetInfo& form, int index)
{
    auto* list = form.control<QComboBox>("cmbDrawingNames");
    if (index == list->currentIndex()) {
        list->showPopup();
        QTest::keyClick(list->view(), Qt::Key_Return);
        return;
    }
    const Qt::Key key = index < list->currentIndex() ? Qt::Key_Up : Qt::Key_Down;
    while (list->currentIndex() != index) {
        const int before = list->currentIndex();
        QTest::keyClick(list, key);
        ASSERT_NE(list->currentIndex(), before) << "the list did not move to entry " << index;
    }
}

void click(frmSheetInfo& form, const char* button)
{
    QTest::mouseClick(form.control<QPushButton>(button), Qt::LeftButton);
}

}  // namespace sheetinfotest
