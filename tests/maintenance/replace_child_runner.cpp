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

ReplaceChildOutcome RunReplaceChild(const std::vector<std::string>& arguments, long killAtPoint)
{
    const fs::path note = fs::temp_directory_path() / ("quintabel-kill-note-" + std::to_string(::getpid()));
    fs::remove(note);
    // The environment is built before fork(): between fork and exec only exec is called.
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (!text.starts_with("QUINTABEL_KILL_"))
            environment.push_back(text);
    }
    environment.push_back("QUINTABEL_KILL_AT_POINT=" + std::to_string(killAtPoint));
    environment.push_back("QUINTABEL_KILL_POINT_NOTE=" + note.string());
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
    ReplaceChildOutcome outcome;
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) {
        ADD_FAILURE() << "cannot run " << argv[0];
        return outcome;
    }
    outcome.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    if (outcome.killed)
        std::getline(std::ifstream(note), outcome.moment);
    fs::remove(note);
    return outcome;
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

std::optional<ReplacementPaths> ReplacementIn(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder)) {
        const WorkingName working = ClassifyWorkingName(entry.path().filename().string(), entry.is_directory());
        if (!working.id.empty())
            return ReplacementPaths{folder, working.id};
    }
    return std::nullopt;
}

} // namespace quintabel::testing
