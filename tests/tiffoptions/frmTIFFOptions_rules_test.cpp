// The rules that tie the TIFF options window's controls together.
#include "tests/tiffoptions/tiff_window_fixture.h"

#include <QStyle>
#include <QStyleOptionComboBox>

namespace tiffoptionstest {
namespace {

using Rules = TiffWindow;   // no number text involved: one regional setting
using Metres = TiffWindow;  // shows metres: every regional setting

// What it shows then is its reference file's matter.
TEST_P(Rules, OpensWithItsDefaultsAcceptedWithoutAWarning)
{
    EXPECT_EQ(form->lastScaleFactor(), 100);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_P(Rules, RgbAndGroup4ExcludeEachOtherTheLaterChoiceFallsBackWithOneWarning)
{
    choose("cmbTO_ImageType", 1);
    EXPECT_EQ(boxes.messages, Messages{warning(kConflict)});
    EXPECT_EQ(list("cmbTO_ImageType")->currentText(), "Schwarz/Weiß");

    boxes.messages.clear();
    choose("cmbTO_CompressionScheme", 1);
    choose("cmbTO_ImageType", 1);
    EXPECT_TRUE(boxes.messages.empty());
    choose("cmbTO_CompressionScheme", 2);
    EXPECT_EQ(boxes.messages, Messages{warning(kConflict)});
    EXPECT_EQ(list("cmbTO_CompressionScheme")->currentText(), "Packbit");
    EXPECT_EQ(list("cmbTO_ImageType")->currentText(), "Farbe RGB");
}

TEST_P(Rules, ScreenCaptureDisablesTheSixPrintControlsAndPrintEnablesAllSix)
{
    for (const bool print : {false, true}) {
        choose("cmbTO_ScreenOrPrintCapture", print ? 1 : 0);
        // Without regard to the standard paper size or the ticked fit box.
        for (const char* name : {"cmbTO_PrintDPI", "cmbTO_PaperSize", "txtTO_PrintPaperWidth",
                                 "txtTO_PrintPaperHeight", "chkTO_PrintScaleToFit", "txtTO_PrintScaleFactor"})
            EXPECT_EQ(form->control(name)->isEnabled(), print) << name;
        EXPECT_TRUE(list("cmbTO_ImageType")->isEnabled());
    }
}

TEST_P(Rules, EveryScaleChangeUnticksFitInRangeIsAcceptedAndOthersBringTheLastOneBack)
{
    struct Case {
        QString typed;
        bool keyByKey;  // else one change, as a paste or the program's setText
        QString shown;  // afterwards
        int accepted;   // LastScaleFactor afterwards
        bool warned;
    } const cases[] = {
        {"1", false, "1", 1, false},        {"1000", false, "1000", 1000, false},
        {"0", false, "1000", 1000, true},   {"1001", false, "1000", 1000, true},
        {"abc", false, "1000", 1000, true}, {"", false, "1000", 1000, true},
        {"12.7", false, "12.7", 13, false}, {"2,5", false, "2,5", 2, false},
        {"abc", false, "2", 2, true},       {" 7x", false, " 7x", 7, false},
        {"0.4", false, "7", 7, true},       {"1e400", false, "7", 7, true},
        {"1500", true, "150", 150, true},  // stops at the key that leaves the range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        boxes.messages.clear();
        fit()->setChecked(true);
        ASSERT_FALSE(scale()->isEnabled());
        if (c.keyByKey) {
            untickFit();
            type(scale(), c.typed);
        } else {
            scale()->selectAll();
            scale()->insert(c.typed);
        }
        EXPECT_EQ(scale()->text(), c.shown);
        EXPECT_EQ(form->lastScaleFactor(), c.accepted);
        EXPECT_EQ(boxes.messages, c.warned ? Messages{warning(kScaleRange)} : Messages{});
        EXPECT_FALSE(fit()->isChecked());
        EXPECT_TRUE(scale()->isEnabled());
    }
}

TEST_P(Rules, EveryListEntryFitsItsList)
{
    for (const char* name : {"cmbTO_ImageType", "cmbTO_CompressionScheme", "cmbTO_ScreenOrPrintCapture",
                             "cmbTO_PrintDPI", "cmbTO_PaperSize"}) {
        QComboBox* combo = list(name);
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QRect text =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(i)), text.width())
                << name << ": " << combo->itemText(i).toStdString();
    }
}

TEST_P(Metres, UserDefinedPaperOpensTheBoxesAndAStandardSizeShowsItsMetres)
{
    struct Case {
        int position;
        QString width, height;  // German
        bool open;
    } const cases[] = {
        {12, "0,1", "0,1", true}, {11, "1,189", "0,841", false}, {0, "0,2794", "0,2159", false}};
    for (const Case& c : cases) {
        // A text the rule must replace, in the box even while it is closed.
        width()->setText(regional("0,5"));
        height()->setText(regional("0,5"));
        choose("cmbTO_PaperSize", c.position);
        EXPECT_EQ(width()->text(), regional(c.width)) << c.position;
        EXPECT_EQ(height()->text(), regional(c.height)) << c.position;
        EXPECT_EQ(width()->isEnabled(), c.open) << c.position;
        EXPECT_EQ(height()->isEnabled(), c.open) << c.position;
    }
    EXPECT_TRUE(boxes.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Regional, Rules, ::testing::Values(kGerman), localeName);
INSTANTIATE_TEST_SUITE_P(Regional, Metres, ::testing::Values(kGerman, kEnglish), localeName);

}  // namespace
}  // namespace tiffoptionstest
