// The registry as the system-information lookup reads it: the three calls of
// the Windows registry API, behind an interface so that the lookup runs
// against an in-memory registry in tests and on systems without one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kup {

// Root handles and numbers as the Windows registry API defines them.
constexpr uint32_t kHkeyLocalMachine = 0x80000002;
constexpr uint32_t kKeyRead = 0x20019;
// The two views of the machine's software keys on 64-bit Windows: the 64-bit programs' own, and
// the one 32-bit programs are shown (WOW6432Node). Without either a program sees its own.
constexpr uint32_t kKeyWow64_64Key = 0x0100;
constexpr uint32_t kKeyWow64_32Key = 0x0200;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegDword = 4;
constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorMoreData = 234;

class Registry {
public:
    using Key = std::uintptr_t;
    virtual ~Registry() = default;
    // Each returns kErrorSuccess or the system's error number.
    virtual long OpenKey(uint32_t root, const std::string& keyName, uint32_t options, uint32_t accessMask,
                         Key& key) = 0;
    // size is the capacity of data on entry and the size of the value's data on return.
    virtual long QueryValue(Key key, const std::string& valueName, uint32_t& type, unsigned char* data,
                            uint32_t& size) = 0;
    virtual long CloseKey(Key key) = 0;
    // Registry texts come in the system code page; the program's strings are UTF-8.
    virtual std::string programText(std::string_view systemText) const { return std::string(systemText); }
};

// Reads the value SubKeyRef of the key KeyName below KeyRoot into KeyVal.
// False (and KeyVal empty) when the key cannot be opened or the value not
// read. A value of a type other than text or 32-bit number counts as found
// and leaves KeyVal as it was. view is one of the two views above, or 0 for the program's own.
bool GetKeyValue(Registry& registry, uint32_t KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal, uint32_t view = 0);

}  // namespace kup
