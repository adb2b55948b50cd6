#pragma once
// Kill points: named moments between the steps of a sequence that must survive the program
// being killed (a table replaced, a table swapped in, a scratch copy). In normal use a kill
// point costs two comparisons. The kill tests run the program in a child process with
// QUINTABEL_KILL_AT_POINT=k in its environment: the child kills itself with SIGKILL on
// reaching its k-th kill point, exactly as a user's `kill -9` or a power cut would stop it,
// with no destructor, no flush and no atexit handler run. When QUINTABEL_KILL_POINT_NOTE names
// a file, the moment's name is written there first, so that a failing test can say where the
// child died. With QUINTABEL_HOLD_AT_POINT=k the child stops itself (SIGSTOP) at its k-th kill
// point instead, until the test lets it go on (SIGCONT): a program caught between two steps.
//
//     renameAside(oldFamily);
//     killPoint("old table set aside");
//     moveIn(newFamily);

#include <string_view>

namespace quintabel {

void killPoint(std::string_view moment);

} // namespace quintabel
