#pragma once
// A whole transfer run in a child process, so that a test can kill it (SIGKILL, at a chosen
// kill point) exactly where a user's `kill -9` or a power cut would, and then look at what the
// Paradox folder, the scratch database and the server were left holding.

#include <filesystem>
#include <functional>
#include <string>

namespace quintabel::testing {

struct ChildTransfer {
    enum class Direction { ToParadox, ToMySql };
    Direction direction = Direction::ToParadox;
    std::string database;                // on the sandbox server
    std::filesystem::path paradoxFolder;
    std::filesystem::path programFolder; // holds dbtemp.mdb, the scratch database
    std::string table;                   // the source table's name as the source list shows it
    bool overwrite = true;               // the answer to the overwrite question, when it is asked
};

struct ChildOutcome {
    bool killed = false; // died by SIGKILL at the kill point asked for
    std::string moment;  // that kill point's name
    int exitCode = -1;   // when not killed: 0 when no error report was shown, 1 when one was
    std::string output;  // every box the child showed, title and text
};

// Runs the transfer in a child process and waits for it; with `killAtPoint` > 0 the child kills
// itself on reaching its killAtPoint-th kill point.
ChildOutcome runChildTransfer(const ChildTransfer& transfer, long killAtPoint = 0);

// Runs the transfer killed at point 1, 2, 3, ... until a run passes all its points and ends by
// itself; `afterKill` sees each killed run (check what it left, recover, check again). Returns
// how many runs were killed. A run that ends neither killed nor cleanly fails the test.
int killAtEveryPoint(const ChildTransfer& transfer,
                     const std::function<void(const ChildOutcome& outcome, long point)>& afterKill);

} // namespace quintabel::testing
