#include "replace_child_runner.h"

#include "maintenance/working_names.h"

#include <gtest/gtest.h>

#include <fstream>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quintabel::testing {

namespace fs = std::filesystem;

namespace {

fs::path notePath()
{
    return fs::temp_directory_path() / ("quintabel-kill-note-" + std::to_string(::getpid()));
}

// Starts the child with `arguments`, with `variable`=`point` for its kill points.
pid_t spawnChild(const std::vector<std::string>& arguments, const std::string& variable, long point)
{
    fs::remove(notePath());
    // The environment is built before fork(): between fork and exec only exec is called.
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (!text.starts_with("QUINTABEL_KILL_") && !text.starts_with("QUINTABEL_HOLD_"))
            environment.push_back(text);
    }
    environment.push_back(variable + "=" + std::to_string(point));
    environment.push_back("QUINTABEL_KILL_POINT_NOTE=" + notePath().string());
    std::vector<char*> envp;
    for (std::string& text : environment)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    std::vector<std::string> words{QUINTABEL_REPLACE_CHILD};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    if (child < 0)
        ADD_FAILURE() << "cannot run " << argv[0];
    return child;
}

std::string noteLeft()
{
    std::string moment;
    std::getline(std::ifstream(notePath()), moment);
    fs::remove(notePath());
    return moment;
}

} // namespace

ReplaceChildOutcome RunReplaceChild(const std::vector<std::string>& arguments, long killAtPoint)
{
    const pid_t child = spawnChild(arguments, "QUINTABEL_KILL_AT_POINT", killAtPoint);
    ReplaceChildOutcome outcome;
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return outcome;
    outcome.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    if (outcome.killed)
        outcome.moment = noteLeft();
    fs::remove(notePath());
    return outcome;
}

HeldChild::HeldChild(const std::vector<std::string>& arguments, long holdAtPoint)
{
    const pid_t child = spawnChild(arguments, "QUINTABEL_HOLD_AT_POINT", holdAtPoint);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, WUNTRACED) != child)
        return;
    if (WIFSTOPPED(status)) {
        pid_ = child;
        moment_ = noteLeft();
    } else if (WIFEXITED(status)) {
        exitCode_ = WEXITSTATUS(status);
    }
}

HeldChild::~HeldChild()
{
    finish();
}

void HeldChild::resume()
{
    if (pid_ > 0)
        ::kill(pid_, SIGCONT);
}

int HeldChild::finish()
{
    if (pid_ <= 0)
        return exitCode_;
    resume();
    int status = 0;
    while (::waitpid(pid_, &status, 0) == pid_ && !WIFEXITED(status) && !WIFSIGNALED(status)) {
    }
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid_ = -1;
    return exitCode_;
}

void KillReplaceAt(const fs::path& folder, const std::string& table, const std::string& moment, int occurrence)
{
    // Kill points are counted from the start of the child, so the point is found by asking
    // each in turn in a scratch copy of the situation: a dry run that only reports names.
    int seen = 0;
    for (long point = 1;; ++point) {
        const fs::path trial = folder.string() + "-trial";
        fs::remove_all(trial);
        fs::copy(folder, trial, fs::copy_options::recursive);
        const ReplaceChildOutcome outcome = RunReplaceChild({"replace", trial.string(), table}, point);
        fs::remove_all(trial);
        if (!outcome.killed) {
            ADD_FAILURE() << "the replacement never reached '" << moment << "' #" << occurrence;
            return;
        }
        if (outcome.moment == moment && ++seen == occurrence) {
            const ReplaceChildOutcome real = RunReplaceChild({"replace", folder.string(), table}, point);
            EXPECT_TRUE(real.killed && real.moment == moment);
            return;
        }
    }
}

std::optional<JournalPaths> ReplacementIn(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder)) {
        const WorkingName working = classifyWorkingName(entry.path().filename().string(), entry.is_directory());
        if (!working.id.empty())
            return JournalPaths{folder, working.id};
    }
    return std::nullopt;
}

} // namespace quintabel::testing
