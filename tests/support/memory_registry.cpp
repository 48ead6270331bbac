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

void MemoryRegistry::addKey(const std::string& keyName, uint32_t view)
{
    views_[view][folded(keyName)];
}

void MemoryRegistry::setValue(const std::string& keyName, const std::string& valueName, uint32_t type,
                              const std::string& bytes, uint32_t view)
{
    views_[view][folded(keyName)][folded(valueName)] = Value{type, bytes};
}

void MemoryRegistry::setText(const std::string& keyName, const std::string& valueName,
                             const std::string& text, uint32_t view)
{
    setValue(keyName, valueName, kup::kRegSz, text + std::string(1, '\0'), view);
}

long MemoryRegistry::OpenKey(uint32_t root, const std::string& keyName, uint32_t options, uint32_t accessMask,
                             Key& key)
{
    journal.push_back("OpenKey(" + keyName + ", " + hex(accessMask) + ")");
    constexpr uint32_t views = kup::kKeyWow64_64Key | kup::kKeyWow64_32Key;
    // A 64-bit program sees the 64-bit view unless it asks for the other.
    const uint32_t view = (accessMask & views) == 0 ? kup::kKeyWow64_64Key : accessMask & views;
    Keys& keys = views_[view];
    const auto found = keys.find(folded(keyName));
    if (root != kup::kHkeyLocalMachine || options != 0 || found == keys.end() || view == views)
        return kup::kErrorFileNotFound;
    if ((accessMask & ~(kup::kKeyRead | views)) != 0)
        return kup::kErrorAccessDenied;
    key = nextHandle_++;
    open_[key] = {view, found->first};
    return kup::kErrorSuccess;
}

long MemoryRegistry::QueryValue(Key key, const std::string& valueName, uint32_t& type, unsigned char* data,
                                uint32_t& size)
{
    const auto handle = open_.find(key);
    journal.push_back("QueryValue(" + (handle == open_.end() ? "?" : handle->second.second) + ", " +
                      valueName + ")");
    if (handle == open_.end())
        return 6;  // an invalid handle
    const auto& values = views_.at(handle->second.first).at(handle->second.second);
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
    journal.push_back("CloseKey(" + (handle == open_.end() ? "?" : handle->second.second) + ")");
    if (handle == open_.end())
        return 6;
    open_.erase(handle);
    return kup::kErrorSuccess;
}

}  // namespace fake
