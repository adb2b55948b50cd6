// Which failures of a row's statement end the row, the table or the run, by the target's own
// error numbers.

#include "transfer/failure_reach.h"

#include <gtest/gtest.h>

#include <ostream>

namespace quintabel {
namespace {

struct ReachCase {
    TargetKind target;
    int errorNumber;
    FailureReach reach;
    const char* meaning;
};

// Names a case in the test's name by the error it stands for.
void PrintTo(const ReachCase& given, std::ostream* out)
{
    *out << given.meaning << " (" << given.errorNumber << ")";
}

class FailureReachTest : public ::testing::TestWithParam<ReachCase> {};

TEST_P(FailureReachTest, ReachesAsFarAsTheFailureWouldRepeat)
{
    const ReachCase& given = GetParam();
    EXPECT_EQ(failureReach(given.target, given.errorNumber), given.reach) << given.meaning;
}

INSTANTIATE_TEST_SUITE_P(
    MariaDb, FailureReachTest,
    ::testing::Values(
        // The connection is gone: no later statement of the run can reach the server.
        ReachCase{TargetKind::MySQL, 2006, FailureReach::Run, "CR_SERVER_GONE_ERROR"},
        ReachCase{TargetKind::MySQL, 2013, FailureReach::Run, "CR_SERVER_LOST"},
        ReachCase{TargetKind::MySQL, 2055, FailureReach::Run, "CR_SERVER_LOST_EXTENDED"},
        ReachCase{TargetKind::MySQL, 1927, FailureReach::Run, "ER_CONNECTION_KILLED"},
        ReachCase{TargetKind::MySQL, 1053, FailureReach::Run, "ER_SERVER_SHUTDOWN"},
        // The table cannot take any row, but another table may.
        ReachCase{TargetKind::MySQL, 1146, FailureReach::Table, "ER_NO_SUCH_TABLE"},
        ReachCase{TargetKind::MySQL, 1021, FailureReach::Table, "ER_DISK_FULL"},
        ReachCase{TargetKind::MySQL, 1114, FailureReach::Table, "ER_RECORD_FILE_FULL"},
        ReachCase{TargetKind::MySQL, 1142, FailureReach::Table, "ER_TABLEACCESS_DENIED_ERROR"},
        // The row's own values: the next row may well fit.
        ReachCase{TargetKind::MySQL, 1062, FailureReach::Row, "ER_DUP_ENTRY"},
        ReachCase{TargetKind::MySQL, 1406, FailureReach::Row, "ER_DATA_TOO_LONG"},
        ReachCase{TargetKind::MySQL, 1366, FailureReach::Row, "ER_TRUNCATED_WRONG_VALUE_FOR_FIELD"},
        ReachCase{TargetKind::MySQL, 1264, FailureReach::Row, "ER_WARN_DATA_OUT_OF_RANGE"},
        ReachCase{TargetKind::MySQL, 0, FailureReach::Row, "no number: the program's own check"},
        // SQLite's codes mean nothing to MariaDB: 13 is no disk-full there.
        ReachCase{TargetKind::MySQL, 13, FailureReach::Row, "SQLITE_FULL's number"},
        ReachCase{TargetKind::MySQL, 1034, FailureReach::Row, "ER_NOT_KEYFILE"}));

INSTANTIATE_TEST_SUITE_P(
    ScratchDatabase, FailureReachTest,
    ::testing::Values(
        ReachCase{TargetKind::Paradox, 13, FailureReach::Table, "SQLITE_FULL"},
        ReachCase{TargetKind::Paradox, 778, FailureReach::Table, "SQLITE_IOERR_WRITE"},
        ReachCase{TargetKind::Paradox, 1034, FailureReach::Table, "SQLITE_IOERR_FSYNC"},
        ReachCase{TargetKind::Paradox, 8, FailureReach::Table, "SQLITE_READONLY"},
        ReachCase{TargetKind::Paradox, 11, FailureReach::Table, "SQLITE_CORRUPT"},
        ReachCase{TargetKind::Paradox, 1, FailureReach::Row, "SQLITE_ERROR"},
        ReachCase{TargetKind::Paradox, 19, FailureReach::Row, "SQLITE_CONSTRAINT"},
        ReachCase{TargetKind::Paradox, 2067, FailureReach::Row, "SQLITE_CONSTRAINT_UNIQUE"},
        ReachCase{TargetKind::Paradox, 0, FailureReach::Row, "no number: the program's own check"},
        // MariaDB's numbers mean nothing to SQLite: a lost server cannot end a scratch write.
        ReachCase{TargetKind::Paradox, 2006, FailureReach::Row, "CR_SERVER_GONE_ERROR's number"},
        ReachCase{TargetKind::Paradox, 1146, FailureReach::Row, "ER_NO_SUCH_TABLE's number"}));

} // namespace
} // namespace quintabel
