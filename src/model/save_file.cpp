#include "save_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Paths are handed to the system exactly as given: a file name is bytes, and
// one that is not valid UTF-8 must be read and written like any other.

namespace hoofer {

namespace {

std::string Why(int error)
{
    return std::strerror(error);
}

bool WriteAll(int fd, const std::string &data)
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

/// A new file beside target, created exclusively with the given mode (the
/// umask applies); -1 with errno set when none can be made.
int CreateBeside(const std::string &target, mode_t mode, std::string &temporary)
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target + "." + std::to_string(random() % 1000000000) + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

std::string SaveFileAtomically(const std::string &path, const std::string &data)
{
    // A link is followed, so the file it points at is replaced, not the link.
    std::string target = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        std::error_code ec;
        target = std::filesystem::weakly_canonical(path, ec).native();
        if (ec)
            return ec.message();
    }

    mode_t mode = 0666;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return Why(EISDIR);
        if (::access(target.c_str(), W_OK) != 0)
            return Why(errno);
        mode = existing.st_mode & 07777;
    }
    std::string temporary;
    const int fd = CreateBeside(target, mode, temporary);
    if (fd < 0)
        return Why(errno);
    bool ok = WriteAll(fd, data);
    int error = errno;
    if (ok)
        ::fsync(fd);  // where syncing is not supported, the data is still written
    if (ok && mode != 0666 && ::fchmod(fd, mode) != 0) {
        ok = false;
        error = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return Why(error);
    }
    return {};
}

bool ReadWholeFile(const std::string &path, std::string &data, std::string &why)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        why = Why(errno);
        return false;
    }
    // Read straight into a string of the file's size, one byte more so that
    // the end is seen without growing it; a file that grows meanwhile (or a
    // pipe, which has no size) is read on in larger steps.
    struct stat info {};
    const size_t capacity = (::fstat(fd, &info) == 0 && info.st_size > 0) ? static_cast<size_t>(info.st_size) + 1 : 65536;
    std::string bytes(capacity, '\0');
    size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            why = Why(errno);
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        used += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes.resize(used);
    data = std::move(bytes);
    return true;
}

} // namespace hoofer
