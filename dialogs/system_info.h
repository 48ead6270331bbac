// Where the About window finds the system-information program, and its start.
// The file test and the program start sit behind ProgramLauncher so that the
// lookup can be followed path by path without starting anything.
#pragma once

#include "dialogs/registry.h"
#include "screen/message_boxes.h"

#include <optional>
#include <string>
#include <vector>

namespace kup {

extern const char* const kSysInfoUnavailableText;

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // An ordinary file: hidden and system files and folders do not count.
    virtual bool fileExists(const std::string& path) = 0;
    // Starts the program in a normal window with the focus, without waiting for it.
    // False when it could not be started.
    virtual bool start(const std::string& path) = 0;
    // Where the registry knows no system-information program (a system without
    // one), a program of the desktop that does the same; none by default.
    virtual std::optional<std::string> equivalentProgram() { return std::nullopt; }
};

// The program the registry names: the value PATH of the MSINFO key as it
// stands, or else MSINFO32.EXE in the folder named by the Shared Tools
// Location key if that file exists. None when neither leads anywhere. Each
// value is looked for in the 64-bit view of the registry, then in the 32-bit one.
std::optional<std::string> sysInfoProgram(Registry& registry, ProgramLauncher& launcher);

// Starts the system-information program, or tells the user that there is none.
void StartSysInfo(Registry& registry, ProgramLauncher& launcher, kup::MessageBoxes& messages);

// Desktop programs that show what the system-information program shows, in
// the order they are preferred.
extern const std::vector<std::string> kEquivalentSysInfoPrograms;

// The first of programs found as an ordinary file in a folder of the search
// path (folders separated by separator), or none.
std::optional<std::string> findOnSearchPath(const std::vector<std::string>& programs,
                                            const std::string& searchPath, char separator,
                                            ProgramLauncher& launcher);

// This machine's registry and program start: Windows' own there, elsewhere no
// registry and the desktop's programs (the build picks windows_system.cpp or
// desktop_system.cpp).
Registry& systemRegistry();
ProgramLauncher& systemLauncher();

}  // namespace kup
