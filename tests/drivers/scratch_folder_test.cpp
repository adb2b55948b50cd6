// The running program's own scratch folder: made only when asked for, private to one program,
// usable at once by the scratch driver, gone when the program ends, and swept up by the next
// program when a killed one left it behind.
#include "drivers/scratch/scratch_folder.h"

#include "connections/connection.h"
#include "connections/connection_string.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using quintabel::db::scratch::removeAbandonedScratchFolders;
using quintabel::db::scratch::ScratchFolder;
using quintabel::db::scratch::scratchFoldersRoot;
using quintabel::testing::TemporaryFolder;

int entriesIn(const fs::path& folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++count;
    return count;
}

// Makes a scratch folder under `root` in a child process that is then killed, so that its
// folder stays behind as a killed program's would. Answers the folder.
fs::path folderOfAKilledProgram(const fs::path& root)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        throw std::runtime_error("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        ScratchFolder folder(root);
        const std::string path = folder.path().string();
        [[maybe_unused]] const auto written = ::write(pipeEnds[1], path.data(), path.size());
        ::close(pipeEnds[1]);
        ::raise(SIGKILL);
        ::_exit(1);
    }
    ::close(pipeEnds[1]);
    std::string path;
    char buffer[256];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        path.append(buffer, static_cast<std::size_t>(got));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFSIGNALED(status) || path.empty())
        throw std::runtime_error("the child did not make its folder and die");
    return path;
}

// Sets an environment variable for one test and puts the old value back afterwards.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const std::optional<std::string>& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }
    ~EnvironmentValue() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ScratchFolder, IsMadeAtTheFirstRequestWithAnEmptyScratchDatabaseOnlyItsOwnerCanOpen)
{
    TemporaryFolder root;
    const fs::path place = root.path() / "quintabel";
    ScratchFolder scratch(place);
    EXPECT_FALSE(fs::exists(place)) << "made before a transfer asked for it";

    const fs::path folder = scratch.path();
    EXPECT_EQ(folder.parent_path(), place);
    EXPECT_EQ(scratch.path(), folder) << "a second request must give the same folder";
    ASSERT_TRUE(fs::is_regular_file(folder / "dbtemp.mdb"));
    EXPECT_EQ(fs::file_size(folder / "dbtemp.mdb"), 0u);
    const auto othersMay = fs::perms::group_all | fs::perms::others_all;
    EXPECT_EQ(fs::status(place).permissions() & othersMay, fs::perms::none);
    EXPECT_EQ(fs::status(folder).permissions() & othersMay, fs::perms::none);

    // The scratch driver works in it as it is: tables are made, filled, listed and dropped.
    quintabel::connections::Connection connection;
    connection.Open(quintabel::connections::scratchConnectionString(folder.string()));
    connection.Execute("CREATE TABLE `seeds` (`name` VARCHAR(20))");
    connection.Execute("INSERT INTO `seeds` VALUES('kale')");
    connection.Execute("DROP TABLE [seeds]");
    connection.Close();
}

TEST(ScratchFolder, TwoProgramsNeverShareOneAndEachTakesOnlyItsOwnAwayWhenItEnds)
{
    TemporaryFolder root;
    std::optional<ScratchFolder> first(std::in_place, root.path());
    ScratchFolder second(root.path());
    const fs::path firstFolder = first->path();
    const fs::path secondFolder = second.path();
    ASSERT_NE(firstFolder, secondFolder);

    // A journal or any other file SQLite left inside goes with the folder.
    std::ofstream(firstFolder / "dbtemp.mdb-journal") << "left over";
    first.reset();
    EXPECT_FALSE(fs::exists(firstFolder));
    EXPECT_TRUE(fs::exists(secondFolder / "dbtemp.mdb"));
    EXPECT_TRUE(fs::is_directory(root.path()));
}

TEST(ScratchFolder, NothingIsMadeOrRemovedWhenNoTransferAskedForIt)
{
    TemporaryFolder root;
    { ScratchFolder unused(root.path()); }
    EXPECT_EQ(entriesIn(root.path()), 0);
}

TEST(ScratchFolder, AKilledProgramsFolderIsSweptByTheNextWhileARunningProgramsStays)
{
    TemporaryFolder root;
    ScratchFolder running(root.path());
    const fs::path runningFolder = running.path();
    const fs::path killedFolder = folderOfAKilledProgram(root.path());
    ASSERT_TRUE(fs::exists(killedFolder / "dbtemp.mdb"));
    // Something of the user's own in the same place is no scratch folder of ours.
    fs::create_directory(root.path() / "scratch-notes");
    std::ofstream(root.path() / "scratch-notes" / "keep.txt") << "mine";

    ScratchFolder next(root.path());
    const fs::path nextFolder = next.path();
    EXPECT_FALSE(fs::exists(killedFolder));
    EXPECT_TRUE(fs::exists(runningFolder / "dbtemp.mdb"));
    EXPECT_TRUE(fs::exists(root.path() / "scratch-notes" / "keep.txt"));
    EXPECT_EQ(removeAbandonedScratchFolders(root.path()), 0) << "nothing is left to sweep";
    EXPECT_TRUE(fs::exists(nextFolder / "dbtemp.mdb"));
}

TEST(ScratchFolder, APlaceThatCannotHoldAFolderIsAFailureNamingIt)
{
    TemporaryFolder root;
    const fs::path blocked = root.path() / "not-a-folder";
    std::ofstream(blocked) << "a file where the folder should go";
    ScratchFolder scratch(blocked / "quintabel");
    try {
        scratch.path();
        FAIL() << "a scratch folder was made under a file";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find(blocked.string()), std::string::npos) << error.what();
    }
    EXPECT_FALSE(scratch.made());
}

TEST(ScratchFolder, ARuntimeFolderThatTakesNoFolderGivesWayToTheCache)
{
    // A file where the folder should go stops even root, whom permissions would not.
    TemporaryFolder runtime;
    TemporaryFolder cache;
    std::ofstream(runtime.path() / "quintabel") << "in the way";
    EnvironmentValue runtimeDir("XDG_RUNTIME_DIR", runtime.string());
    EnvironmentValue cacheHome("XDG_CACHE_HOME", cache.string());
    ScratchFolder scratch;
    EXPECT_EQ(scratch.path().parent_path(), cache.path() / "quintabel");
    EXPECT_TRUE(fs::exists(scratch.path() / "dbtemp.mdb"));
}

TEST(ScratchFoldersRoot, PrefersTheRuntimeFolderThenTheCacheThenTheHomeCache)
{
    TemporaryFolder runtime;
    EnvironmentValue home("HOME", "/home/someone");
    {
        EnvironmentValue runtimeDir("XDG_RUNTIME_DIR", runtime.string());
        EnvironmentValue cache("XDG_CACHE_HOME", "/elsewhere/cache");
        EXPECT_EQ(scratchFoldersRoot(), runtime.path() / "quintabel");
    }
    {
        // A runtime folder that is not there, or not absolute, is passed over.
        EnvironmentValue runtimeDir("XDG_RUNTIME_DIR", (runtime.path() / "gone").string());
        EnvironmentValue cache("XDG_CACHE_HOME", "/elsewhere/cache");
        EXPECT_EQ(scratchFoldersRoot(), fs::path("/elsewhere/cache/quintabel"));
    }
    {
        EnvironmentValue runtimeDir("XDG_RUNTIME_DIR", "relative/run");
        EnvironmentValue cache("XDG_CACHE_HOME", std::nullopt);
        EXPECT_EQ(scratchFoldersRoot(), fs::path("/home/someone/.cache/quintabel"));
    }
}

} // namespace
