// The TIFF options window on the fake CAD, driven as the user drives it, under
// German and under English regional settings.
#pragma once

#include "tests/support/fake_cad.h"
#include "tests/support/message_recorder.h"
#include "tiffoptions/frmTIFFOptions.h"
#include "ui/qt_message_boxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace tiffwindow {

inline const QLocale kGerman(QLocale::German, QLocale::Germany);
inline const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
inline const QLocale kArabic(QLocale::Arabic, QLocale::Egypt);  // decimal separator "\u066b"

inline std::string localeName(const ::testing::TestParamInfo<QLocale>& info)
{
    return info.param.name().replace('_', "").toStdString();
}

class TiffWindow : public ::testing::TestWithParam<QLocale> {
protected:
    void SetUp() override
    {
        QLocale::setDefault(GetParam());
        cad.install();
        fake::setDefaultPreferences(cad);
        form = std::make_unique<frmTIFFOptions>();
        form->show();
    }
    void TearDown() override
    {
        form.reset();
        QLocale::setDefault(QLocale::c());
    }

    // A number text as the regional settings write it: regional("0,42").
    static QString regional(QString german) { return german.replace(',', QLocale().decimalPoint()); }

    QComboBox* list(const char* name) const { return form->control<QComboBox>(name); }
    QLineEdit* box(const char* name) const { return form->control<QLineEdit>(name); }
    QCheckBox* fit() const { return form->control<QCheckBox>("chkTO_PrintScaleToFit"); }
    QLineEdit* scale() const { return box("txtTO_PrintScaleFactor"); }
    QLineEdit* width() const { return box("txtTO_PrintPaperWidth"); }
    QLineEdit* height() const { return box("txtTO_PrintPaperHeight"); }

    void click(const char* button) { QTest::mouseClick(form->control<QPushButton>(button), Qt::LeftButton); }
    void load() { click("cmdGetTiffOptions"); }
    void write() { click("Command1"); }

    // Moves a closed list with the arrow keys, as the user does; every step is a change.
    void choose(const char* name, int position)
    {
        QComboBox* combo = list(name);
        combo->setFocus();
        // Counted steps: a rule may move the list back on the way.
        const int steps = position - combo->currentIndex();
        for (int i = 0; i < std::abs(steps); ++i)
            QTest::keyClick(combo, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
    // Replaces the whole text by typing, one change per key.
    void type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            for (const QChar c : text)  // keyClicks knows only ASCII keys
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void untickFit()
    {
        if (fit()->isChecked())
            QTest::mouseClick(fit(), Qt::LeftButton);
        ASSERT_FALSE(fit()->isChecked());
    }

    fake::Message warning(const std::string& text) const
    {
        return {text, "KUP-Tools Warnung", kup::Icon::Warning};
    }
    fake::Message fehlerinfo(const std::string& text) const
    {
        return {text, "KUP-Tools - Fehlerinfo", kup::Icon::None};
    }

    fake::Cad cad;
    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
    std::unique_ptr<frmTIFFOptions> form;
};

inline const std::string kConflict = "RGB Bild bei Kompressionsschema Group 4 Fax nicht zulässig";
inline const std::string kScaleRange = "Nur ganzzahlige Werte zwischen 1 und 1000 erlaubt";

}  // namespace tiffwindow
