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
    // Every key is a machine key that a standard user may read but not write.
    void addKey(const std::string& keyName);
    // The raw bytes as stored; the key is added if missing.
    void setValue(const std::string& keyName, const std::string& valueName, uint32_t type,
                  const std::string& bytes);
    // A text value as the registry editor stores it: with its terminating NUL.
    void setText(const std::string& keyName, const std::string& valueName, const std::string& text);

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
    // Values by lower-case name, keys by lower-case path below HKEY_LOCAL_MACHINE.
    std::map<std::string, std::map<std::string, Value>> keys_;
    std::map<Key, std::string> open_;
    Key nextHandle_ = 0x100;
};

}  // namespace fake
