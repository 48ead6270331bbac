#include "cadsim/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cadsim::file_io {

NewFile createTemporary(const std::filesystem::path& folder, const std::string& prefix)
{
    NewFile file;
    std::string name = (folder / (prefix + "XXXXXX")).native();
    file.fd = ::mkstemp(name.data());
    if (file.fd < 0) {
        file.error = errno;
        return file;
    }
    // mkstemp makes it 0600; a saved sheet is the user's file like any other.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(file.fd, 0666 & ~mask);
    file.path = name;
    return file;
}

int openTruncated(const std::filesystem::path& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

bool writeAll(int fd, const std::string& data)
{
    for (size_t done = 0; done < data.size();) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

int duplicate(int fd)
{
    return ::dup(fd);
}

bool flushToDisk(int fd)
{
    return ::fsync(fd) == 0;
}

bool truncateToEmpty(int fd)
{
    return ::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0;
}

bool closeFile(int fd)
{
    return ::close(fd) == 0;
}

bool replaceFile(const std::filesystem::path& source, const std::filesystem::path& target)
{
    return ::rename(source.c_str(), target.c_str()) == 0;
}

void removeFile(const std::filesystem::path& path)
{
    ::unlink(path.c_str());
}

}  // namespace cadsim::file_io
