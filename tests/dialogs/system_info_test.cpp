#include "dialogs/registry.h"
#include "dialogs/system_info.h"
#include "tests/support/fake_launcher.h"
#include "tests/support/memory_registry.h"
#include "tests/support/message_recorder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

    EXPECT_THAT(registry.journal,
                ElementsAre("OpenKey(" + kMsinfo + ", 0x20019)",
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
    bool secondKeyRead() const
    {
        for (const auto& call : registry.journal)
            if (call.find("Shared Tools Location") != std::string::npos)
                return true;
        return false;
    }
    void expectUnavailable()
    {
        EXPECT_THAT(launcher.started, IsEmpty());
        EXPECT_THAT(messages.messages,
                    ElementsAre(fake::Message{"System-Informationen sind augenblicklich nicht verfügbar.",
                                              "KUP_Tools", ui::Icon::None}));
    }
    fake::MemoryRegistry registry;
    fake::Launcher launcher;
    fake::MessageRecorder messages;
};

TEST_F(SysInfo, ProgramKeyIsStartedAsItStandsAndTheLocationKeyIsNeverRead)
{
    registry.setText(kMsinfo, "PATH", kProgram);
    registry.setText(kLocation, "MSINFO", "C:\\Tools");
    launcher.files = {kProgram, "C:\\Tools\\MSINFO32.EXE"};
    start();
    EXPECT_THAT(launcher.started, ElementsAre(kProgram));
    EXPECT_THAT(launcher.looked, IsEmpty());
    EXPECT_THAT(messages.messages, IsEmpty());
    EXPECT_FALSE(secondKeyRead());
}

TEST_F(SysInfo, ProgramKeyNamingAMissingFileGivesTheMessageWithoutTryingTheLocationKey)
{
    registry.setText(kMsinfo, "PATH", "C:\\weg\\msinfo32.exe");
    registry.setText(kLocation, "MSINFO", "C:\\Tools");
    launcher.files = {"C:\\Tools\\MSINFO32.EXE"};
    start();
    expectUnavailable();
    EXPECT_FALSE(secondKeyRead());
}

TEST_F(SysInfo, ProgramKeyOfAnotherTypeEndsTheSearchAndGivesTheMessage)
{
    registry.setValue(kMsinfo, "PATH", 3 /* binary */, "\x01\x02");
    registry.setText(kLocation, "MSINFO", "C:\\Tools");
    launcher.files = {"C:\\Tools\\MSINFO32.EXE"};
    start();
    expectUnavailable();
    EXPECT_FALSE(secondKeyRead());
}

TEST_F(SysInfo, LocationKeyAloneIsJoinedWithTheProgramNameWhenThatFileExists)
{
    registry.setText(kLocation, "MSINFO", "C:\\Program Files\\Shared\\MSInfo");
    launcher.files = {"C:\\Program Files\\Shared\\MSInfo\\MSINFO32.EXE"};
    start();
    EXPECT_THAT(launcher.started, ElementsAre("C:\\Program Files\\Shared\\MSInfo\\MSINFO32.EXE"));
    EXPECT_THAT(messages.messages, IsEmpty());
}

TEST_F(SysInfo, LocationKeyWithoutTheProgramFileStartsNothing)
{
    registry.setText(kLocation, "MSINFO", "C:\\Tools");
    start();
    EXPECT_THAT(launcher.looked, ElementsAre("C:\\Tools\\MSINFO32.EXE"));
    expectUnavailable();
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
