// Starting cadsim: by hand with good and bad arguments, twice, without a bus,
// and by the tool's backend when nobody owns the name.
#include "tests/support/cadsim_fixture.h"

#include "tests/support/cadsim_process.h"

#include <QProcess>

#include <chrono>
#include <cstdlib>

namespace bustest {
namespace {

using testbus::runCadsimToEnd;

TEST(CadsimStart, HelpExplainsOptionsFormatControlAndResultCodes)
{
    std::string out;
    ASSERT_EQ(runCadsimToEnd({"--help"}, out), 0);
    for (const char* part : {"--headless", "--prefs", "--empty", "\"polyline\"", "InjectFault",
                             "SaveAsSilent", "5 Group 4 mit Farbe", "4 Zeichen im Dateinamen"})
        EXPECT_NE(out.find(part), std::string::npos) << part;
    EXPECT_EQ(runCadsimToEnd({"--frobnicate"}, out), 2);
    EXPECT_NE(out.find("unbekannte Option --frobnicate"), std::string::npos) << out;
}

class Start : public CadsimTest {};

TEST_F(Start, AMalformedDrawingEndsTheStartWithOneLineNamingTheFile)
{
    const std::string path = writeFile("kaputt.json", R"({"type": "drawing", "sheets": [{"name": "B"}]})");
    std::string out;
    EXPECT_EQ(runCadsimToEnd({"--headless", "--prefs", preferences, path}, out), 1);
    EXPECT_EQ(out, "cadsim: " + path + ": sheets[0]: Feld \"paperSize\" fehlt\n");
    EXPECT_FALSE(testbus::cadsimOnBus());
}

TEST_F(Start, ASecondCadsimFindsTheNameTakenAndEnds)
{
    start({}, {"--empty"});
    std::string out;
    EXPECT_EQ(runCadsimToEnd({"--headless", "--empty", "--prefs", preferences}, out), 1);
    EXPECT_NE(out.find("schon vergeben"), std::string::npos) << out;
    EXPECT_TRUE(testbus::cadsimOnBus());  // the first one still serves
}

TEST_F(Start, WithoutASessionBusItSaysSo)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QString::fromStdString(testbus::cadsimProgram()),
            {QStringLiteral("--headless"), QStringLiteral("--empty"), QStringLiteral("--prefs"),
             QString::fromStdString(preferences)});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_NE(p.readAll().indexOf("kein D-Bus-Sitzungsbus"), -1);
}

TEST_F(Start, TheBackendStartsCadsimWhenNobodyOwnsTheName)
{
    ASSERT_FALSE(testbus::cadsimOnBus());
    options.cadsimPath = testbus::cadsimProgram();
    options.cadsimArguments = {"--headless", "--empty", "--prefs", preferences};
    options.startWaitMs = 10000;
    cad::setBackend(cad::dbus::makeBackend(options));
    {
        auto a = cad::attach();
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->ActiveDoc(), nullptr);
        EXPECT_EQ(a->GetUserPreferenceIntegerValue(9), 200);
    }
    EXPECT_TRUE(testbus::cadsimOnBus());
    EXPECT_EQ(control("Quit"), "");
}

// A cadsim that ends at once is not waited for; a missing one is not either.
TEST_F(Start, NoCadsimOnTheBusAfterTheStartMeansNoApplicationAtOnce)
{
    options.startWaitMs = 20000;
    for (const std::vector<std::string>& program :
         {std::vector<std::string>{testbus::cadsimProgram(), "--frobnicate"},
          std::vector<std::string>{folder() + "/cadsim-fehlt"}}) {
        options.cadsimPath = program[0];
        options.cadsimArguments.assign(program.begin() + 1, program.end());
        cad::setBackend(cad::dbus::makeBackend(options));
        const auto begin = std::chrono::steady_clock::now();
        EXPECT_EQ(cad::attach(), nullptr) << program[0];
        EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5)) << program[0];
    }
}

}  // namespace
}  // namespace bustest
