// A file system and program start for the system-information lookup: the
// files that exist, and every program started instead of starting it.
#pragma once

#include "dialogs/system_info.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace fake {

class Launcher : public kup::ProgramLauncher {
public:
    bool fileExists(const std::string& path) override
    {
        looked.push_back(path);
        return files.count(path) != 0;
    }
    // Like the system: a program that is not there cannot be started.
    bool start(const std::string& path) override
    {
        if (!files.count(path) || refuseStart)
            return false;
        started.push_back(path);
        return true;
    }
    std::optional<std::string> equivalentProgram() override { return equivalent; }

    std::set<std::string> files;
    bool refuseStart = false;
    std::optional<std::string> equivalent;
    std::vector<std::string> looked;
    std::vector<std::string> started;
};

}  // namespace fake
