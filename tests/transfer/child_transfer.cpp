#include "child_transfer.h"

#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace quintabel::testing {

namespace {

std::string readWhole(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// This process's environment with the child's own settings on top.
std::vector<std::string> childEnvironment(long killAtPoint, const std::filesystem::path& note)
{
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable(*entry);
        if (variable.rfind("QUINTABEL_KILL_", 0) != 0)
            variables.push_back(variable);
    }
    if (killAtPoint > 0) {
        variables.push_back("QUINTABEL_KILL_AT_POINT=" + std::to_string(killAtPoint));
        variables.push_back("QUINTABEL_KILL_POINT_NOTE=" + note.string());
    }
    variables.push_back("QT_QPA_PLATFORM=offscreen");
    return variables;
}

std::vector<char*> pointers(std::vector<std::string>& texts)
{
    std::vector<char*> result;
    for (std::string& text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

} // namespace

ChildOutcome runChildTransfer(const ChildTransfer& transfer, long killAtPoint)
{
    QTemporaryDir scratchFolder;
    if (!scratchFolder.isValid())
        throw std::runtime_error("no temporary folder for the child's output");
    const std::filesystem::path folder = scratchFolder.path().toStdString();
    const std::filesystem::path outputFile = folder / "output";
    const std::filesystem::path noteFile = folder / "kill-point";

    std::vector<std::string> arguments{
        QUINTABEL_TRANSFER_CHILD,
        transfer.direction == ChildTransfer::Direction::ToParadox ? "to-paradox" : "to-mysql",
        transfer.database,
        transfer.paradoxFolder.string(),
        transfer.programFolder.string(),
        transfer.table,
        transfer.overwrite ? "overwrite" : "keep",
    };
    std::vector<std::string> environment = childEnvironment(killAtPoint, noteFile);
    std::vector<char*> argv = pointers(arguments);
    std::vector<char*> envp = pointers(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error(std::string("cannot start the transfer child: ") + std::strerror(spawned));

    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            throw std::runtime_error(std::string("cannot wait for the transfer child: ") + std::strerror(errno));
    }
    ChildOutcome outcome;
    outcome.output = readWhole(outputFile);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) {
        outcome.killed = true;
        outcome.moment = readWhole(noteFile);
        while (!outcome.moment.empty() && outcome.moment.back() == '\n')
            outcome.moment.pop_back();
    } else if (WIFEXITED(status)) {
        outcome.exitCode = WEXITSTATUS(status);
    } else {
        ADD_FAILURE() << "the transfer child ended by signal " << WTERMSIG(status) << ":\n" << outcome.output;
    }
    return outcome;
}

int killAtEveryPoint(const ChildTransfer& transfer,
                     const std::function<void(const ChildOutcome& outcome, long point)>& afterKill)
{
    // Far more than any run of a few rows has; a run that never ends would be a fault.
    constexpr long kMostPoints = 2000;
    int killed = 0;
    for (long point = 1; point <= kMostPoints; ++point) {
        const ChildOutcome outcome = runChildTransfer(transfer, point);
        if (!outcome.killed) {
            EXPECT_EQ(outcome.exitCode, 0) << "after " << killed << " kills, the run to the end showed:\n"
                                           << outcome.output;
            return killed;
        }
        ++killed;
        SCOPED_TRACE("killed at point " + std::to_string(point) + ": " + outcome.moment);
        afterKill(outcome, point);
        if (::testing::Test::HasFatalFailure())
            return killed;
    }
    ADD_FAILURE() << "the transfer passed more than " << kMostPoints << " kill points";
    return killed;
}

} // namespace quintabel::testing
