// The TIFF options window against cadsim as a process of its own, through the
// platform's backend: what the window writes is what cadsim then holds, and
// what cadsim holds is what the window loads. Number texts under every
// regional setting are the fake-CAD window tests' matter.
#include "tests/support/cadsim_fixture.h"
#include "tests/support/message_recorder.h"
#include "tests/support/preferences.h"
#include "tiffoptions/frmTIFFOptions.h"
#include "ui/qt_message_boxes.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class WindowOnCadsim : public cadsimtest::CadsimTest {
protected:
    void SetUp() override
    {
        CadsimTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        start({});
        form = std::make_unique<frmTIFFOptions>();
        form->show();
    }
    void TearDown() override
    {
        form.reset();
        CadsimTest::TearDown();
        QLocale::setDefault(QLocale::c());
    }

    void click(const char* button) { QTest::mouseClick(form->control<QPushButton>(button), Qt::LeftButton); }

    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
    std::unique_ptr<frmTIFFOptions> form;
};

// Values cadsim does not start with, where the window allows (the disabled print
// controls are sent too), so that the writes are seen to arrive; then a fresh
// window loads them back and writes them again.
TEST_F(WindowOnCadsim, WhatTheWindowSetsCadsimHoldsAndAFreshWindowLoads)
{
    form->control<QComboBox>("cmbTO_CompressionScheme")->setCurrentIndex(0);
    form->control<QComboBox>("cmbTO_ImageType")->setCurrentIndex(1);
    form->control<QComboBox>("cmbTO_PrintDPI")->setCurrentIndex(3);
    form->control<QComboBox>("cmbTO_PaperSize")->setCurrentIndex(12);
    form->control<QLineEdit>("txtTO_PrintPaperWidth")->setText("0,5");
    form->control<QLineEdit>("txtTO_PrintPaperHeight")->setText("0,333");
    form->control<QLineEdit>("txtTO_PrintScaleFactor")->setText("75");
    form->control<QComboBox>("cmbTO_ScreenOrPrintCapture")->setCurrentIndex(0);
    click("Command1");
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{
                                  {"Optionen erfolgreich gesetzt.", "KUP-Tools Setzen erfolgreich"}}));
    const kup::TiffOptionSet written{0, 1, 0, 300, 12, 75, false, 0.5, 0.333};
    EXPECT_EQ(fake::heldPreferences(), written);

    form = std::make_unique<frmTIFFOptions>();
    form->show();
    // RGB meets the Group 4 the fresh window shows; the second load shows RGB. What it shows then,
    // written back over the standard set, must be what it loaded.
    click("cmdGetTiffOptions");
    click("cmdGetTiffOptions");
    fake::holdPreferences(fake::kStandardPreferences);
    click("Command1");
    EXPECT_EQ(fake::heldPreferences(), written);
}

}  // namespace
