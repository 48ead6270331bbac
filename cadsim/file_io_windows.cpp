#include "cadsim/file_io.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <sys/stat.h>

namespace cadsim::file_io {

namespace {

int lastErrorAsErrno()
{
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}

}  // namespace

NewFile createTemporary(const std::filesystem::path& folder, const std::string& prefix)
{
    // Windows' C runtime has no mkstemp: a random name, created only if it is not there yet.
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> letter(0, sizeof kLetters - 2);
    NewFile file;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix;
        for (int i = 0; i < 6; ++i)
            name += kLetters[letter(random)];
        const std::filesystem::path path = folder / name;
        // Permissions here are only read-only or not; the folder's rights decide the rest.
        const int fd = ::_wopen(path.c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                                _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            file.fd = fd;
            file.path = path;
            return file;
        }
        if (errno != EEXIST) {
            file.error = errno;
            return file;
        }
    }
    file.error = EEXIST;
    return file;
}

int openTruncated(const std::filesystem::path& path)
{
    return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}

bool writeAll(int fd, const std::string& data)
{
    for (size_t done = 0; done < data.size();) {
        const size_t chunk = std::min<size_t>(data.size() - done, 1u << 30);
        const int n = ::_write(fd, data.data() + done, static_cast<unsigned>(chunk));
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

int duplicate(int fd)
{
    return ::_dup(fd);
}

bool flushToDisk(int fd)
{
    return ::_commit(fd) == 0;
}

bool truncateToEmpty(int fd)
{
    return ::_chsize_s(fd, 0) == 0 && ::_lseeki64(fd, 0, SEEK_SET) == 0;
}

bool closeFile(int fd)
{
    return ::_close(fd) == 0;
}

bool replaceFile(const std::filesystem::path& source, const std::filesystem::path& target)
{
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = lastErrorAsErrno();
    return false;
}

void removeFile(const std::filesystem::path& path)
{
    ::_wunlink(path.c_str());
}

}  // namespace cadsim::file_io
