#include "maintenance/durable_files.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quintabel {

namespace fs = std::filesystem;

std::optional<FileIdentity> IdentityOf(const fs::path& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                        static_cast<std::uint64_t>(status.st_size),
                        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000
                            + static_cast<std::int64_t>(status.st_mtim.tv_nsec)};
}

void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("Cannot write the changes of folder '" + folder.string()
                                 + "' to the disk: " + std::strerror(error) + ".");
    }
    ::close(fd);
}

namespace {

int openForLock(const fs::path& path)
{
    // O_RDONLY opens a folder as well as a file; flock works on both.
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
}

} // namespace

OwnerLock OwnerLock::take(const fs::path& path)
{
    const int fd = openForLock(path);
    if (fd < 0)
        throw std::runtime_error("Cannot open '" + path.string() + "': " + std::strerror(errno) + ".");
    int result = 0;
    do
        result = ::flock(fd, LOCK_EX);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(fd);
        throw std::runtime_error("Cannot lock '" + path.string() + "': " + std::strerror(error) + ".");
    }
    return OwnerLock(fd);
}

std::optional<OwnerLock> OwnerLock::tryTake(const fs::path& path)
{
    const int fd = openForLock(path);
    if (fd < 0)
        return std::nullopt;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return OwnerLock(fd);
}

OwnerLock::OwnerLock(OwnerLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

OwnerLock& OwnerLock::operator=(OwnerLock&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

OwnerLock::~OwnerLock()
{
    if (fd_ >= 0)
        ::close(fd_); // closing the last descriptor releases the lock
}

} // namespace quintabel
