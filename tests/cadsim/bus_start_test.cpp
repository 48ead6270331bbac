// Starting cadsim: by hand with good and bad arguments, twice, without a bus,
// and by the tool's backend when nobody owns the name; then the document
// members it serves through the tool's D-Bus backend. The sheet queries are
// the sheet information window's end-to-end matter.
#include "tests/support/cadsim_fixture.h"

#include "tests/support/cadsim_process.h"

#include <gmock/gmock.h>

#include <chrono>

namespace cadsimtest {
namespace {

class Start : public CadsimTest {};

TEST_F(Start, ByHandItEndsOnBadArgumentsABrokenDrawingATakenNameOrNoBus)
{
    const std::string broken = writeFile("kaputt.json", R"({"type": "drawing", "sheets": [{"name": "B"}]})");
    start({}, {"--empty"});
    const std::vector<std::string> serve{"--headless", "--empty", "--prefs", preferences};
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string output;         // a part of it, or all of it when it ends in a line break
        const char* bus = nullptr;  // another session bus address
    } rows[] = {
        {{"--help"}, 0, "InjectFault"},
        {{"--frobnicate"}, 2, "unbekannte Option --frobnicate"},
        {{"/RegServer", "--empty"}, 2, "cadsim: /RegServer gibt es nur unter Windows (COM)\n"},
        {{"-unregserver", "--empty"}, 2, "cadsim: /UnregServer gibt es nur unter Windows (COM)\n"},
        {{"/regserver", "-UnRegServer"}, 2, "schließen sich aus"},
        {{"--headless", "--prefs", preferences, broken},
         1,
         "cadsim: " + broken + ": sheets[0]: Feld \"paperSize\" fehlt\n"},
        {serve, 1, "schon vergeben"},
        {{"/Embedding", "--headless", "--empty", "--prefs", preferences},
         1,
         "schon vergeben"},  // COM's start
        {serve, 1, "kein D-Bus-Sitzungsbus", "unix:path=/nonexistent/bus"},
    };
    const QByteArray ownBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.output);
        qputenv("DBUS_SESSION_BUS_ADDRESS", row.bus ? QByteArray(row.bus) : ownBus);
        std::string out;
        EXPECT_EQ(testbus::runCadsimToEnd(row.arguments, out), row.exitCode);
        EXPECT_THAT(out, row.output.ends_with('\n') ? testing::Matcher<std::string>(testing::Eq(row.output))
                                                    : testing::HasSubstr(row.output));
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", ownBus);
    EXPECT_TRUE(testbus::cadsimOnBus());  // the first one still serves
}

// When nobody owns the name the backend starts cadsim; one that ends at once
// is not waited for, a missing one is not either: neither waits out the bound.
TEST_F(Start, TheBackendStartsCadsimWhenNobodyOwnsTheNameAndWaitsOnlyWhileItRuns)
{
    options.startWaitMs = 40000;
    const std::vector<std::string> programs[] = {
        {testbus::cadsimProgram(), "--frobnicate"},
        {folder() + "/cadsim-fehlt"},
        {testbus::cadsimProgram(), "--headless", "--empty", "--prefs", preferences}};
    for (const std::vector<std::string>& program : programs) {
        SCOPED_TRACE(program.back());
        ASSERT_FALSE(testbus::cadsimOnBus());
        options.cadsimPath = program[0];
        options.cadsimArguments.assign(program.begin() + 1, program.end());
        cad::setBackend(cad::dbus::makeBackend(options));
        const bool starts = &program == &programs[2];
        const auto begin = std::chrono::steady_clock::now();
        EXPECT_EQ(cad::attach() != nullptr, starts);
        if (!starts) {
            EXPECT_LT(std::chrono::steady_clock::now() - begin,
                      std::chrono::milliseconds(options.startWaitMs));
        }
    }
    EXPECT_EQ(app()->GetUserPreferenceIntegerValue(9), 200);
    EXPECT_EQ(app()->ActiveDoc(), nullptr);
    EXPECT_EQ(control("Quit"), "");
}

class Queries : public CadsimTest {};

TEST_F(Queries, PartsAssembliesNoDocumentAndOpenDocumentAreToldApart)
{
    start({writeFile("Welle.json", R"({"type": "part"})"),
           writeFile("Getriebe.json", R"({"type": "assembly", "title": "Getriebe 3"})")});
    auto doc = activeDoc();
    EXPECT_EQ(doc->GetType(), cad::kDocPart);
    EXPECT_EQ(doc->GetTitle(), "Welle");
    EXPECT_THROW(doc->GetSheetCount(), cad::AutomationError);  // a part has no sheets
    EXPECT_EQ(control("CloseDocument"), "");
    doc = activeDoc();
    EXPECT_EQ(doc->GetType(), cad::kDocAssembly);
    EXPECT_EQ(doc->GetTitle(), "Getriebe 3");
    EXPECT_EQ(control("CloseAllDocuments"), "");
    EXPECT_EQ(activeDoc(), nullptr);

    // Opening activates; a broken file or an unknown sheet changes nothing.
    const std::string a = writeFile("A.json", drawingJson("A", {{"S1"}, {"S2"}}));
    EXPECT_EQ(control("OpenDocument", {QString::fromStdString(a)}), "");
    EXPECT_EQ(activeDoc()->GetTitle(), "A - S1");
    const std::string broken = writeFile("kaputt.json", R"({"type": "drawing", "sheets": [{"name": 1}]})");
    const std::string error = control("OpenDocument", {QString::fromStdString(broken)});
    EXPECT_NE(error.find("kaputt.json: sheets[0].name: Text erwartet"), std::string::npos) << error;
    std::string unknown = "S9";
    EXPECT_EQ(activeDoc()->ActivateSheet(unknown), cad::kFalse);
    EXPECT_EQ(activeDoc()->GetTitle(), "A - S1");
}

}  // namespace
}  // namespace cadsimtest
