// The TIFF options window on the fake CAD, driven as the user drives it, under
// the regional setting the suite is instantiated with.
#pragma once

#include "tests/support/fake_cad.h"
#include "tests/support/message_recorder.h"
#include "tests/support/qt_print.h"
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

namespace tiffoptionstest {

inline const QLocale kGerman(QLocale::German, QLocale::Germany);
inline const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
inline const QLocale kArabic(QLocale::Arabic, QLocale::Egypt);  // decimal separator "\u066b"

inline std::string localeName(const ::testing::TestParamInfo<QLocale>& info)
{
    return info.param.name().replace('_', "").toStdString();
}

using Messages = std::vector<fake::Message>;

class TiffWindow : public ::testing::TestWithParam<QLocale> {
protected:
    void SetUp() override
    {
        QLocale::setDefault(GetParam());
        cad.install();
        reopen();
    }
    void TearDown() override
    {
        form.reset();
        QLocale::setDefault(QLocale::c());
    }

    // A fresh window on a CAD with the standard preferences, for a table's next row.
    void reopen()
    {
        form.reset();
        cad.clearFaults();
        cad.clearJournal();
        cad.reachable = true;
        fake::setDefaultPreferences(cad);
        boxes.messages.clear();
        form = std::make_unique<frmTIFFOptions>();
        form->show();
    }

    // A number text as the regional settings write it: regional("0,42").
    static QString regional(QString german) { return german.replace(',', QLocale().decimalPoint()); }

    QComboBox* list(const char* name) const { return form->control<QComboBox>(name); }
    QLineEdit* box(const char* name) const { return form->control<QLineEdit>(name); }
    QCheckBox* fit() const { return form->control<QCheckBox>("chkTO_PrintScaleToFit"); }
    QLineEdit* scale() const { return box("txtTO_PrintScaleFactor"); }
    QLineEdit* width() const { return box("txtTO_PrintPaperWidth"); }
    QLineEdit* height() const { return box("txtTO_PrintPaperHeight"); }

    // What the window shows: the five lists, scale, fit, width and height with "|" between;
    // a disabled text ends in "-".
    QString shown() const
    {
        QStringList texts;
        for (const char* name : {"cmbTO_ImageType", "cmbTO_CompressionScheme", "cmbTO_ScreenOrPrintCapture",
                                 "cmbTO_PrintDPI", "cmbTO_PaperSize"})
            texts << list(name)->currentText();
        for (QLineEdit* edit : {scale(), width(), height()})
            texts << edit->text() + (edit->isEnabled() ? "" : "-");
        texts.insert(6, fit()->isChecked() ? "an" : "aus");
        return texts.join('|');
    }

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
    // Replaces the whole text by typing, one change per key; a closed box takes no keys.
    void type(QLineEdit* edit, const QString& text)
    {
        EXPECT_TRUE(edit->isEnabled()) << edit->objectName().toStdString() << " is closed to typing";
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            for (const QChar c : text)  // keyClicks knows only ASCII keys
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void untickFit() { fit()->setChecked(false); }

    fake::Message warning(const std::string& text) const
    {
        return {text, "KUP-Tools Warnung", kup::Icon::Warning};
    }
    fake::Message fehlerinfo(const std::string& text) const { return {text, "KUP-Tools - Fehlerinfo"}; }

    fake::Cad cad;
    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
    std::unique_ptr<frmTIFFOptions> form;
};

inline const std::string kConflict = "RGB Bild bei Kompressionsschema Group 4 Fax nicht zulässig";
inline const std::string kScaleRange = "Nur ganzzahlige Werte zwischen 1 und 1000 erlaubt";

}  // namespace tiffoptionstest
