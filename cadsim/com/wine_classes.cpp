#include "cadsim/com/wine_classes.h"

#include "platform/win_text.h"

#include <windows.h>

#include <sddl.h>

#include <vector>

namespace cadsim::wine {

namespace {

std::wstring userKeyPath()
{
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    std::vector<char> buffer(256);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, buffer.data(), DWORD(buffer.size()), &size);
    CloseHandle(token);
    wchar_t* sid = nullptr;
    ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid);
    std::wstring path = L"\\Registry\\User\\" + std::wstring(sid ? sid : L"");
    LocalFree(sid);
    return path;
}

// The keys /RegServer writes below Software\Classes: the ProgIDs and their classes.
std::vector<std::wstring> registeredKeys()
{
    std::vector<std::wstring> keys;
    for (const wchar_t* progId : {L"SldWorks.Application", L"SldWorks.Control"}) {
        keys.push_back(progId);
        wchar_t classId[64] = L"";
        DWORD size = sizeof classId;
        if (RegGetValueW(HKEY_CURRENT_USER,
                         (L"Software\\Classes\\" + std::wstring(progId) + L"\\CLSID").c_str(), nullptr,
                         RRF_RT_REG_SZ, nullptr, classId, &size) == ERROR_SUCCESS)
            keys.push_back(L"CLSID\\" + std::wstring(classId));
    }
    return keys;
}

// The link itself, not what it leads to.
void removeLink(const std::wstring& key)
{
    using NtDeleteKey_t = LONG(WINAPI*)(HANDLE);
    const auto deleteKey = reinterpret_cast<NtDeleteKey_t>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    HKEY link = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), REG_OPTION_OPEN_LINK, DELETE, &link) ==
        ERROR_SUCCESS) {
        deleteKey(link);
        RegCloseKey(link);
    }
}

std::vector<std::wstring>& linkedKeys()
{
    static std::vector<std::wstring> keys;
    return keys;
}

}  // namespace

bool runsOnWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool linkMachineClassesToUser(std::string& output)
{
    const std::wstring user = userKeyPath() + L"\\Software\\Classes\\";
    for (const std::wstring& key : registeredKeys()) {
        HKEY link = nullptr;
        const std::wstring machineKey = L"Software\\Classes\\" + key;
        removeLink(machineKey);  // one left by a run that was killed
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, machineKey.c_str(), 0, nullptr,
                            REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS, nullptr, &link,
                            nullptr) != ERROR_SUCCESS) {
            output += "Verweis nicht anzulegen: HKLM\\" + win::utf8FromWide(machineKey) + "\n";
            return false;
        }
        const std::wstring target = user + key;
        RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.data()),
                       DWORD(target.size() * sizeof(wchar_t)));
        RegCloseKey(link);
        linkedKeys().push_back(machineKey);
    }
    return true;
}

void unlinkMachineClasses()
{
    for (const std::wstring& key : linkedKeys())
        removeLink(key);
    linkedKeys().clear();
}

}  // namespace cadsim::wine
