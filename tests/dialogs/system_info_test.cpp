#include "dialogs/registry.h"
#include "dialogs/system_info.h"
#include "tests/support/fake_launcher.h"
#include "tests/support/memory_registry.h"
#include "tests/support/message_recorder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::string kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";
const std::string kProgram = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";

struct Read {
    bool found;
    std::string text;
};

class KeyValue : public ::testing::Test {
protected:
    Read read(const std::string& key, const std::string& value)
    {
        std::string text = "alt";
        const bool found = kup::GetKeyValue(registry, kup::kHkeyLocalMachine, key, value, text);
        return {found, text};
    }
    fake::MemoryRegistry registry;
};

TEST_F(KeyValue, TextLosesItsTerminatingNulOnlyAndIsTakenWholeWithoutOne)
{
    registry.setText(kMsinfo, "PATH", kProgram);
    EXPECT_EQ(read(kMsinfo, "PATH").text, kProgram);

    registry.setValue(kMsinfo, "PATH", kup::kRegSz, "C:\\ohne");
    EXPECT_EQ(read(kMsinfo, "PATH").text, "C:\\ohne");

    // Only the last character is cut, and only when it is a NUL.
    registry.setValue(kMsinfo, "PATH", kup::kRegSz, std::string("C:\\a\0\0", 6));
    EXPECT_EQ(read(kMsinfo, "PATH").text, std::string("C:\\a\0", 5));

    registry.setValue(kMsinfo, "PATH", kup::kRegSz, "");
    const Read empty = read(kMsinfo, "PATH");
    EXPECT_TRUE(empty.found);
    EXPECT_EQ(empty.text, "");
}

TEST_F(KeyValue, NumbersGiveTheirDecimalTextAndOtherTypesCountAsFoundUnchanged)
{
    registry.setDword(kMsinfo, "PATH", 4711);
    EXPECT_EQ(read(kMsinfo, "PATH").text, "4711");
    registry.setDword(kMsinfo, "PATH", 0xFFFFFFFFu);
    EXPECT_EQ(read(kMsinfo, "PATH").text, "4294967295");

    registry.setValue(kMsinfo, "PATH", 2 /* expandable text */, std::string("%WINDIR%\0", 9));
    const Read other = read(kMsinfo, "PATH");
    EXPECT_TRUE(other.found);
    EXPECT_EQ(other.text, "alt");
}

TEST_F(KeyValue, MissingKeyOrValueOrOversizedValueGivesFalseAndEmptyText)
{
    EXPECT_FALSE(read(kMsinfo, "PATH").found);
    EXPECT_EQ(read(kMsinfo, "PATH").text, "");

    registry.addKey(kMsinfo);
    EXPECT_FALSE(read(kMsinfo, "PATH").found);
    EXPECT_EQ(read(kMsinfo, "PATH").text, "");

    registry.setValue(kMsinfo, "PATH", kup::kRegSz, std::string(1025, 'x'));
    EXPECT_EQ(read(kMsinfo, "PATH").found, false);
    EXPECT_EQ(read(kMsinfo, "PATH").text, "");

    // The buffer holds 1024 characters: a value of exactly that size is read whole.
    registry.setValue(kMsinfo, "PATH", kup::kRegSz, std::string(1024, 'x'));
    EXPECT_EQ(read(kMsinfo, "PATH").text, std::string(1024, 'x'));
}

TEST_F(KeyValue, OpensForReadingSoThatAStandardUserFindsTheMachineKeyAndClosesOnEveryPath)
{
    registry.addKey(kMsinfo, /*writable=*/false);
    EXPECT_FALSE(read(kMsinfo, "PATH").found);
    registry.setText(kMsinfo, "PATH", kProgram);
    EXPECT_TRUE(read(kMsinfo, "PATH").found);

    EXPECT_THAT(registry.journal, ElementsAre("OpenKey(" + kMsinfo + ", 0x20019)",
                                              "QueryValue(software\\microsoft\\shared tools\\msinfo, PATH)",
                                              "CloseKey(software\\microsoft\\shared tools\\msinfo)",
                                              "OpenKey(" + kMsinfo + ", 0x20019)",
                                              "QueryValue(software\\microsoft\\shared tools\\msinfo, PATH)",
                                              "CloseKey(software\\microsoft\\shared tools\\msinfo)"));
    EXPECT_EQ(registry.openKeys(), 0);
}

class SysInfo : public ::testing::Test {
protected:
    void start() { kup::StartSysInfo(registry, launcher, messages); }
    void expectUnavailable()
    {
        EXPECT_THAT(launcher.started, IsEmpty());
        EXPECT_THAT(messages.messages,
                    ElementsAre(fake::Message{"System-Informationen sind augenblicklich nicht verfügbar.",
                                              "KUP_Tools", kup::Icon::None}));
    }
    fake::MemoryRegistry registry;
    fake::Launcher launcher;
    fake::MessageRecorder messages;
};

TEST(SysInfoKeys, TheProgramKeyDecidesAloneAndOnlyWithoutItTheLocationKeyIsJoinedWithTheProgramName)
{
    const std::string joined = "C:\\Tools\\MSINFO32.EXE";
    struct Case {
        const char* what;
        uint32_t programType;  // of MSINFO\PATH; 0 = no such value
        std::string program;
        std::set<std::string> files;
        std::string started;  // "" = nothing, with the message
    } const cases[] = {
        {"program key", kup::kRegSz, kProgram, {kProgram, joined}, kProgram},
        {"program key, file missing", kup::kRegSz, "C:\\weg\\msinfo32.exe", {joined}, ""},
        {"program key of another type", 3 /* binary */, "\x01\x02", {joined}, ""},
        {"location key, file present", 0, "", {joined}, joined},
        {"location key, file missing", 0, "", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::MemoryRegistry registry;
        fake::Launcher launcher;
        fake::MessageRecorder messages;
        if (c.programType != 0)
            registry.setValue(kMsinfo, "PATH", c.programType, c.program);
        registry.setText(kLocation, "MSINFO", "C:\\Tools");
        launcher.files = c.files;
        kup::StartSysInfo(registry, launcher, messages);
        // The location key is read, and its file looked for, only when the program key is absent.
        bool locationRead = false;
        for (const auto& call : registry.journal)
            locationRead = locationRead || call.find("Shared Tools Location") != std::string::npos;
        EXPECT_EQ(locationRead, c.programType == 0);
        EXPECT_EQ(launcher.looked,
                  c.programType == 0 ? std::vector<std::string>{joined} : std::vector<std::string>{});
        EXPECT_EQ(launcher.started,
                  c.started.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.started});
        EXPECT_EQ(messages.messages.size(), c.started.empty() ? 1u : 0u);
        if (!messages.messages.empty())
            EXPECT_EQ(messages.messages[0],
                      (fake::Message{"System-Informationen sind augenblicklich nicht verfügbar.", "KUP_Tools",
                                     kup::Icon::None}));
    }
}

TEST_F(SysInfo, NoKeysOrAProgramThatWillNotStartGiveTheMessage)
{
    start();
    expectUnavailable();
    EXPECT_EQ(registry.openKeys(), 0);

    messages.messages.clear();
    registry.setText(kMsinfo, "PATH", kProgram);
    launcher.files = {kProgram};
    launcher.refuseStart = true;
    start();
    expectUnavailable();
}

TEST_F(SysInfo, WithoutRegistryEntriesAnEquivalentDesktopProgramIsStarted)
{
    launcher.equivalent = "/usr/bin/gnome-system-monitor";
    launcher.files = {"/usr/bin/gnome-system-monitor"};
    start();
    EXPECT_THAT(launcher.started, ElementsAre("/usr/bin/gnome-system-monitor"));
    EXPECT_THAT(messages.messages, IsEmpty());

    // The registry's program comes first wherever there is one.
    launcher.started.clear();
    registry.setText(kMsinfo, "PATH", kProgram);
    launcher.files.insert(kProgram);
    start();
    EXPECT_THAT(launcher.started, ElementsAre(kProgram));
}

TEST(SearchPath, FindsTheFirstPreferredProgramInAnyFolderAndSkipsEmptyEntries)
{
    fake::Launcher launcher;
    launcher.files = {"/usr/local/bin/ksysguard", "/usr/bin/lxtask", "./hardinfo"};
    const std::vector<std::string> programs = {"gnome-system-monitor", "ksysguard", "lxtask", "hardinfo"};
    EXPECT_EQ(kup::findOnSearchPath(programs, "/usr/bin:/usr/local/bin/", ':', launcher),
              "/usr/local/bin/ksysguard");
    EXPECT_EQ(kup::findOnSearchPath({"hardinfo"}, "::/usr/bin:", ':', launcher), std::nullopt);
    EXPECT_EQ(kup::findOnSearchPath(programs, "", ':', launcher), std::nullopt);
}

}  // namespace
