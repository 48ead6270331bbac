// The registry and program start of Windows behind the lookup's interfaces.
#pragma once

#include "dialogs/registry.h"
#include "dialogs/system_info.h"

namespace kup {

class WindowsRegistry : public Registry {
public:
    long OpenKey(uint32_t root, const std::string& keyName, uint32_t options, uint32_t accessMask,
                 Key& key) override;
    long QueryValue(Key key, const std::string& valueName, uint32_t& type, unsigned char* data,
                    uint32_t& size) override;
    long CloseKey(Key key) override;
    std::string programText(std::string_view systemText) const override;
};

class WindowsLauncher : public ProgramLauncher {
public:
    bool fileExists(const std::string& path) override;
    bool start(const std::string& path) override;
};

}  // namespace kup
