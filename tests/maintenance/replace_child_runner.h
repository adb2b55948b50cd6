#pragma once
// Runs the replacement child (replace_child_main.cpp) and reports how it ended, and looks at
// the working files a replacement leaves in a Paradox folder.

#include "maintenance/table_journal.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quintabel::testing {

struct ReplaceChildOutcome {
    bool killed = false;
    std::string moment; // the kill point it died at
    int exitCode = -1;
};

// Runs the child with `arguments`; with `killAtPoint` > 0 it kills itself at that kill point.
ReplaceChildOutcome RunReplaceChild(const std::vector<std::string>& arguments, long killAtPoint = 0);

// A child stopped at a kill point (QUINTABEL_HOLD_AT_POINT): it waits there until resumed.
class HeldChild {
public:
    // Starts the child with `arguments` and waits until it stops at kill point `holdAtPoint`;
    // running() is false when it ended before it got there.
    HeldChild(const std::vector<std::string>& arguments, long holdAtPoint);
    ~HeldChild(); // resumes the child and waits for it
    HeldChild(const HeldChild&) = delete;
    HeldChild& operator=(const HeldChild&) = delete;

    bool running() const { return pid_ > 0; }
    const std::string& moment() const { return moment_; }
    // Lets the child go on; the exit code once it has ended.
    int finish();
    // Lets the child go on without waiting for it.
    void resume();

private:
    int pid_ = -1;
    int exitCode_ = -1;
    std::string moment_;
};

// Replaces table `table` of `folder` in the child, killed at the `occurrence`-th time it reaches
// the kill point named `moment`. Fails the test when the child never gets there.
void KillReplaceAt(const std::filesystem::path& folder, const std::string& table, const std::string& moment,
                   int occurrence);

// The paths of the one replacement whose working files are in `folder` (its id taken from
// whichever working name is there); nothing when there are none.
std::optional<JournalPaths> ReplacementIn(const std::filesystem::path& folder);

} // namespace quintabel::testing
