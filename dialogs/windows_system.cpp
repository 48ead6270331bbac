#include "dialogs/windows_system.h"

#include "platform/win_text.h"

#include <windows.h>

#include <string>

namespace kup {

namespace {

using win::narrowTo;
using win::wideFrom;

// The ANSI registry calls take names in the system code page.
std::string systemText(const std::string& utf8)
{
    return narrowTo(wideFrom(utf8, CP_UTF8), CP_ACP);
}

HKEY handleOf(Registry::Key key)
{
    return reinterpret_cast<HKEY>(key);
}

}  // namespace

long WindowsRegistry::OpenKey(uint32_t root, const std::string& keyName, uint32_t options,
                              uint32_t accessMask, Key& key)
{
    // Root handles are sign-extended 32-bit numbers on 64-bit Windows.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(root)));
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(rootKey, systemText(keyName).c_str(), options, accessMask, &opened);
    key = reinterpret_cast<Key>(opened);
    return result;
}

long WindowsRegistry::QueryValue(Key key, const std::string& valueName, uint32_t& type, unsigned char* data,
                                 uint32_t& size)
{
    DWORD valueType = 0;
    DWORD valueSize = size;
    const LONG result =
        RegQueryValueExA(handleOf(key), systemText(valueName).c_str(), nullptr, &valueType, data, &valueSize);
    type = valueType;
    size = valueSize;
    return result;
}

long WindowsRegistry::CloseKey(Key key)
{
    return RegCloseKey(handleOf(key));
}

std::string WindowsRegistry::programText(std::string_view systemText) const
{
    return narrowTo(wideFrom(systemText, CP_ACP), CP_UTF8);
}

bool WindowsLauncher::fileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(wideFrom(path, CP_UTF8).c_str());
    constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotOrdinary) == 0;
}

bool WindowsLauncher::start(const std::string& path)
{
    // Quoted, so that a path with blanks names one program.
    std::wstring commandLine = L"\"" + wideFrom(path, CP_UTF8) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    // The program runs on its own; nothing waits for it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

Registry& systemRegistry()
{
    static WindowsRegistry registry;
    return registry;
}

ProgramLauncher& systemLauncher()
{
    static WindowsLauncher launcher;
    return launcher;
}

}  // namespace kup
