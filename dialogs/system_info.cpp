#include "dialogs/system_info.h"

#include <algorithm>

namespace kup {

const char* const kSysInfoUnavailableText = "System-Informationen sind augenblicklich nicht verfügbar.";

const std::vector<std::string> kEquivalentSysInfoPrograms = {
    "gnome-system-monitor",
    "plasma-systemmonitor",
    "ksysguard",
    "mate-system-monitor",
    "xfce4-taskmanager",
    "lxtask",
    "hardinfo",
    "hardinfo2",
};

namespace {
const char* const kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const kMsinfoValue = "PATH";
const char* const kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char* const kLocationValue = "MSINFO";

// The 64-bit tool looks where 64-bit Windows keeps the keys for its own programs, and then where a
// 32-bit program would have found them.
bool readInEitherView(Registry& registry, const char* key, const char* value, std::string& text)
{
    return GetKeyValue(registry, kHkeyLocalMachine, key, value, text, kKeyWow64_64Key) ||
           GetKeyValue(registry, kHkeyLocalMachine, key, value, text, kKeyWow64_32Key);
}
}  // namespace

std::optional<std::string> sysInfoProgram(Registry& registry, ProgramLauncher& launcher)
{
    std::string path;
    // The program's own key names it outright; the file is not looked for.
    if (readInEitherView(registry, kMsinfoKey, kMsinfoValue, path))
        return path;
    if (!readInEitherView(registry, kLocationKey, kLocationValue, path))
        return std::nullopt;
    path += "\\MSINFO32.EXE";
    if (!launcher.fileExists(path))
        return std::nullopt;
    return path;
}

void StartSysInfo(Registry& registry, ProgramLauncher& launcher, kup::MessageBoxes& messages)
{
    bool started = false;
    try {
        std::optional<std::string> program = sysInfoProgram(registry, launcher);
        if (!program)
            program = launcher.equivalentProgram();
        started = program && launcher.start(*program);
    } catch (const std::exception&) {
        // Whatever goes wrong on the way ends in the same message.
        started = false;
    }
    if (!started)
        messages.show(kSysInfoUnavailableText, kup::kProgramTitle);
}

std::optional<std::string> findOnSearchPath(const std::vector<std::string>& programs,
                                            const std::string& searchPath, char separator,
                                            ProgramLauncher& launcher)
{
    std::vector<std::string> folders;
    std::string::size_type begin = 0;
    while (begin <= searchPath.size()) {
        const auto end = std::min(searchPath.find(separator, begin), searchPath.size());
        // An empty entry means the current folder, which no one means for this.
        if (end > begin)
            folders.push_back(searchPath.substr(begin, end - begin));
        begin = end + 1;
    }
    for (const std::string& program : programs)
        for (const std::string& folder : folders) {
            const std::string candidate = folder.back() == '/' ? folder + program : folder + "/" + program;
            if (launcher.fileExists(candidate))
                return candidate;
        }
    return std::nullopt;
}

}  // namespace kup
