// Stands in for the system-information program: leaves a mark beside itself
// ("<own name>.gestartet", holding its command line) so the runner sees that
// and under which name it was started, and ends.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

int main()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    const std::wstring name = path.substr(folder.size());
    std::ofstream mark(std::filesystem::path(folder + name + L".gestartet"));
    const wchar_t* line = GetCommandLineW();
    mark << std::string(line, line + wcslen(line));  // ASCII paths are enough here
    return 0;
}
