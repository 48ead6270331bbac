#include "ui/window_builder.h"

#include "tests/support/message_recorder.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace ui;
using testing::StrEq;
using testing::ThrowsMessage;

namespace {

const WindowDef kSample{
    .name = "frmSample", .title = "Probe", .width = 4800, .height = 4500, .placement = Placement{1500, 1500}};

// clang-format off
// Rows deliberately out of tab order, with a container, a group and flags.
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
};
// clang-format on

struct Sample : ::testing::Test {
    std::unique_ptr<Form> form = std::make_unique<Form>(kSample, kRows);
    void showActive()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
};

}  // namespace

// What the windows' tables give (sizes, fonts, flags, placement, border) is each window's
// reference file's matter; here what no table shows.
TEST_F(Sample, ControlsStayWhereTheyAreWhenTheWindowIsResized)
{
    showActive();
    const QRect before = form->control("cmdOK")->geometry();
    form->resize(100, 100);
    QApplication::processEvents();
    EXPECT_EQ(form->control("cmdOK")->geometry(), before);
}

TEST(TableErrors, AContainerMustBeAFrameListedBeforeAndNamesAreUnique)
{
    const WindowDef def{.name = "frmKaputt", .width = 1500, .height = 1500};
    const ControlDef a{.name = "txtA", .kind = Kind::TextBox};
    EXPECT_THROW(Form(def, {{.name = "txtA", .kind = Kind::TextBox, .container = "Frame9"}}),
                 std::logic_error);
    EXPECT_THROW(Form(def, {a, {.name = "txtB", .kind = Kind::TextBox, .container = "txtA"}}),
                 std::logic_error);
    EXPECT_THROW(Form(def, {a, {.name = "txtA", .kind = Kind::Label}}), std::logic_error);
}

// A window that resolves a control its table does not have, as a misspelt name does.
struct Misspelt : Form {
    explicit Misspelt(const char* name) : Form(kSample, kRows), button(require<QPushButton>(name)) {}
    QPushButton* button;
};

TEST_F(Sample, ALookupThatCannotBeMetFailsAtLoadNamingWindowAndControl)
{
    EXPECT_EQ(Misspelt("cmdOK").button->objectName(), "cmdOK");
    EXPECT_EQ(form->control("gibtEsNicht"), nullptr);
    EXPECT_EQ(form->control<QLineEdit>("cmdOK"), nullptr);  // another kind
    const auto fails = [](const char* what) { return ThrowsMessage<std::logic_error>(StrEq(what)); };
    EXPECT_THAT([] { Misspelt("cmdOk"); }, fails("frmSample: no control named cmdOk"));
    EXPECT_THAT([] { Misspelt("txtEins"); }, fails("frmSample: control txtEins is not a QPushButton"));
    EXPECT_THAT([&] { form->requireMenuItem("mnuExit"); }, fails("frmSample: no menu item named mnuExit"));
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

TEST_F(Sample,
       EnterAndEscClickTheDefaultAndCancelButtonsExceptInAMultiLineBoxOrOnAButtonAndAClickAnywhereChecks)
{
    auto* log = form->control<QPlainTextEdit>("txtLog");
    EXPECT_FALSE(form->control("txtEins")->isEnabled());  // no window's table closes a control yet
    form->control("txtEins")->setEnabled(true);
    form->control("cmdAndere")->setEnabled(true);
    showActive();
    QSignalSpy ok(form->control<QPushButton>("cmdOK"), &QPushButton::clicked);
    QSignalSpy other(form->control<QPushButton>("cmdAndere"), &QPushButton::clicked);
    log->setFocus();
    QTest::keyClicks(log, "a");
    QTest::keyClick(log, Qt::Key_Return);
    EXPECT_EQ(log->toPlainText(), "a\n");
    EXPECT_EQ(ok.count(), 0);

    form->control("txtEins")->setFocus();
    QTest::keyClick(form->control("txtEins"), Qt::Key_Return);
    QTest::keyClick(form->control("txtEins"), Qt::Key_Escape);
    EXPECT_EQ(ok.count(), 2);
    form->control("cmdAndere")->setFocus();
    QTest::keyClick(form->control("cmdAndere"), Qt::Key_Return);
    EXPECT_EQ(other.count(), 1);
    EXPECT_EQ(ok.count(), 2);

    // The option buttons of a frame form one group, and the whole control takes clicks.
    auto* one = form->control<QRadioButton>("optWahl(0)");
    auto* two = form->control<QRadioButton>("optWahl(1)");
    // Click on the caption's far end, away from the indicator.
    QTest::mouseClick(two, Qt::LeftButton, {}, QPoint(two->width() - 3, two->height() / 2));
    EXPECT_TRUE(two->isChecked());
    EXPECT_FALSE(one->isChecked());
    auto* left = form->control<QCheckBox>("chkLinks");
    QTest::mouseClick(left, Qt::LeftButton, {}, QPoint(3, left->height() / 2));
    EXPECT_TRUE(left->isChecked());
}
