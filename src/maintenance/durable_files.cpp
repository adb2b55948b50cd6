#include "maintenance/durable_files.h"

#include "base/kill_points.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quintabel {

namespace fs = std::filesystem;

std::optional<FileIdentity> identityOf(const fs::path& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                        static_cast<std::uint64_t>(status.st_size),
                        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000
                            + static_cast<std::int64_t>(status.st_mtim.tv_nsec)};
}

void syncFolder(const fs::path& folder)
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

void durableMove(const fs::path& from, const fs::path& to, std::string_view moment, const FileMove& move)
{
    move(from, to);
    syncFolder(to.parent_path());
    if (from.parent_path() != to.parent_path())
        syncFolder(from.parent_path());
    killPoint(moment);
}

void durableRemove(const fs::path& file, std::string_view moment)
{
    std::error_code error;
    if (!fs::remove(file, error)) {
        if (error)
            throw std::runtime_error("Cannot delete '" + file.string() + "': " + error.message() + ".");
        return; // not there: nothing to make durable
    }
    syncFolder(file.parent_path());
    killPoint(moment);
}

void durableMakeFolder(const fs::path& folder, std::string_view moment)
{
    std::error_code error;
    if (fs::is_directory(folder, error))
        return;
    fs::create_directory(folder, error);
    if (error)
        throw std::runtime_error("Cannot make the folder '" + folder.string() + "': " + error.message() + ".");
    syncFolder(folder.parent_path());
    killPoint(moment);
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

namespace {

constexpr std::string_view kLockFileName = ".quintabel-lock";

// The folders whose write lock this process holds: flock(2) locks belong to an open file,
// so a second take in the same process would wait for itself.
std::mutex heldMutex;
std::set<std::string> heldFolders;

bool folderCannotBeLocked(int error)
{
    return error == EBADF || error == ENOLCK || error == EOPNOTSUPP || error == EINVAL;
}

// An open file to lock for `folder`: the folder itself, or its lock file where the folder
// cannot be locked. The answer is the descriptor, or -1 with `error` set.
int openLockTarget(const fs::path& folder, int& error)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (::flock(fd, LOCK_SH | LOCK_NB) == 0 || errno == EWOULDBLOCK) {
        ::flock(fd, LOCK_UN);
        return fd;
    }
    error = errno;
    ::close(fd);
    if (!folderCannotBeLocked(error))
        return -1;
    fd = ::open((folder / kLockFileName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        error = errno;
    return fd;
}

} // namespace

FolderWriteLock FolderWriteLock::take(const fs::path& folder, const WhileBusy& whileBusy)
{
    std::error_code ignored;
    std::string key = fs::weakly_canonical(folder, ignored).string();
    if (key.empty())
        key = folder.string();
    {
        const std::lock_guard<std::mutex> guard(heldMutex);
        if (!heldFolders.insert(key).second)
            throw std::logic_error("This program already holds the write lock of '" + folder.string() + "'.");
    }
    const auto release = [&key] {
        const std::lock_guard<std::mutex> guard(heldMutex);
        heldFolders.erase(key);
    };
    int error = 0;
    const int fd = openLockTarget(folder, error);
    if (fd < 0) {
        release();
        throw std::runtime_error("Cannot lock the Paradox folder '" + folder.string() + "': " + std::strerror(error)
                                 + ".");
    }
    const auto fail = [&](const auto& failure) {
        ::close(fd);
        release();
        throw failure;
    };
    bool waited = false;
    for (;;) {
        const int result = ::flock(fd, whileBusy ? LOCK_EX | LOCK_NB : LOCK_EX);
        if (result == 0) {
            if (waited)
                whileBusy(false);
            return FolderWriteLock(fd, std::move(key));
        }
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || !whileBusy)
            fail(std::runtime_error("Cannot lock the Paradox folder '" + folder.string() + "': "
                                    + std::strerror(errno) + "."));
        waited = true;
        if (!whileBusy(true)) {
            whileBusy(false);
            fail(FolderBusyError("Another program is writing in the Paradox folder '" + folder.string()
                                 + "'; nothing was changed there. Try again once it has finished."));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

FolderWriteLock::FolderWriteLock(FolderWriteLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), key_(std::move(other.key_))
{
}

FolderWriteLock::~FolderWriteLock()
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    const std::lock_guard<std::mutex> guard(heldMutex);
    heldFolders.erase(key_);
}

} // namespace quintabel
