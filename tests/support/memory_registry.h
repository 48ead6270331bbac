// An in-memory registry for the system-information lookup: keys with typed
// values, keys a standard user may only read, and a journal of every call.
#pragma once

#include "dialogs/registry.h"

#include <map>
#include <string>
#include <vector>

namespace fake {

class MemoryRegistry : public kup::Registry {
public:
    // Every key is a machine key that a standard user may read but not write, in the view given
    // (the 64-bit one, the program's own, unless the 32-bit one is named).
    void addKey(const std::string& keyName, uint32_t view = kup::kKeyWow64_64Key);
    // The raw bytes as stored; the key is added if missing.
    void setValue(const std::string& keyName, const std::string& valueName, uint32_t type,
                  const std::string& bytes, uint32_t view = kup::kKeyWow64_64Key);
    // A text value as the registry editor stores it: with its terminating NUL.
    void setText(const std::string& keyName, const std::string& valueName, const std::string& text,
                 uint32_t view = kup::kKeyWow64_64Key);

    long OpenKey(uint32_t root, const std::string& keyName, uint32_t options, uint32_t accessMask,
                 Key& key) override;
    long QueryValue(Key key, const std::string& valueName, uint32_t& type, unsigned char* data,
                    uint32_t& size) override;
    long CloseKey(Key key) override;

    // "OpenKey(<key>, 0x20019)", "QueryValue(<key>, <value>)", "CloseKey(<key>)".
    std::vector<std::string> journal;
    // Keys opened and not yet closed.
    int openKeys() const { return int(open_.size()); }

private:
    struct Value {
        uint32_t type;
        std::string bytes;
    };
    using Keys = std::map<std::string, std::map<std::string, Value>>;
    // Values by lower-case name, keys by view and lower-case path below HKEY_LOCAL_MACHINE.
    std::map<uint32_t, Keys> views_;
    std::map<Key, std::pair<uint32_t, std::string>> open_;
    Key nextHandle_ = 0x100;
};

}  // namespace fake
