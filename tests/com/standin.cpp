#include "tests/com/standin.h"

#include <windows.h>

#include <stdexcept>

namespace standin {

namespace {

std::wstring registeredDll()
{
    wchar_t path[MAX_PATH] = {};
    LONG size = sizeof path;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, L"CLSID\\" KUP_STANDIN_CLSID_TEXT L"\\InprocServer32", path,
                       &size) != ERROR_SUCCESS)
        throw std::runtime_error("Ersatzserver " KUP_STANDIN_CLSID_TEXT " ist nicht registriert");
    return path;
}

template <class Function> void load(HMODULE dll, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    if (!function)
        throw std::runtime_error(std::string("Ersatzserver ohne ") + name);
}

Control loaded()
{
    const HMODULE dll = LoadLibraryW(registeredDll().c_str());
    if (!dll)
        throw std::runtime_error("Ersatzserver nicht ladbar");
    Control c{};
    load(dll, c.reset, "StandIn_Reset");
    load(dll, c.openDocument, "StandIn_OpenDocument");
    load(dll, c.addSheet, "StandIn_AddSheet");
    load(dll, c.setPreference, "StandIn_SetPreference");
    load(dll, c.preference, "StandIn_Preference");
    load(dll, c.fault, "StandIn_Fault");
    load(dll, c.journalText, "StandIn_Journal");
    load(dll, c.created, "StandIn_Created");
    load(dll, c.living, "StandIn_Living");
    load(dll, c.registerRunning, "StandIn_RegisterRunning");
    load(dll, c.revokeRunning, "StandIn_RevokeRunning");
    return c;
}

}  // namespace

const Control& control()
{
    static const Control instance = loaded();
    return instance;
}

std::vector<std::string> Control::journal() const
{
    std::string text(std::size_t(journalText(nullptr, 0)) + 1, '\0');
    journalText(text.data(), int(text.size()));
    text.resize(text.size() - 1);
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1)
        lines.push_back(text.substr(begin, end - begin));
    return lines;
}

std::vector<std::string> Control::journalOf(const std::string& member) const
{
    std::vector<std::string> lines;
    for (const std::string& line : journal())
        if (line.compare(0, member.size(), member) == 0 &&
            (line.size() == member.size() || line[member.size()] == '(' || line[member.size()] == '='))
            lines.push_back(line);
    return lines;
}

void drawing(const std::string& title, const std::vector<std::pair<std::string, int>>& sheets)
{
    const Control& c = control();
    c.reset();
    c.openDocument(3, title.c_str());
    for (const auto& [name, paperSize] : sheets)
        c.addSheet(name.c_str(), paperSize, -1, 1, 1);
}

}  // namespace standin
