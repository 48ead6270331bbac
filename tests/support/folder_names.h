// Paths of a test's own in the system's temporary folder: unique per process and case, so that
// two runs side by side (a normal and a sanitizer build, two checkouts) never meet in one.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace fake {

inline std::filesystem::path uniqueTempPath(const std::string& stem)
{
#ifdef _WIN32
    const int process = _getpid();
#else
    const int process = ::getpid();
#endif
    std::string name = stem + "-" + std::to_string(process);
    if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info())
        name += std::string("-") + test->name();
    std::replace(name.begin(), name.end(), '/', '_');  // a parameterized case's name has one
    return std::filesystem::temp_directory_path() / name;
}

// The names of what a folder holds (UTF-8 in and out).
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
