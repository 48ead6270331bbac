// What the tool meets when the CAD system misbehaves: refusals, error
// replies, no answer at all, and a CAD system that dies during a call.
#include "tests/support/cadsim_fixture.h"

#include <gmock/gmock.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QTest>

#include <chrono>
#include <future>

namespace cadsimtest {
namespace {

class Faults : public CadsimTest {
protected:
    void SetUp() override
    {
        CadsimTest::SetUp();
        options.callTimeoutMs = options.saveTimeoutMs = 1500;
        start({writeFile("F.json", drawingJson("F", {{"Blatt1"}, {"Blatt2"}}))});
    }
};

// A refusal injected for one argument only, the store's own refusals as the bus
// answers them, and an error reply; ActivateSheet refused for one sheet is the
// sheet information window's end-to-end matter.
TEST_F(Faults, RefusalsAnswerTheFailureValueForTheirArgumentAndAnErrorBecomesAnAutomationError)
{
    ASSERT_EQ(inject("SetUserPreferenceIntegerValue", "9", "refuse"), "");
    ASSERT_EQ(inject("SaveAsSilent", "", "refuse"), "");
    ASSERT_EQ(inject("GetTitle", "", "error"), "");
    EXPECT_NE(inject("GetTitle", "", "explode"), "");
    auto a = app();
    EXPECT_EQ(a->SetUserPreferenceIntegerValue(9, int16_t{300}), 0);
    EXPECT_EQ(a->GetUserPreferenceIntegerValue(9), 200);
    EXPECT_NE(a->SetUserPreferenceIntegerValue(11, int16_t{50}), 0);
    double negative = -1;
    EXPECT_EQ(a->SetUserPreferenceIntegerValue(10, int16_t{13}), 0);
    EXPECT_EQ(a->SetUserPreferenceIntegerValue(99, int16_t{1}), 0);
    EXPECT_EQ(a->SetUserPreferenceDoubleValue(8, negative), 0);
    EXPECT_THROW(a->GetUserPreferenceIntegerValue(99), cad::AutomationError);
    EXPECT_EQ(save(), 8);
    EXPECT_THAT([&] { activeDoc()->GetTitle(); },
                testing::ThrowsMessage<cad::AutomationError>(
                    testing::AllOf(testing::StartsWith("Fehler beim CAD-Aufruf GetTitle: "),
                                   testing::HasSubstr("eingespeister Fehler bei GetTitle"))));
    EXPECT_EQ(activeDoc()->GetType(), cad::kDocDrawing);  // the others still answer
    ASSERT_EQ(control("ClearFaults"), "");
    EXPECT_EQ(save(), 0);
    EXPECT_EQ(activeDoc()->GetTitle(), "F - Blatt1");
}

// Calls outside the member table: the right member on the wrong interface or
// with the wrong arguments is answered with an error, never served.
TEST_F(Faults, ACallOutsideTheContractIsAnsweredWithAnError)
{
    const char *const iface = "org.freedesktop.DBus.Error.UnknownInterface",
                      *const args = "org.freedesktop.DBus.Error.InvalidArgs";
    const char *const sw = "SldWorks.Application", *const model = "SldWorks.ModelDoc2";
    const struct {
        const char *path, *interface, *member;
        QList<QVariant> arguments;
        const char* answer;  // error name, or the reply's signature
    } rows[] = {
        {"/Application", model, "ActiveDoc", {}, iface},
        {"/Control", sw, "Quit", {}, iface},
        {"/Documents/1", model, "GetSheetCount", {}, "org.freedesktop.DBus.Error.UnknownMethod"},
        {"/Documents/1/Sheets/0", "SldWorks.DrawingDoc", "GetName", {}, iface},
        {"/Application", sw, "GetUserPreferenceToggle", {QStringLiteral("28")}, args},
        {"/Application", sw, "SetUserPreferenceIntegerValue", {9, 300.0}, args},
        {"/Documents/1", model, "SaveAsSilent", {QStringLiteral("x.tif")}, args},
        // Without an interface the member's name is enough, as the bus allows.
        {"/Documents/1", "", "GetSheetCount", {}, "i"},
        {"/Application", sw, "GetUserPreferenceToggle", {28}, "b"},
    };
    for (const auto& row : rows) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(QLatin1String(sw), QLatin1String(row.path),
                                           QLatin1String(row.interface), QLatin1String(row.member));
        call.setArguments(row.arguments);
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
        const QString answer =
            reply.type() == QDBusMessage::ErrorMessage ? reply.errorName() : reply.signature();
        EXPECT_EQ(answer.toStdString(), row.answer) << row.path << " " << row.interface << "." << row.member;
    }
    // Nothing of that was carried out: cadsim still runs, the preference is unchanged.
    EXPECT_EQ(app()->GetUserPreferenceIntegerValue(9), 200);
}

TEST_F(Faults, NoAnswerEndsInTheCallTimeout)
{
    ASSERT_EQ(inject("GetSheetCount", "", "hang"), "");
    ASSERT_EQ(inject("SaveAsSilent", "", "hang"), "");  // cadsim idle: no save is coming
    for (const bool saving : {false, true}) {
        const auto begin = std::chrono::steady_clock::now();
        EXPECT_THAT(
            [&] { saving ? save() : activeDoc()->GetSheetCount(); },
            testing::ThrowsMessage<cad::AutomationError>(testing::HasSubstr("Did not receive a reply")));
        EXPECT_GE(std::chrono::steady_clock::now() - begin,
                  std::chrono::milliseconds(1400));  // not before its time
    }
}

TEST_F(Faults, ACadSystemKilledDuringACallGivesAnErrorOfTheLostPeerAndThenNoApplication)
{
    // Far beyond the kill: the error must come from the lost peer, not from a timeout.
    options.callTimeoutMs = options.saveTimeoutMs = 30000;
    cad::setBackend(cad::dbus::makeBackend(options));
    ASSERT_EQ(inject("SaveAsSilent", "", "hang"), "");
    auto doc = activeDoc();
    // The call waits on a thread of its own; cadsim is killed once it holds the call.
    std::string name = "x.tif";
    bool flag = true;
    auto call = std::async(std::launch::async, [&] {
        EXPECT_THAT([&] { doc->SaveAsSilent(name, flag); },
                    testing::ThrowsMessage<cad::AutomationError>(
                        testing::StartsWith(lostDuringCall("SaveAsSilent"))));
    });
    const bool held = QTest::qWaitFor(
        [&] { return cadsim->output().find("SaveAsSilent bleibt unbeantwortet") != std::string::npos; },
        30000);
    cadsim->kill();
    call.get();
    ASSERT_TRUE(held) << cadsim->output();
    // Nobody owns the name now and the backend finds no cadsim to start.
    EXPECT_EQ(cad::attach(), nullptr);
}

}  // namespace
}  // namespace cadsimtest
