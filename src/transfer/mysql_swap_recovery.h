#pragma once
// Settling what an interrupted transfer left in a MySQL database, at the start of the next run
// against it. Only tables that carry the transfer's mark (mysql_swap_marker.h) are touched, so
// a user's own table is never dropped or renamed, whatever it is called:
//
// - a marked table under a `quintabel-new-` name was never swapped in: it is dropped, and the
//   table it was meant to replace stands as it was;
// - a marked table under the name its mark gives was swapped in whole: the old table the mark
//   names is dropped when it is still there, then the mark comes off.
//
// A copy whose run still lives (mysql_run_lock.h) is another Quintabel's work in progress,
// and is left alone.
//
// Every step is idempotent, so a kill during the recovery leaves work for the next one.
// An old table is never left without a mark pointing at it: the swap moves it aside in the
// same statement that puts the marked copy in its place, and the mark comes off only after
// the old table has gone.

#include <QString>

#include <string>
#include <vector>

namespace quintabel {

class StepGuard;

namespace connections {
class Connection;
}

struct RecoveredSwap {
    enum class Outcome {
        UnfinishedCopyDropped, // never swapped in: the copy is gone, the table as it was
        OldTableDropped,       // swapped in: the old table kept aside is gone
        MarkCleared,           // swapped in, its old table already gone: only the mark came off
    };
    Outcome outcome = Outcome::MarkCleared;
    std::string table;          // the table the copy was made for
    std::string dropped;        // the table dropped, for the first two outcomes
    bool tableExists = false;   // for an unfinished copy: whether `table` is there (unchanged)
};

// Settles every marked table of the connection's database, recording each step's outcome in
// `recovered` as it goes: a failure throws, and `recovered` still tells what was done.
void recoverInterruptedSwaps(connections::Connection& mysql, std::vector<RecoveredSwap>& recovered);

// One plain message for the user about everything recovered.
QString recoveryMessage(const std::vector<RecoveredSwap>& recovered);

// The recovery as a labelled step of a run on the open `mysql`: a failure is reported and the
// run goes on; when anything was recovered, the message is shown.
void recoverInterruptedSwaps(StepGuard& guard, int label, connections::Connection& mysql);

} // namespace quintabel
