// The registry and program start the About window uses on this machine:
// Windows' own where there is Windows, elsewhere no registry at all and the
// desktop's system-information program found on the search path.
#pragma once

#include "dialogs/registry.h"
#include "dialogs/system_info.h"

namespace kup {

// A system without a registry: no key can be opened.
class NoRegistry : public Registry {
public:
    long OpenKey(uint32_t root, const std::string& keyName, uint32_t options, uint32_t accessMask,
                 Key& key) override;
    long QueryValue(Key key, const std::string& valueName, uint32_t& type, unsigned char* data,
                    uint32_t& size) override;
    long CloseKey(Key key) override;
};

// Files and programs of a desktop without the Windows system-information program.
class DesktopLauncher : public ProgramLauncher {
public:
    bool fileExists(const std::string& path) override;
    bool start(const std::string& path) override;
    // The first of kEquivalentSysInfoPrograms in a folder of PATH.
    std::optional<std::string> equivalentProgram() override;
};

}  // namespace kup
