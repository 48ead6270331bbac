// GetKeyValue and StartSysInfo through the real registry functions, against
// keys written with reg.exe, with a small program standing in for MSINFO32.
#include "dialogs/registry.h"
#include "dialogs/system_info.h"
#include "dialogs/windows_system.h"
#include "tests/com/check.h"
#include "tests/com/registry_keys.h"
#include "tests/support/message_recorder.h"

#include "cad/com/com_handles.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

const char* const kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";

// A folder of its own with the stand-in program under the given name, and
// the keys of both lookups removed when the case ends.
class SysInfoSetup {
public:
    SysInfoSetup()
    {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        standIn_ = fs::path(self).parent_path() / "kup_msinfo_standin.exe";
        folder_ = fs::temp_directory_path() / "kup-sysinfo";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        removeKeys();
    }
    ~SysInfoSetup()
    {
        removeKeys();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string install(const std::string& name)
    {
        fs::copy_file(standIn_, folder_ / name);
        return pathText(folder_ / name);
    }
    std::string folder() const { return pathText(folder_); }
    // The stand-in leaves a mark beside itself when it starts; it runs on its own.
    bool startedAs(const std::string& name) const
    {
        const fs::path mark = folder_ / (name + ".gestartet");
        for (int i = 0; i < 100 && !fs::exists(mark); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return fs::exists(mark);
    }
    bool anyStarted() const
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        for (const auto& entry : fs::directory_iterator(folder_))
            if (entry.path().extension() == ".gestartet")
                return true;
        return false;
    }

private:
    static std::string pathText(const fs::path& path) { return cad::com::utf8FromWide(path.wstring()); }
    static void removeKeys()
    {
        for (const char* key : {kMsinfo, kLocation})
            testkeys::run(L"reg.exe delete \"HKLM\\" + cad::com::wideFromUtf8(key) + L"\" /f");
    }
    fs::path standIn_;
    fs::path folder_;
};

std::string value(const char* key, const char* name, bool* found = nullptr)
{
    kup::WindowsRegistry registry;
    std::string text = "alt";
    const bool ok = kup::GetKeyValue(registry, kup::kHkeyLocalMachine, key, name, text);
    if (found)
        *found = ok;
    return text;
}

std::vector<fake::Message> startSysInfo()
{
    kup::WindowsRegistry registry;
    kup::WindowsLauncher launcher;
    fake::MessageRecorder messages;
    kup::StartSysInfo(registry, launcher, messages);
    return messages.messages;
}

const std::vector<fake::Message> kUnavailable = {
    {"System-Informationen sind augenblicklich nicht verfügbar.", "KUP_Tools", ui::Icon::None}};

std::string q(const std::string& text) { return "\"" + text + "\""; }

std::string shownMessages(const std::vector<fake::Message>& messages)
{
    std::string text;
    for (const auto& m : messages)
        text += m.title + ": " + m.text + "; ";
    return text;
}

#define CHECK_MESSAGES(actual, expected) CHECK_EQ(shownMessages(actual), shownMessages(expected))

CASE(KeyValuesThroughTheRegistryFunctions)
{
    if (!testkeys::inTestPrefix())
        return;
    SysInfoSetup setup;
    bool found = false;
    CHECK_EQ(value(kMsinfo, "PATH", &found), std::string(""));
    CHECK(!found);

    // reg.exe stores texts with their terminating NUL; it is cut off.
    testkeys::reg("add " + q(std::string("HKLM\\") + kMsinfo) + " /v PATH /t REG_SZ /d " +
                  q("C:\\Programme\\Gemeinsame Dateien\\msinfo32.exe") + " /f");
    CHECK_EQ(value(kMsinfo, "PATH", &found), std::string("C:\\Programme\\Gemeinsame Dateien\\msinfo32.exe"));
    CHECK(found);

    testkeys::reg("add " + q(std::string("HKLM\\") + kMsinfo) + " /v Zahl /t REG_DWORD /d 4711 /f");
    CHECK_EQ(value(kMsinfo, "Zahl"), std::string("4711"));

    testkeys::reg("add " + q(std::string("HKLM\\") + kMsinfo) + " /v Roh /t REG_BINARY /d 0102 /f");
    CHECK_EQ(value(kMsinfo, "Roh", &found), std::string("alt"));
    CHECK(found);

    // A text stored without a NUL is taken whole.
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMsinfo, 0, KEY_SET_VALUE, &key);
    RegSetValueExA(key, "OhneNul", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\abc"), 6);
    RegCloseKey(key);
    CHECK_EQ(value(kMsinfo, "OhneNul"), std::string("C:\\abc"));
}

CASE(SysInfoStartsTheProgramTheMsinfoKeyNames)
{
    if (!testkeys::inTestPrefix())
        return;
    SysInfoSetup setup;
    const std::string program = setup.install("sysinfo.exe");
    setup.install("MSINFO32.EXE");
    testkeys::reg("add " + q(std::string("HKLM\\") + kMsinfo) + " /v PATH /d " + q(program) + " /f");
    testkeys::reg("add " + q(std::string("HKLM\\") + kLocation) + " /v MSINFO /d " + q(setup.folder()) + " /f");
    CHECK_MESSAGES(startSysInfo(), std::vector<fake::Message>{});
    CHECK(setup.startedAs("sysinfo.exe"));
    CHECK(!setup.startedAs("MSINFO32.EXE"));
}

CASE(SysInfoWithAMissingProgramInTheMsinfoKeyGivesTheMessage)
{
    if (!testkeys::inTestPrefix())
        return;
    SysInfoSetup setup;
    setup.install("MSINFO32.EXE");
    testkeys::reg("add " + q(std::string("HKLM\\") + kMsinfo) + " /v PATH /d " +
                  q(setup.folder() + "\\fehlt.exe") + " /f");
    testkeys::reg("add " + q(std::string("HKLM\\") + kLocation) + " /v MSINFO /d " + q(setup.folder()) + " /f");
    CHECK_MESSAGES(startSysInfo(), kUnavailable);
    CHECK(!setup.anyStarted());
}

CASE(SysInfoJoinsTheLocationKeyWithTheProgramName)
{
    if (!testkeys::inTestPrefix())
        return;
    SysInfoSetup setup;
    setup.install("MSINFO32.EXE");
    testkeys::reg("add " + q(std::string("HKLM\\") + kLocation) + " /v MSINFO /d " + q(setup.folder()) + " /f");
    CHECK_MESSAGES(startSysInfo(), std::vector<fake::Message>{});
    CHECK(setup.startedAs("MSINFO32.EXE"));
}

CASE(SysInfoWithoutTheProgramInTheLocationFolderGivesTheMessage)
{
    if (!testkeys::inTestPrefix())
        return;
    SysInfoSetup setup;
    testkeys::reg("add " + q(std::string("HKLM\\") + kLocation) + " /v MSINFO /d " + q(setup.folder()) + " /f");
    CHECK_MESSAGES(startSysInfo(), kUnavailable);

    // Nor does a hidden file count.
    const std::string hidden = setup.install("MSINFO32.EXE");
    SetFileAttributesW(cad::com::wideFromUtf8(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN);
    CHECK_MESSAGES(startSysInfo(), kUnavailable);
    CHECK(!setup.anyStarted());
}

CASE(SysInfoWithoutAnyKeyGivesTheMessage)
{
    if (!testkeys::inTestPrefix())
        return;
    SysInfoSetup setup;
    CHECK_MESSAGES(startSysInfo(), kUnavailable);
}

}  // namespace
