#include "drivers/scratch/scratch_folder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quintabel::db::scratch {

namespace {

constexpr char kFolderPrefix[] = "scratch-";
constexpr char kLockName[] = "owner.lock";
// The lock is taken under this name and only then renamed to kLockName, so that a folder
// whose lock file has its final name is always held by its program until that program ends.
constexpr char kLockNameWhileTaking[] = "owner.lock.new";

std::string environmentPath(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return {};
    return value;
}

[[noreturn]] void failToMake(const fs::path& where, int error)
{
    throw std::runtime_error("Could not make the scratch database in '" + where.string() +
                             "': " + std::strerror(error));
}

// Opens `file` and takes its lock without waiting; -1 when it cannot be opened or another
// open description holds the lock.
int openAndLock(const fs::path& file, int flags)
{
    const int descriptor = ::open(file.c_str(), flags | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return -1;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

} // namespace

std::vector<fs::path> scratchFoldersRoots()
{
    std::vector<fs::path> roots;
    std::error_code error;
    if (const std::string runtime = environmentPath("XDG_RUNTIME_DIR");
        !runtime.empty() && fs::is_directory(runtime, error))
        roots.push_back(fs::path(runtime) / "quintabel");
    if (const std::string cache = environmentPath("XDG_CACHE_HOME"); !cache.empty())
        roots.push_back(fs::path(cache) / "quintabel");
    else if (const std::string home = environmentPath("HOME"); !home.empty())
        roots.push_back(fs::path(home) / ".cache" / "quintabel");
    if (roots.empty())
        throw std::runtime_error("Could not find a folder for the scratch database: neither "
                                 "XDG_RUNTIME_DIR, XDG_CACHE_HOME nor HOME names one.");
    return roots;
}

fs::path scratchFoldersRoot()
{
    return scratchFoldersRoots().front();
}

ScratchFolder::ScratchFolder(fs::path root) : root_(std::move(root)) {}

ScratchFolder::~ScratchFolder()
{
    if (!made())
        return;
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    ::close(lockDescriptor_);
}

const fs::path& ScratchFolder::path()
{
    if (!made())
        make();
    return folder_;
}

void ScratchFolder::make()
{
    if (!root_.empty()) {
        makeUnder(root_);
        return;
    }
    const std::vector<fs::path> roots = scratchFoldersRoots();
    for (std::size_t index = 0;; ++index) {
        try {
            makeUnder(roots[index]);
            root_ = roots[index];
            return;
        } catch (const std::runtime_error&) {
            // A runtime folder that takes no folder of ours (not writable, a file in the way):
            // the cache folder, as when there is no runtime folder at all.
            if (index + 1 == roots.size())
                throw;
        }
    }
}

void ScratchFolder::makeUnder(const fs::path& root)
{
    std::error_code error;
    fs::create_directories(root, error);
    if (error)
        failToMake(root, error.value());
    // The scratch tables hold copies of the user's rows: other users may not look in.
    fs::permissions(root, fs::perms::owner_all, error);
    removeAbandonedScratchFolders(root);

    std::string pattern = (root / (std::string(kFolderPrefix) + "XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) // made owner-only
        failToMake(root, errno);
    const fs::path folder(name.data());

    const int lock = openAndLock(folder / kLockNameWhileTaking, O_CREAT | O_EXCL);
    if (lock < 0 || ::rename((folder / kLockNameWhileTaking).c_str(), (folder / kLockName).c_str()) != 0) {
        const int cause = errno;
        if (lock >= 0)
            ::close(lock);
        fs::remove_all(folder, error);
        failToMake(folder, cause);
    }
    const int file = ::open((folder / kScratchFileName).c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (file < 0) {
        const int cause = errno;
        ::close(lock);
        fs::remove_all(folder, error);
        failToMake(folder, cause);
    }
    ::close(file);
    folder_ = folder;
    lockDescriptor_ = lock;
}

int removeAbandonedScratchFolders(const fs::path& root)
{
    std::error_code error;
    fs::directory_iterator entries(root, error);
    if (error)
        return 0;
    int removed = 0;
    for (const fs::directory_entry& entry : entries) {
        if (!entry.path().filename().string().starts_with(kFolderPrefix) || !entry.is_directory(error))
            continue;
        // A folder without its lock under the final name is still being made by its program
        // (or was abandoned in that instant, which leaves an empty folder): left alone.
        const int lock = openAndLock(entry.path() / kLockName, 0);
        if (lock < 0)
            continue;
        if (fs::remove_all(entry.path(), error) > 0 && !error)
            ++removed;
        ::close(lock);
    }
    return removed;
}

} // namespace quintabel::db::scratch
