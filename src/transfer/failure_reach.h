#pragma once
// How far the failure of one row's statement reaches. Most failures belong to their row: a
// value the target refuses, a key already there. Some will fail every row after it the same
// way (the server gone, the table gone, the disk full); reporting those once per row buries
// the user under identical boxes and achieves nothing, so they end the table, or the run.

#include "transfer/target_kind.h"

namespace quintabel {

enum class FailureReach {
    Row,   // report it and go on with the next row
    Table, // every later row of this table would fail alike: end the table
    Run,   // no later table can succeed either (the connection is lost): end the run
};

// The reach of a failure that carries the error number `errorNumber` of the target's driver:
// MariaDB's server and client error codes for a MySQL target, SQLite's extended result codes
// for the scratch database of a Paradox target. 0 (no number) belongs to its row.
FailureReach failureReach(TargetKind target, int errorNumber);

} // namespace quintabel
