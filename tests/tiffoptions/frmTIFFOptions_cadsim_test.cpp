// The TIFF options window against cadsim on a private session bus, through the
// tool's D-Bus backend: what the window writes is what cadsim then holds, and
// what cadsim holds is what the window loads.
#include "cad/automation.h"
#include "cad/dbus/dbus_backend.h"
#include "tests/support/cadsim_process.h"
#include "tests/support/message_recorder.h"
#include "tests/support/private_bus_environment.h"
#include "tiffoptions/frmTIFFOptions.h"
#include "ui/qt_message_boxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const auto* const kBus = ::testing::AddGlobalTestEnvironment(new testbus::PrivateBusEnvironment);

// cadsim's nine preferences, read over the bus member by member.
struct Held {
    int16_t capture, image, compression, dpi, paper, scale;
    bool fit;
    double width, height;
    bool operator==(const Held&) const = default;
};

class WindowOnCadsim : public ::testing::TestWithParam<QLocale> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QLocale::setDefault(GetParam());
        cadsim = std::make_unique<testbus::CadsimProcess>(dir.path().toStdString() + "/preferences.json");
        cad::dbus::BackendOptions options;
        options.cadsimPath = "/nonexistent/cadsim";  // attach only: the test started cadsim itself
        options.startWaitMs = 200;
        cad::setBackend(cad::dbus::makeBackend(options));
        form = std::make_unique<frmTIFFOptions>();
        form->show();
    }
    void TearDown() override
    {
        form.reset();
        cad::setBackend(nullptr);
        cadsim.reset();
        QLocale::setDefault(QLocale::c());
    }

    Held held()
    {
        const std::unique_ptr<cad::Application> app = cad::attach();
        if (!app) {
            ADD_FAILURE() << "cadsim not reachable";
            return {};
        }
        return {app->GetUserPreferenceIntegerValue(6),  app->GetUserPreferenceIntegerValue(7),
                app->GetUserPreferenceIntegerValue(8),  app->GetUserPreferenceIntegerValue(9),
                app->GetUserPreferenceIntegerValue(10), app->GetUserPreferenceIntegerValue(11),
                app->GetUserPreferenceToggle(28),       app->GetUserPreferenceDoubleValue(8),
                app->GetUserPreferenceDoubleValue(9)};
    }
    // What the window shows, read back from its controls as the user sees them.
    Held shown() const
    {
        const auto position = [&](const char* name) {
            return static_cast<int16_t>(form->control<QComboBox>(name)->currentIndex());
        };
        const auto number = [&](const char* name) {
            return QLocale().toDouble(form->control<QLineEdit>(name)->text());
        };
        return {position("cmbTO_ScreenOrPrintCapture"),
                position("cmbTO_ImageType"),
                position("cmbTO_CompressionScheme"),
                static_cast<int16_t>(form->control<QComboBox>("cmbTO_PrintDPI")->currentText().toInt()),
                position("cmbTO_PaperSize"),
                static_cast<int16_t>(form->control<QLineEdit>("txtTO_PrintScaleFactor")->text().toInt()),
                form->control<QCheckBox>("chkTO_PrintScaleToFit")->isChecked(),
                number("txtTO_PrintPaperWidth"),
                number("txtTO_PrintPaperHeight")};
    }
    void click(const char* button) { QTest::mouseClick(form->control<QPushButton>(button), Qt::LeftButton); }

    QTemporaryDir dir;
    std::unique_ptr<testbus::CadsimProcess> cadsim;
    fake::MessageRecorder boxes;
    ui::ScopedMessageBoxes installed{boxes};
    std::unique_ptr<frmTIFFOptions> form;
};

const fake::Message kWritten{"Optionen erfolgreich gesetzt.", "KUP-Tools Setzen erfolgreich",
                             kup::Icon::None};

TEST_P(WindowOnCadsim, SettingLeavesCadsimHoldingWhatTheWindowShows)
{
    // First a value cadsim does not start with, so that the write is seen to arrive.
    {
        const std::unique_ptr<cad::Application> app = cad::attach();
        ASSERT_NE(app, nullptr);
        app->SetUserPreferenceIntegerValue(9, int16_t{600});
    }
    click("Command1");
    EXPECT_EQ(boxes.messages, std::vector<fake::Message>{kWritten});
    EXPECT_EQ(held(), (Held{1, 0, 2, 200, 8, 100, true, 0.42, 0.297}));
    EXPECT_EQ(held(), shown());

    // A user-defined size typed in regional notation, colour with Packbit, no fit.
    boxes.messages.clear();
    form->control<QComboBox>("cmbTO_CompressionScheme")->setCurrentIndex(1);
    form->control<QComboBox>("cmbTO_ImageType")->setCurrentIndex(1);
    form->control<QComboBox>("cmbTO_PrintDPI")->setCurrentIndex(3);
    form->control<QComboBox>("cmbTO_PaperSize")->setCurrentIndex(12);
    form->control<QLineEdit>("txtTO_PrintPaperWidth")->setText(QLocale().toString(0.5));
    form->control<QLineEdit>("txtTO_PrintPaperHeight")->setText(QLocale().toString(0.333));
    form->control<QLineEdit>("txtTO_PrintScaleFactor")->setText("75");
    click("Command1");
    EXPECT_EQ(boxes.messages, std::vector<fake::Message>{kWritten});
    EXPECT_EQ(held(), (Held{1, 1, 1, 300, 12, 75, false, 0.5, 0.333}));
    EXPECT_EQ(held(), shown());
}

TEST_P(WindowOnCadsim, LoadingShowsWhatCadsimHolds)
{
    {
        const std::unique_ptr<cad::Application> app = cad::attach();
        ASSERT_NE(app, nullptr);
        double width = 0.61, height = 0.305;
        app->SetUserPreferenceIntegerValue(8, int16_t{0});
        app->SetUserPreferenceIntegerValue(7, int16_t{1});
        app->SetUserPreferenceIntegerValue(9, int16_t{50});
        app->SetUserPreferenceIntegerValue(10, int16_t{10});
        app->SetUserPreferenceIntegerValue(11, int16_t{250});
        app->SetUserPreferenceToggle(28, false);
        app->SetUserPreferenceDoubleValue(8, width);
        app->SetUserPreferenceDoubleValue(9, height);
        app->SetUserPreferenceIntegerValue(6, int16_t{0});
    }
    const Held inCadsim = held();
    ASSERT_EQ(inCadsim, (Held{0, 1, 0, 50, 10, 250, false, 0.61, 0.305}));
    click("cmdGetTiffOptions");
    // RGB meets the Group 4 the fresh window shows: the one warning of the conflict
    // rule, then the second load finds Uncompressed and shows RGB.
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text, "RGB Bild bei Kompressionsschema Group 4 Fax nicht zulässig");
    boxes.messages.clear();
    click("cmdGetTiffOptions");
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(shown(), inCadsim);
    EXPECT_EQ(form->control<QComboBox>("cmbTO_ScreenOrPrintCapture")->currentText(), "Bildschirm");
    EXPECT_EQ(form->control<QComboBox>("cmbTO_PaperSize")->currentText(), "A1");
    EXPECT_EQ(form->control<QLineEdit>("txtTO_PrintPaperWidth")->text(), QLocale().toString(0.61));
}

INSTANTIATE_TEST_SUITE_P(Regional, WindowOnCadsim,
                         ::testing::Values(QLocale(QLocale::German, QLocale::Germany),
                                           QLocale(QLocale::English, QLocale::UnitedStates)),
                         [](const auto& info) { return info.param.name().replace('_', "").toStdString(); });

}  // namespace
