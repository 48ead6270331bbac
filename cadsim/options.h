// cadsim's command line.
#pragma once

#include <string>
#include <vector>

namespace cadsim {

struct Options {
    bool headless = false;
    bool empty = false;
    bool help = false;
    // Windows' COM: started by COM as a local server, and registering for the current user.
    bool embedding = false;
    bool registerServer = false;
    bool unregisterServer = false;
    bool journal = false;         // cadsim.exe: every call with its variant types on stdout
    std::string preferencesFile;  // empty: the user's settings file
    std::vector<std::string> drawings;
};

// False with error set on an unknown option or a missing value.
bool parseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error);

// The command line, the drawing files and the objects with their members (from the member table).
std::string helpText();

}  // namespace cadsim
