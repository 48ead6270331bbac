#include "dialogs/registry.h"
#include "dialogs/system_info.h"
#include "tests/support/fake_launcher.h"
#include "tests/support/memory_registry.h"
#include "tests/support/message_recorder.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const std::string kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kProgram = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
constexpr int kNoValue = -1, kNoKey = -2;

TEST(KeyValue, ReadsTextsNumbersAndOtherTypesFromAKeyAStandardUserMayOnlyRead)
{
    using std::string;
    struct Case {
        const char* what;
        int type;
        string bytes;
        bool found;
        string text;
    } const cases[] = {
        {"text with its NUL", kup::kRegSz, string("C:\\a\0", 5), true, "C:\\a"},
        {"text without", kup::kRegSz, "C:\\ohne", true, "C:\\ohne"},
        {"only the last NUL is cut", kup::kRegSz, string("C:\\a\0\0", 6), true, string("C:\\a\0", 5)},
        {"empty text", kup::kRegSz, "", true, ""},
        {"number", kup::kRegDword, string("\x67\x12\0\0", 4), true, "4711"},
        {"largest number", kup::kRegDword, "\xFF\xFF\xFF\xFF", true, "4294967295"},
        {"another type counts as found unchanged", 2, string("%WINDIR%\0", 9), true, "alt"},
        {"the buffer's 1024", kup::kRegSz, string(1024, 'x'), true, string(1024, 'x')},
        {"oversized", kup::kRegSz, string(1025, 'x'), false, ""},
        {"no value", kNoValue, "", false, ""},
        {"no key", kNoKey, "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::MemoryRegistry registry;
        if (c.type == kNoValue)
            registry.addKey(kMsinfo);
        else if (c.type != kNoKey)
            registry.setValue(kMsinfo, "PATH", uint32_t(c.type), c.bytes);
        std::string text = "alt";
        EXPECT_EQ(kup::GetKeyValue(registry, kup::kHkeyLocalMachine, kMsinfo, "PATH", text), c.found);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(registry.openKeys(), 0);  // closed on every path
        if (c.type == kup::kRegSz && c.found) {
            EXPECT_EQ(registry.journal,
                      (std::vector<std::string>{"OpenKey(" + kMsinfo + ", 0x20019)",
                                                "QueryValue(software\\microsoft\\shared tools\\msinfo, PATH)",
                                                "CloseKey(software\\microsoft\\shared tools\\msinfo)"}));
        }
    }
}

TEST(SysInfo, TheProgramKeyDecidesAloneWithoutItTheLocationKeyThenTheDesktopsProgram)
{
    const std::string joined = "C:\\Tools\\MSINFO32.EXE";
    const std::string desktop = "/usr/bin/gnome-system-monitor";
    constexpr uint32_t k32 = kup::kKeyWow64_32Key;
    struct Case {
        const char* what;
        int programType;  // of MSINFO\PATH, or kNoValue
        bool location;    // the location key names C:\Tools
        std::set<std::string> files;
        std::optional<std::string> equivalent;
        bool refuseStart;
        std::string started;  // "" = nothing, with the message
        uint32_t programView = kup::kKeyWow64_64Key, locationView = kup::kKeyWow64_64Key;
    } const cases[] = {
        {"program key", kup::kRegSz, true, {kProgram, joined, desktop}, desktop, false, kProgram},
        {"program key, file missing", kup::kRegSz, true, {joined}, {}, false, ""},
        {"program key of another type", 3 /* binary */, true, {joined}, {}, false, ""},
        {"program that will not start", kup::kRegSz, false, {kProgram}, {}, true, ""},
        {"location key, file present", kNoValue, true, {joined, desktop}, desktop, false, joined},
        {"location key, file missing", kNoValue, true, {}, {}, false, ""},
        {"no keys", kNoValue, false, {}, {}, false, ""},
        {"no keys, a desktop program", kNoValue, false, {desktop}, desktop, false, desktop},
        // What a 32-bit program sees counts where the 64-bit view lacks it, step by step.
        {"program key seen by 32-bit programs",
         kup::kRegSz,
         true,
         {kProgram, joined},
         {},
         false,
         kProgram,
         k32},
        {"location key seen by 32-bit programs", kNoValue, true, {joined}, {}, false, joined, k32, k32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::MemoryRegistry registry;
        fake::Launcher launcher;
        fake::MessageRecorder messages;
        if (c.programType != kNoValue)
            registry.setValue(kMsinfo, "PATH", uint32_t(c.programType),
                              c.programType == kup::kRegSz ? kProgram + '\0' : "\x01\x02", c.programView);
        if (c.location)
            registry.setText("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", "C:\\Tools",
                             c.locationView);
        launcher.files = c.files;
        launcher.equivalent = c.equivalent;
        launcher.refuseStart = c.refuseStart;
        kup::StartSysInfo(registry, launcher, messages);
        // The location's file is looked for only when the program key is absent.
        EXPECT_EQ(launcher.looked, (c.programType == kNoValue && c.location ? std::vector<std::string>{joined}
                                                                            : std::vector<std::string>{}));
        EXPECT_EQ(launcher.started, c.started.empty() ? std::vector<std::string>{} : std::vector{c.started});
        const std::vector<fake::Message> unavailable{
            {"System-Informationen sind augenblicklich nicht verfügbar.", "KUP_Tools"}};
        EXPECT_EQ(messages.messages, c.started.empty() ? unavailable : std::vector<fake::Message>{});
        EXPECT_EQ(registry.openKeys(), 0);
    }
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
