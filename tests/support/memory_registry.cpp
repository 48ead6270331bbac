#include "tests/support/memory_registry.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace fake {

namespace {
// Registry names are compared without regard to case.
std::string folded(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string hex(uint32_t number)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", number);
    return text;
}
}  // namespace

void MemoryRegistry::addKey(const std::string& keyName)
{
    keys_[folded(keyName)];
}

void MemoryRegistry::setValue(const std::string& keyName, const std::string& valueName, uint32_t type,
                              const std::string& bytes)
{
    keys_[folded(keyName)][folded(valueName)] = Value{type, bytes};
}

void MemoryRegistry::setText(const std::string& keyName, const std::string& valueName,
                             const std::string& text)
{
    setValue(keyName, valueName, kup::kRegSz, text + std::string(1, '\0'));
}

long MemoryRegistry::OpenKey(uint32_t root, const std::string& keyName, uint32_t options, uint32_t accessMask,
                             Key& key)
{
    journal.push_back("OpenKey(" + keyName + ", " + hex(accessMask) + ")");
    const auto found = keys_.find(folded(keyName));
    if (root != kup::kHkeyLocalMachine || options != 0 || found == keys_.end())
        return kup::kErrorFileNotFound;
    if ((accessMask & ~kup::kKeyRead) != 0)
        return kup::kErrorAccessDenied;
    key = nextHandle_++;
    open_[key] = found->first;
    return kup::kErrorSuccess;
}

long MemoryRegistry::QueryValue(Key key, const std::string& valueName, uint32_t& type, unsigned char* data,
                                uint32_t& size)
{
    const auto handle = open_.find(key);
    journal.push_back("QueryValue(" + (handle == open_.end() ? "?" : handle->second) + ", " + valueName +
                      ")");
    if (handle == open_.end())
        return 6;  // an invalid handle
    const auto& values = keys_.at(handle->second);
    const auto value = values.find(folded(valueName));
    if (value == values.end())
        return kup::kErrorFileNotFound;
    const uint32_t capacity = size;
    type = value->second.type;
    size = uint32_t(value->second.bytes.size());
    if (size > capacity)
        return kup::kErrorMoreData;
    std::memcpy(data, value->second.bytes.data(), size);
    return kup::kErrorSuccess;
}

long MemoryRegistry::CloseKey(Key key)
{
    const auto handle = open_.find(key);
    journal.push_back("CloseKey(" + (handle == open_.end() ? "?" : handle->second) + ")");
    if (handle == open_.end())
        return 6;
    open_.erase(handle);
    return kup::kErrorSuccess;
}

}  // namespace fake
