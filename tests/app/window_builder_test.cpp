#include "ui/window_builder.h"

#include "tests/support/message_recorder.h"

#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

using namespace ui;

namespace {

int px(int twips)
{
    return twipsToPixels(twips, logicalDpiX());
}
int py(int twips)
{
    return twipsToPixels(twips, logicalDpiY());
}

const WindowDef kSample{
    .name = "frmSample", .title = "Probe", .width = 4800, .height = 4500, .placement = Placement{1500, 1500}};

// clang-format off
// Rows deliberately out of tab order, with containers, groups and flags.
const std::vector<ControlDef> kRows{
    {.name = "Frame1", .kind = Kind::Frame, .caption = " Rahmen ", .left = 120, .top = 120,
     .width = 3000, .height = 1500, .tab = 2, .font = Font{.weight = 700}},
    {.name = "optWahl(1)", .kind = Kind::OptionButton, .container = "Frame1", .caption = "zwei",
     .left = 120, .top = 720, .width = 2000, .height = 255, .tab = 5},
    {.name = "optWahl(0)", .kind = Kind::OptionButton, .container = "Frame1", .caption = "eins",
     .left = 120, .top = 360, .width = 2000, .height = 255, .tab = 4, .flags = Checked},
    {.name = "chkLinks", .kind = Kind::CheckBox, .container = "Frame1", .caption = "Links beschriftet",
     .left = 120, .top = 1080, .width = 2400, .height = 255, .tab = 6, .flags = CaptionLeft},
    {.name = "txtEins", .kind = Kind::TextBox, .caption = "Anfang", .left = 3240, .top = 120,
     .width = 1400, .height = 285, .tab = 1, .flags = Disabled},
    {.name = "txtLog", .kind = Kind::TextBox, .left = 120, .top = 1800, .width = 3000, .height = 1000,
     .tab = 3, .flags = MultiLine, .font = Font{.face = Face::FixedPitch, .points = 9}},
    {.name = "cmdOK", .kind = Kind::CommandButton, .caption = "&OK", .left = 3240, .top = 3960,
     .width = 1200, .height = 375, .tab = 7, .flags = Default | Cancel},
    {.name = "cmdAndere", .kind = Kind::CommandButton, .caption = "&Andere", .left = 3240, .top = 3480,
     .width = 1200, .height = 375, .tab = 0, .flags = Disabled},
    {.name = "cmbListe", .kind = Kind::DropDownList, .left = 3240, .top = 600, .width = 1400,
     .height = 315, .tab = 8},
    {.name = "Drive1", .kind = Kind::DriveList, .left = 3240, .top = 1000, .width = 1400, .height = 315,
     .tab = 9},
    {.name = "Dir1", .kind = Kind::DirectoryList, .left = 3240, .top = 1400, .width = 1400, .height = 1200,
     .tab = 10},
    {.name = "lblText", .kind = Kind::Label, .caption = "Ein Text, der umbricht", .left = 120, .top = 3000,
     .width = 1500, .height = 495, .tab = 11, .color = Rgb{255, 0, 0}},
    {.name = "lblVersteckt", .kind = Kind::Label, .caption = "versteckt", .left = 120, .top = 3600,
     .width = 1500, .height = 255, .tab = 12, .flags = Hidden},
    {.name = "Image1", .kind = Kind::Image, .left = 1800, .top = 3000, .width = 630, .height = 630,
     .picture = Picture::Logo},
    {.name = "picIcon", .kind = Kind::PictureBox, .left = 2500, .top = 3000, .width = 690, .height = 690,
     .tab = 13, .picture = Picture::Logo},
    {.name = "Line1(0)", .kind = Kind::Line, .left = 90, .top = 3900, .color = Rgb{128, 128, 128},
     .x2 = 3000, .y2 = 3900, .lineWidthPx = 2},
};
// clang-format on

struct Sample : ::testing::Test {
    std::unique_ptr<Form> form = std::make_unique<Form>(kSample, kRows);
};

}  // namespace

TEST(TwipsToPixels, RoundsToTheNearestPixelAtTheGivenDpi)
{
    EXPECT_EQ(twipsToPixels(5265, 96), 351);
    EXPECT_EQ(twipsToPixels(6480, 96), 432);
    EXPECT_EQ(twipsToPixels(7, 96), 0);  // 0.47 px
    EXPECT_EQ(twipsToPixels(8, 96), 1);  // 0.53 px
    EXPECT_EQ(twipsToPixels(120, 120), 10);
    EXPECT_EQ(twipsToPixels(1440, 144), 144);
}

TEST_F(Sample, EveryRowBecomesItsWidgetKindUnderItsName)
{
    EXPECT_EQ(form->objectName(), "frmSample");
    EXPECT_EQ(form->windowTitle(), "Probe");
    EXPECT_NE(form->control<QPlainTextEdit>("txtLog"), nullptr);
    EXPECT_NE(form->control<LineWidget>("Line1(0)"), nullptr);
    EXPECT_EQ(form->findChild<QWidget*>("optWahl(1)"), form->control("optWahl(1)"));
    EXPECT_EQ(form->control("gibtEsNicht"), nullptr);
    EXPECT_EQ(form->control<QLineEdit>("cmdOK"), nullptr);  // wrong kind
    for (const char* list : {"cmbListe", "Drive1"}) {
        ASSERT_NE(form->control<QComboBox>(list), nullptr) << list;
        EXPECT_FALSE(form->control<QComboBox>(list)->isEditable()) << list;
    }
}

TEST_F(Sample, PlacesControlsInPixelsRelativeToTheirContainer)
{
    QWidget* option = form->control("optWahl(0)");
    EXPECT_EQ(option->parentWidget(), form->control("Frame1"));
    EXPECT_EQ(option->geometry(), QRect(px(120), py(360), px(2000), py(255)));
    EXPECT_EQ(form->control("Frame1")->parentWidget(), form->centralWidget());
    EXPECT_EQ(form->control("txtEins")->geometry(), QRect(px(3240), py(120), px(1400), py(285)));
    auto* line = form->control<LineWidget>("Line1(0)");
    EXPECT_EQ(line->from(), QPoint(px(90), py(3900)));
    EXPECT_EQ(line->to(), QPoint(px(3000), py(3900)));
    EXPECT_EQ(line->color(), QColor(128, 128, 128));
    EXPECT_EQ(line->height(), 2);
}

TEST_F(Sample, ClientAreaAndPlacementAreTheTablesAndControlsStayOnResize)
{
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(form->centralWidget()->size(), QSize(px(4800), py(4500)));
    EXPECT_EQ(form->geometry().topLeft(), QPoint(px(1500), py(1500)));
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form->windowIcon().isNull());

    const QRect before = form->control("cmdOK")->geometry();
    form->resize(form->width() + 200, form->height() + 200);
    QApplication::processEvents();
    EXPECT_EQ(form->control("cmdOK")->geometry(), before);
    form->resize(100, 100);
    QApplication::processEvents();
    EXPECT_EQ(form->control("cmdOK")->geometry(), before);
}

TEST(FixedDialog, HasAFixedSizeAndNeitherMinimizeNorMaximize)
{
    const WindowDef def{.name = "frmDialog",
                        .title = "Dialog",
                        .width = 4680,
                        .height = 3225,
                        .border = Border::FixedDialog,
                        .icon = false};
    Form form(def, {});
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.size(), QSize(px(4680), py(3225)));
    EXPECT_EQ(form.windowType(), Qt::Dialog);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(form.windowIcon().isNull() || form.windowIcon().cacheKey() == QIcon().cacheKey());
}

TEST(TableErrors, AContainerMustBeAFrameListedBefore)
{
    const WindowDef def{.name = "frmKaputt", .width = 1500, .height = 1500};
    EXPECT_THROW(Form(def, {{.name = "txtA", .kind = Kind::TextBox, .container = "Frame9"}}),
                 std::logic_error);
    EXPECT_THROW(Form(def, {{.name = "txtA", .kind = Kind::TextBox},
                            {.name = "txtB", .kind = Kind::TextBox, .container = "txtA"}}),
                 std::logic_error);
    EXPECT_THROW(Form(def, {{.name = "txtA", .kind = Kind::TextBox}, {.name = "txtA", .kind = Kind::Label}}),
                 std::logic_error);
}

// A window that resolves a control its table does not have, as a misspelt name does.
struct Misspelt : Form {
    explicit Misspelt(const char* name) : Form(kSample, kRows), button(require<QPushButton>(name)) {}
    QPushButton* button;
};

TEST_F(Sample, ALookupThatCannotBeMetFailsAtLoadNamingWindowAndControl)
{
    EXPECT_EQ(Misspelt("cmdOK").button->objectName(), "cmdOK");
    const struct {
        std::function<void()> lookup;
        std::string what;
    } rows[] = {
        {[] { Misspelt("cmdOk"); }, "frmSample: no control named cmdOk"},
        {[] { Misspelt("txtEins"); }, "frmSample: control txtEins is not a QPushButton"},
        {[&] { form->requireMenuItem("mnuExit"); }, "frmSample: no menu item named mnuExit"},
    };
    for (const auto& row : rows) {
        try {
            row.lookup();
            ADD_FAILURE() << "no failure for: " << row.what;
        } catch (const std::logic_error& error) {
            EXPECT_EQ(std::string(error.what()), row.what);
        }
    }
}

TEST_F(Sample, AFaultEscapingAHandlerIsOneInternalErrorBoxAndTheWindowGoesOn)
{
    fake::MessageRecorder boxes;
    const ScopedMessageBoxes installed(boxes);
    EXPECT_EQ(&form->messages(), &boxes);
    int ranOn = 0;
    // A rule run from inside a handler: its fault ends the whole action, with one box.
    form->guarded([&] {
        form->guarded([] { throw std::logic_error("Liste ohne Eintrag"); });
        ++ranOn;
    });
    EXPECT_EQ(ranOn, 0);
    EXPECT_EQ(boxes.messages, (std::vector<fake::Message>{
                                  {"Interner Fehler: Liste ohne Eintrag", "KUP-Tools - Fehlerinfo"}}));
    form->guarded([&] { ++ranOn; });
    EXPECT_EQ(ranOn, 1);
    EXPECT_EQ(boxes.messages.size(), 1u);
}

TEST_F(Sample, FontsFallBackToFacesOfTheRightKind)
{
    const QFont plain = form->control("txtEins")->font();
    EXPECT_DOUBLE_EQ(plain.pointSizeF(), 8.25);
    EXPECT_EQ(plain.weight(), QFont::Normal);
    EXPECT_FALSE(QFontInfo(plain).fixedPitch());
    EXPECT_EQ(form->control("Frame1")->font().weight(), QFont::Bold);
    // A frame's bold caption does not make its controls bold.
    EXPECT_EQ(form->control("optWahl(0)")->font().weight(), QFont::Normal);
    const QFont fixed = form->control("txtLog")->font();
    EXPECT_DOUBLE_EQ(fixed.pointSizeF(), 9.0);
    EXPECT_TRUE(QFontInfo(fixed).fixedPitch());
    EXPECT_EQ(form->control("lblText")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(Sample, FlagsSetTheOpeningState)
{
    EXPECT_TRUE(form->control<QRadioButton>("optWahl(0)")->isChecked());
    EXPECT_FALSE(form->control<QRadioButton>("optWahl(1)")->isChecked());
    EXPECT_FALSE(form->control<QCheckBox>("chkLinks")->isChecked());
    EXPECT_FALSE(form->control("txtEins")->isEnabled());
    EXPECT_EQ(form->control<QLineEdit>("txtEins")->text(), "Anfang");
    EXPECT_FALSE(form->control("lblVersteckt")->isVisibleTo(form.get()));
    EXPECT_TRUE(form->control("lblText")->isVisibleTo(form.get()));
    EXPECT_TRUE(form->control<QLabel>("lblText")->wordWrap());
    EXPECT_EQ(form->control<QLabel>("Image1")->pixmap().size(), QSize(42, 42));
    EXPECT_EQ(form->control<QLabel>("Image1")->frameWidth(), 0);
    EXPECT_EQ(form->control<QLabel>("picIcon")->frameWidth(), 2);
    EXPECT_EQ(form->control<QLabel>("picIcon")->contentsRect().size(), QSize(px(690) - 4, py(690) - 4));
}

// How Tab then moves (disabled controls skipped, out of a multi-line box, one stop per
// option group) the main window's keyboard case shows on a real table.
TEST_F(Sample, TabOrderFollowsTheTabIndexOverFocusableControls)
{
    std::vector<QString> names;
    for (QWidget* w : form->tabOrder())
        names.push_back(w->objectName());
    // Frames, labels, images and lines take no focus.
    const std::vector<QString> expected{"cmdAndere", "txtEins", "txtLog",   "optWahl(0)", "optWahl(1)",
                                        "chkLinks",  "cmdOK",   "cmbListe", "Drive1",     "Dir1"};
    EXPECT_EQ(names, expected);
}

TEST_F(Sample, EnterAndEscClickTheDefaultAndCancelButtonsExceptInAMultiLineBoxOrOnAButton)
{
    auto* log = form->control<QPlainTextEdit>("txtLog");
    EXPECT_EQ(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    form->control("txtEins")->setEnabled(true);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QSignalSpy ok(form->control<QPushButton>("cmdOK"), &QPushButton::clicked);
    log->setFocus();
    QTest::keyClicks(log, "a");
    QTest::keyClick(log, Qt::Key_Return);
    QTest::keyClicks(log, "b");
    EXPECT_EQ(log->toPlainText(), "a\nb");
    EXPECT_EQ(ok.count(), 0);

    form->control("txtEins")->setFocus();
    QTest::keyClick(form->control("txtEins"), Qt::Key_Return);
    EXPECT_EQ(ok.count(), 1);
    QTest::keyClick(form->control("txtEins"), Qt::Key_Escape);
    EXPECT_EQ(ok.count(), 2);

    form->control("cmdAndere")->setEnabled(true);
    QSignalSpy other(form->control<QPushButton>("cmdAndere"), &QPushButton::clicked);
    form->control("cmdAndere")->setFocus();
    QTest::keyClick(form->control("cmdAndere"), Qt::Key_Return);
    EXPECT_EQ(other.count(), 1);
    EXPECT_EQ(ok.count(), 2);
}

TEST_F(Sample, OptionButtonsOfAFrameFormOneGroupAndWholeControlsAndLabelsTakeClicks)
{
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    auto* one = form->control<QRadioButton>("optWahl(0)");
    auto* two = form->control<QRadioButton>("optWahl(1)");
    // Click on the caption's far end, away from the indicator.
    QTest::mouseClick(two, Qt::LeftButton, {}, QPoint(two->width() - 3, two->height() / 2));
    EXPECT_TRUE(two->isChecked());
    EXPECT_FALSE(one->isChecked());
    QTest::mouseClick(one, Qt::LeftButton, {}, QPoint(one->width() / 2, one->height() / 2));
    EXPECT_TRUE(one->isChecked());
    EXPECT_FALSE(two->isChecked());

    auto* left = form->control<QCheckBox>("chkLinks");
    QTest::mouseClick(left, Qt::LeftButton, {}, QPoint(3, left->height() / 2));
    EXPECT_TRUE(left->isChecked());

    auto* label = form->control<Label>("lblText");
    QSignalSpy clicked(label, &Label::clicked);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
}
