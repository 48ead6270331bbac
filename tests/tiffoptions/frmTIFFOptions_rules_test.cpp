// Opening the TIFF options window and the rules that tie its controls together.
#include "tests/tiffoptions/tiff_window_fixture.h"

#include "app/frmMain.h"
#include "ui/window_registry.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace tiffwindow {
namespace {

using Rules = TiffWindow;

TEST_P(Rules, OpensWithItsDefaultsAndAsksNothingOfTheCad)
{
    EXPECT_EQ(form->windowTitle(), "KupTools für Solidworks - TIFF Optionen einstellen");
    EXPECT_EQ(list("cmbTO_ImageType")->currentText(), "Schwarz/Weiß");
    EXPECT_EQ(list("cmbTO_CompressionScheme")->currentText(), "Group 4 Fax");
    EXPECT_EQ(list("cmbTO_ScreenOrPrintCapture")->currentText(), "für Druck");
    EXPECT_EQ(list("cmbTO_PrintDPI")->currentText(), "200");
    EXPECT_EQ(list("cmbTO_PaperSize")->currentText(), "A3");
    EXPECT_EQ(form->control<QLabel>("lblTO_Kompressionsschema")->text(), "Kompressionschema");
    EXPECT_EQ(width()->text(), regional("0,42"));
    EXPECT_EQ(height()->text(), regional("0,297"));
    EXPECT_FALSE(width()->isEnabled());
    EXPECT_FALSE(height()->isEnabled());
    EXPECT_EQ(scale()->text(), "100");
    EXPECT_FALSE(scale()->isEnabled());
    EXPECT_TRUE(fit()->isChecked());
    EXPECT_EQ(form->lastScaleFactor(), 100);
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_TRUE(cad.journal().empty());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), form->control("cmdBack"));
}

TEST_P(Rules, RgbAndGroup4ExcludeEachOtherTheLaterChoiceFallsBackWithOneWarning)
{
    choose("cmbTO_ImageType", 1);
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{warning(kConflict)}));
    EXPECT_EQ(list("cmbTO_ImageType")->currentText(), "Schwarz/Weiß");
    EXPECT_EQ(list("cmbTO_CompressionScheme")->currentText(), "Group 4 Fax");

    boxes.messages.clear();
    choose("cmbTO_CompressionScheme", 1);
    choose("cmbTO_ImageType", 1);
    EXPECT_TRUE(boxes.messages.empty());
    choose("cmbTO_CompressionScheme", 2);
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{warning(kConflict)}));
    EXPECT_EQ(list("cmbTO_CompressionScheme")->currentText(), "Packbit");
    EXPECT_EQ(list("cmbTO_ImageType")->currentText(), "Farbe RGB");
}

TEST_P(Rules, ScreenCaptureDisablesTheSixPrintControlsAndPrintEnablesAllSix)
{
    const char* const printControls[] = {"cmbTO_PrintDPI",        "cmbTO_PaperSize",
                                         "txtTO_PrintPaperWidth", "txtTO_PrintPaperHeight",
                                         "chkTO_PrintScaleToFit", "txtTO_PrintScaleFactor"};
    choose("cmbTO_ScreenOrPrintCapture", 0);
    for (const char* name : printControls)
        EXPECT_FALSE(form->control(name)->isEnabled()) << name;
    EXPECT_TRUE(list("cmbTO_ImageType")->isEnabled());
    EXPECT_TRUE(list("cmbTO_CompressionScheme")->isEnabled());

    // Without regard to the standard paper size or the ticked fit box.
    choose("cmbTO_ScreenOrPrintCapture", 1);
    for (const char* name : printControls)
        EXPECT_TRUE(form->control(name)->isEnabled()) << name;
    EXPECT_TRUE(fit()->isChecked());
    EXPECT_EQ(width()->text(), regional("0,42"));
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_P(Rules, UserDefinedPaperOpensTheBoxesAndAStandardSizeShowsItsMetres)
{
    choose("cmbTO_PaperSize", 12);
    EXPECT_EQ(list("cmbTO_PaperSize")->currentText(), "benutzerdefiniert");
    EXPECT_EQ(width()->text(), regional("0,1"));
    EXPECT_EQ(height()->text(), regional("0,1"));
    EXPECT_TRUE(width()->isEnabled());
    EXPECT_TRUE(height()->isEnabled());

    type(width(), regional("0,5"));
    choose("cmbTO_PaperSize", 11);
    EXPECT_EQ(list("cmbTO_PaperSize")->currentText(), "A0");
    EXPECT_EQ(width()->text(), regional("1,189"));
    EXPECT_EQ(height()->text(), regional("0,841"));
    EXPECT_FALSE(width()->isEnabled());
    EXPECT_FALSE(height()->isEnabled());

    choose("cmbTO_PaperSize", 0);  // inch format: 279,4 x 215,9 mm
    EXPECT_EQ(width()->text(), regional("0,2794"));
    EXPECT_EQ(height()->text(), regional("0,2159"));
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_P(Rules, ScaleTextsInRangeAreAcceptedAndOthersBringTheLastOneBack)
{
    untickFit();
    struct Case {
        QString typed;
        QString shown;  // afterwards
        int accepted;   // LastScaleFactor afterwards
        bool warned;
    };
    const Case cases[] = {
        {"1", "1", 1, false},         {"1000", "1000", 1000, false}, {"0", "1000", 1000, true},
        {"1001", "1000", 1000, true}, {"abc", "1000", 1000, true},   {"", "1000", 1000, true},
        {"12.7", "12.7", 13, false},  {"2,5", "2,5", 2, false},      {"abc", "2", 2, true},
        {" 7x", " 7x", 7, false},     {"0.4", "7", 7, true},         {"1e400", "7", 7, true},
    };
    for (const Case& c : cases) {
        boxes.messages.clear();
        scale()->selectAll();
        scale()->insert(c.typed);  // one change, as a paste
        EXPECT_EQ(scale()->text(), c.shown) << c.typed.toStdString();
        EXPECT_EQ(form->lastScaleFactor(), c.accepted) << c.typed.toStdString();
        EXPECT_EQ(boxes.messages,
                  c.warned ? std::vector<fake::Message>{warning(kScaleRange)} : std::vector<fake::Message>{})
            << c.typed.toStdString();
    }
}

TEST_P(Rules, TypingFifteenHundredOverTheHundredStopsAtOneHundredFifty)
{
    untickFit();
    type(scale(), "1500");
    EXPECT_EQ(scale()->text(), "150");
    EXPECT_EQ(form->lastScaleFactor(), 150);
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{warning(kScaleRange)}));
}

TEST_P(Rules, EveryScaleChangeUnticksFitToPaper)
{
    // Accepted or refused, and also when the program makes the change.
    scale()->setText("250");
    EXPECT_FALSE(fit()->isChecked());
    EXPECT_TRUE(scale()->isEnabled());

    QTest::mouseClick(fit(), Qt::LeftButton);
    EXPECT_TRUE(fit()->isChecked());
    EXPECT_FALSE(scale()->isEnabled());
    scale()->setText("0");
    EXPECT_FALSE(fit()->isChecked());
    EXPECT_TRUE(scale()->isEnabled());
    EXPECT_EQ(scale()->text(), "250");
    EXPECT_EQ(boxes.messages.size(), 1u);
}

TEST_P(Rules, BackClosesTheWindowAndTheMenuOpensOneFreshInstance)
{
    ui::WindowRegistry& windows = ui::windows();
    frmMain main;
    main.menuItem("mnuTiffOptionSetzenAuslesen")->trigger();
    frmTIFFOptions* first = windows.find<frmTIFFOptions>();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    main.menuItem("mnuTiffOptionSetzenAuslesen")->trigger();
    EXPECT_EQ(windows.find<frmTIFFOptions>(), first);
    first->control<QComboBox>("cmbTO_PaperSize")->setCurrentIndex(12);
    QTest::mouseClick(first->control<QPushButton>("cmdBack"), Qt::LeftButton);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(windows.find<frmTIFFOptions>(), nullptr);
    main.menuItem("mnuTiffOptionSetzenAuslesen")->trigger();
    frmTIFFOptions* second = windows.find<frmTIFFOptions>();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->control<QComboBox>("cmbTO_PaperSize")->currentIndex(), 8);
    second->close();
    windows.destroyAll();
}

TEST_P(Rules, EveryListEntryFitsItsList)
{
    for (const char* name : {"cmbTO_ImageType", "cmbTO_CompressionScheme", "cmbTO_ScreenOrPrintCapture",
                             "cmbTO_PrintDPI", "cmbTO_PaperSize"}) {
        QComboBox* combo = list(name);
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.rect = combo->rect();
        const QRect text =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(i)), text.width())
                << name << ": " << combo->itemText(i).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Regional, Rules, ::testing::Values(kGerman, kEnglish), localeName);

}  // namespace
}  // namespace tiffwindow
