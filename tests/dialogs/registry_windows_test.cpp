// GetKeyValue through the real registry functions, and the About window's "System-Info..." on
// the machine's own registry and program start, against keys written with reg.exe, with a small
// program standing in for MSINFO32.
#include "dialogs/frmAbout.h"
#include "dialogs/registry.h"
#include "dialogs/windows_system.h"
#include "platform/win_text.h"
#include "tests/support/message_recorder.h"
#include "ui/qt_message_boxes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace {

// Changes keys through the system's own reg.exe, as a user would, its reports
// kept out of the runner's output; whether it succeeded.
bool reg(const std::string& arguments)
{
    return _wsystem((L"reg.exe " + win::wideFromUtf8(arguments) + L" >NUL 2>&1").c_str()) == 0;
}

// The cases rewrite machine keys only where the script that set up the
// private prefix says so, never on a machine of someone's own.
class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* flag = std::getenv("KUP_TEST_PREFIX");
        if (!flag || std::string(flag) != "1")
            GTEST_SKIP() << "nur in der Test-Umgebung von tools/wine_tests.sh";
    }
};

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
        standIn_ = std::filesystem::path(self).parent_path() / "kup_msinfo_standin.exe";
        folder_ = QDir::toNativeSeparators(temporary_.path()).toStdWString();
        removeKeys();
    }
    ~SysInfoSetup() { removeKeys(); }
    std::string install(const std::string& name)
    {
        std::filesystem::copy_file(standIn_, folder_ / name);
        return pathText(folder_ / name);
    }
    std::string folder() const { return pathText(folder_); }
    // The programs started, by the marks the stand-in leaves beside itself
    // (it runs on its own): waits for one when one is expected.
    std::string started(bool expected) const
    {
        std::string names;
        for (int i = 0; i < (expected ? 300 : 5) && names.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            for (const auto& entry : std::filesystem::directory_iterator(folder_))
                if (entry.path().extension() == ".gestartet")
                    names += entry.path().stem().string() + " ";
        }
        return names;
    }

private:
    static std::string pathText(const std::filesystem::path& path)
    {
        return win::utf8FromWide(path.wstring());
    }
    static void removeKeys()
    {
        for (const char* key : {kMsinfo, kLocation})
            for (const char* view : {" /reg:64", " /reg:32"})
                reg("delete \"HKLM\\" + std::string(key) + "\" /f" + view);
    }
    const QTemporaryDir temporary_;  // the process's own
    std::filesystem::path standIn_;
    std::filesystem::path folder_;
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

// What the About window's button did: its messages and the programs it started.
std::string startSysInfo(const SysInfoSetup& setup, bool expectStart)
{
    fake::MessageRecorder messages;
    const ui::ScopedMessageBoxes installed{messages};
    frmAbout form;
    form.show();
    QTest::mouseClick(form.control("cmdSysInfo"), Qt::LeftButton);
    std::string text;
    for (const auto& m : messages.messages)
        text += m.title + ": " + m.text + "; ";
    return text + "gestartet: " + setup.started(expectStart);
}

std::string q(const std::string& text)
{
    return "\"" + text + "\"";
}

// A value written below HKEY_LOCAL_MACHINE: "/v name [/t type] /d data", in the 64-bit view
// or the one given (" /reg:32").
void add(const char* key, const std::string& value, const char* view = " /reg:64")
{
    if (!reg("add " + q(std::string("HKLM\\") + key) + " " + value + " /f" + view))
        throw std::runtime_error("reg add " + value + " schlug fehl");
}

TEST_F(Registry, KeyValuesThroughTheRegistryFunctions)
{
    SysInfoSetup setup;
    bool found = false;
    EXPECT_EQ(value(kMsinfo, "PATH", &found), "");
    EXPECT_FALSE(found);

    // reg.exe stores texts with their terminating NUL; it is cut off.
    add(kMsinfo, "/v PATH /t REG_SZ /d " + q("C:\\Programme\\Gemeinsame Dateien\\msinfo32.exe"));
    EXPECT_EQ(value(kMsinfo, "PATH", &found), "C:\\Programme\\Gemeinsame Dateien\\msinfo32.exe");
    EXPECT_TRUE(found);

    add(kMsinfo, "/v Zahl /t REG_DWORD /d 4711");
    EXPECT_EQ(value(kMsinfo, "Zahl"), "4711");

    add(kMsinfo, "/v Roh /t REG_BINARY /d 0102");
    EXPECT_EQ(value(kMsinfo, "Roh", &found), "alt");
    EXPECT_TRUE(found);

    // A text stored without a NUL is taken whole.
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMsinfo, 0, KEY_SET_VALUE, &key);
    RegSetValueExA(key, "OhneNul", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\abc"), 6);
    RegCloseKey(key);
    EXPECT_EQ(value(kMsinfo, "OhneNul"), "C:\\abc");
}

TEST_F(Registry, SysInfoFindsTheProgramThroughEitherKeyOrSaysItIsUnavailable)
{
    struct Row {
        const char* what;
        const char* pathValue;  // file name in the folder the MSINFO key's PATH names; null: no PATH
        bool locationKey;       // the location key names the folder
        std::vector<std::string> installed;
        bool hidden;          // the installed programs are hidden
        const char* started;  // null: the message, and nothing started
        const char* pathView = " /reg:64";
        const char* locationView = " /reg:64";
    };
    const Row rows[] = {
        {"PATH zuerst", "sysinfo.exe", true, {"sysinfo.exe", "MSINFO32.EXE"}, false, "sysinfo.exe"},
        {"PATH fehlt", "fehlt.exe", true, {"MSINFO32.EXE"}, false, nullptr},
        {"Ordner + Name", nullptr, true, {"MSINFO32.EXE"}, false, "MSINFO32.EXE"},
        {"Ordner leer", nullptr, true, {}, false, nullptr},
        {"versteckt", nullptr, true, {"MSINFO32.EXE"}, true, nullptr},
        {"keine Schlüssel", nullptr, false, {}, false, nullptr},
        // Where the 64-bit view lacks a value, the one of 32-bit programs is read, step by step.
        {"PATH nur 32 Bit",
         "sysinfo.exe",
         true,
         {"sysinfo.exe", "MSINFO32.EXE"},
         false,
         "sysinfo.exe",
         " /reg:32"},
        {"Ordner nur 32 Bit", nullptr, true, {"MSINFO32.EXE"}, false, "MSINFO32.EXE", "", " /reg:32"},
    };
    for (const Row& row : rows) {
        SysInfoSetup setup;
        for (const std::string& name : row.installed) {
            const std::string path = setup.install(name);
            if (row.hidden)
                SetFileAttributesW(win::wideFromUtf8(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
        }
        if (row.pathValue)
            add(kMsinfo, "/v PATH /d " + q(setup.folder() + "\\" + row.pathValue), row.pathView);
        if (row.locationKey)
            add(kLocation, "/v MSINFO /d " + q(setup.folder()), row.locationView);
        const std::string expected =
            row.started ? std::string("gestartet: ") + row.started + " "
                        : "KUP_Tools: System-Informationen sind augenblicklich nicht verfügbar.; gestartet: ";
        EXPECT_EQ(startSysInfo(setup, row.started != nullptr), expected) << row.what;
    }
}

}  // namespace
