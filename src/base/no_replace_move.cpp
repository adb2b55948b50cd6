#include "base/no_replace_move.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace quintabel {

namespace {

std::runtime_error moveFailure(const std::filesystem::path& from, const std::filesystem::path& to, int error)
{
    return std::runtime_error("Could not rename '" + from.string() + "' to '" + to.string() + "': " +
                              std::strerror(error) + ".");
}

bool flagUnknown(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// A hard link refuses an existing target as well; the old name goes once the new one exists.
// Answers the error, 0 on success.
int moveByLink(const char* from, const char* to)
{
    if (::link(from, to) != 0)
        return errno;
    if (::unlink(from) != 0) {
        const int error = errno;
        ::unlink(to); // the file keeps its old name, as if nothing had happened
        return error;
    }
    return 0;
}

} // namespace

int moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    int error = errno;
    // Some file systems know neither the no-replace rename nor (FAT) hard links; on those the
    // target is looked for first, which leaves only a moment in which another program could
    // create it.
    if (flagUnknown(error)) {
        error = moveByLink(from.c_str(), to.c_str());
        if (error == 0)
            return 0;
        if (error == EPERM || flagUnknown(error)) {
            struct stat status {};
            if (::lstat(to.c_str(), &status) == 0)
                error = EEXIST;
            else if (::rename(from.c_str(), to.c_str()) == 0)
                return 0;
            else
                error = errno;
        }
    }
    return error;
}

void moveFileWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (const int error = moveWithoutReplacing(from, to); error != 0)
        throw moveFailure(from, to, error);
}

} // namespace quintabel
