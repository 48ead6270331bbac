// What a folder holds, for the checks that a save leaves nothing else behind.
#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace fake {

// The names in a folder (UTF-8 in and out).
inline std::set<std::string> namesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::u8string(folder.begin(), folder.end()))) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace(name.begin(), name.end());
    }
    return names;
}

}  // namespace fake
