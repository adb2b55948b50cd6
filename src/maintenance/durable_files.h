#pragma once
// The small file-system facts that every journalled change of a Paradox folder stands on: what
// makes a file the same file after a rename, the durable steps (a move, a delete, a new folder,
// each on the disk before the next begins), how a running program marks its working files as
// in use, and how it holds the folder while it writes there.

#include "base/expected_problem.h"
#include "base/no_replace_move.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

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
std::optional<FileIdentity> identityOf(const std::filesystem::path& path);

// Makes the renames and removals in `folder` durable. Throws std::runtime_error when the
// folder cannot be synced: a step recorded as done must really be done.
void syncFolder(const std::filesystem::path& folder);

// The durable steps every journalled change of a Paradox folder is made of: each is on the
// disk when it returns (the folders it changed are synced), and a kill point named `moment`
// follows it, so the kill tests can stop the program between any two.
//
// Moves `from` to `to` with `move`, which never replaces a file there. Throws
// std::runtime_error.
void durableMove(const std::filesystem::path& from, const std::filesystem::path& to, std::string_view moment,
                 const FileMove& move = moveFileWithoutReplacing);
// Deletes the file `file`. Throws std::runtime_error when it is there and will not go.
void durableRemove(const std::filesystem::path& file, std::string_view moment);
// Makes the folder `folder` unless it is there already. Throws std::runtime_error.
void durableMakeFolder(const std::filesystem::path& folder, std::string_view moment);

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

// Another program writes in the Paradox folder, and the caller chose not to wait for it: a
// plain message, not a fault.
class FolderBusyError : public Expected<std::runtime_error> {
public:
    using Expected::Expected;
};

// One writer at a time in a Paradox folder. Every change Quintabel makes there (a table
// written in, replaced, renamed or deleted, and the recovery) holds this lock for its steps,
// so that two programs never interleave theirs, and a recovery never takes the working files
// of a program still at work for the leftovers of a killed one. It is an flock(2) on the
// folder itself, which leaves no file behind and which the system releases when the program
// ends, however it ends. A file system that cannot lock a folder (a network share) gets a
// lock file in it instead, `.quintabel-lock`, which stays there.
//
// Not to be taken twice in one process: the second would wait for the first forever, so it
// throws std::logic_error instead.
class FolderWriteLock {
public:
    // Called with true about ten times a second while another program holds the lock (answer
    // true to go on waiting, false to give up), and once with false when a wait is over.
    using WhileBusy = std::function<bool(bool waiting)>;

    // Takes the lock; without `whileBusy` waits as long as it takes. Throws FolderBusyError
    // when `whileBusy` gives up, std::runtime_error when the folder cannot be locked.
    static FolderWriteLock take(const std::filesystem::path& folder, const WhileBusy& whileBusy = {});

    FolderWriteLock(FolderWriteLock&& other) noexcept;
    FolderWriteLock& operator=(FolderWriteLock&&) = delete;
    FolderWriteLock(const FolderWriteLock&) = delete;
    FolderWriteLock& operator=(const FolderWriteLock&) = delete;
    ~FolderWriteLock();

private:
    FolderWriteLock(int fd, std::string key) : fd_(fd), key_(std::move(key)) {}
    int fd_ = -1;
    std::string key_; // the folder as this process knows it held
};

} // namespace quintabel
