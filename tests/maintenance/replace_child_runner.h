#pragma once
// Runs the replacement child (replace_child_main.cpp) and reports how it ended, and looks at
// the working files a replacement leaves in a Paradox folder.

#include "maintenance/replacement_journal.h"

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

// Replaces table `table` of `folder` in the child, killed at the `occurrence`-th time it reaches
// the kill point named `moment`. Fails the test when the child never gets there.
void KillReplaceAt(const std::filesystem::path& folder, const std::string& table, const std::string& moment,
                   int occurrence);

// The paths of the one replacement whose working files are in `folder` (its id taken from
// whichever working name is there); nothing when there are none.
std::optional<ReplacementPaths> ReplacementIn(const std::filesystem::path& folder);

} // namespace quintabel::testing
