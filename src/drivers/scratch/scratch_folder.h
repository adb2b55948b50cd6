#pragma once
// Where a running program keeps its scratch database (dbtemp.mdb).
//
// Each running program gets a folder of its own, made when a transfer first needs it, under
// the user's runtime folder ($XDG_RUNTIME_DIR, cleared at log-out) or, when there is none or
// no folder can be made in it, the user's cache folder, and removes it when it ends. So an installed program never writes beside its
// binary, two programs running at once never write into one scratch file, and every run
// starts from an empty scratch database.
//
// A program that is killed cannot remove its folder. Each folder therefore holds a lock that
// its program keeps for as long as it runs (the system lets go of it when the program dies);
// the next program to make a folder removes every folder whose lock nobody holds.

#include <filesystem>
#include <string>
#include <vector>

namespace quintabel::db::scratch {

inline constexpr char kScratchFileName[] = "dbtemp.mdb";

// Where this user's scratch folders go, in the order tried: "quintabel" in $XDG_RUNTIME_DIR
// when that is set to an absolute path of a folder that is there; then in $XDG_CACHE_HOME
// (absolute), else in $HOME/.cache. Throws a std::runtime_error when none of them is set.
std::vector<std::filesystem::path> scratchFoldersRoots();
// The first of them.
std::filesystem::path scratchFoldersRoot();

class ScratchFolder {
public:
    // Nothing is made yet; `root` is where the folder will be made. Without one, the folder
    // goes under the first of scratchFoldersRoots() that takes it, looked up when it is made.
    explicit ScratchFolder(std::filesystem::path root = {});
    ~ScratchFolder(); // removes the folder and everything in it, when it was made

    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder that holds this program's dbtemp.mdb (an empty file is an empty database).
    // Made, with the file, at the first call; later calls give the same folder. Throws a
    // std::runtime_error naming the place when it cannot be made.
    const std::filesystem::path& path();

    bool made() const { return !folder_.empty(); }

private:
    void make();
    void makeUnder(const std::filesystem::path& root);

    std::filesystem::path root_;
    std::filesystem::path folder_;
    int lockDescriptor_ = -1;
};

// Removes the folders under `root` that a killed program left behind: those whose lock is
// held by no running program. Folders of running programs, and anything else in `root`, are
// left alone. Answers how many folders it removed.
int removeAbandonedScratchFolders(const std::filesystem::path& root);

} // namespace quintabel::db::scratch
