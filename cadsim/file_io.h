// What writing a file safely takes from the system: a new file beside its target under a name
// of its own, its data on the disk, and the target replaced by it in one step. Descriptors are
// the C runtime's, as libtiff takes them; paths are UTF-8 in std::string everywhere else.
#pragma once

#include <filesystem>
#include <string>

namespace cadsim::file_io {

// Through char8_t, since Windows' narrow calls would read the bytes in the ANSI code page.
std::filesystem::path pathFromUtf8(const std::string& utf8);
std::string utf8FromPath(const std::filesystem::path& path);

struct NewFile {
    int fd = -1;  // -1: not created, errno in error
    std::filesystem::path path;
    int error = 0;
};

// A file no one else has, created in folder with a short random name after prefix, open for
// reading and writing (libtiff may read back what it wrote) in binary mode, with the permissions the user's
// defaults give a new file.
NewFile createTemporary(const std::filesystem::path& folder, const std::string& prefix);

// Opens for writing in binary mode, created or emptied; -1 with errno set.
int openTruncated(const std::filesystem::path& path);

// Everything or false (errno set).
bool writeAll(int fd, const std::string& data);

// -1 with errno set.
int duplicate(int fd);

// The data on the disk itself: a full disk shows only here.
bool flushToDisk(int fd);

// Empty again, the position at its start.
bool truncateToEmpty(int fd);

bool closeFile(int fd);

// target replaced by source, whether target exists or not; errno set when false.
bool replaceFile(const std::filesystem::path& source, const std::filesystem::path& target);

void removeFile(const std::filesystem::path& path);

}  // namespace cadsim::file_io
