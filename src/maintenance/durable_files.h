#pragma once
// The small file-system facts the crash-safe replacement of a table stands on: what makes a
// file the same file after a rename, how a folder's renames reach the disk, and how a running
// program marks its working files as in use.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace quintabel {

// A file as the replacement recorded it. A rename keeps all four; a write changes the size or
// the time, and a file made anew has another inode. So a file that still matches its record
// is the one the replacement put there, not one another program put in its place.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of a regular file; nothing when there is no regular file at `path`.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

// Makes the renames and removals in `folder` durable. Throws std::runtime_error when the
// folder cannot be synced: a step recorded as done must really be done.
void SyncFolder(const std::filesystem::path& folder);

// An exclusive flock(2) on a file or folder, held while this object lives. A killed process
// loses its locks with its life, so a lock that can be taken means nobody is working there.
class OwnerLock {
public:
    // Waits for the lock. Throws std::runtime_error when the path cannot be opened.
    static OwnerLock take(const std::filesystem::path& path);
    // Nothing when another open file holds the lock or the path cannot be opened.
    static std::optional<OwnerLock> tryTake(const std::filesystem::path& path);

    OwnerLock(OwnerLock&& other) noexcept;
    OwnerLock& operator=(OwnerLock&& other) noexcept;
    OwnerLock(const OwnerLock&) = delete;
    OwnerLock& operator=(const OwnerLock&) = delete;
    ~OwnerLock();

private:
    explicit OwnerLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

} // namespace quintabel
