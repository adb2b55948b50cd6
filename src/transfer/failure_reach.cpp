#include "transfer/failure_reach.h"

#include "drivers/mysql/mysql_error_numbers.h"

#include <algorithm>
#include <array>

namespace quintabel {

namespace {

// MariaDB client and server errors after which the connection is of no more use.
constexpr auto& kConnectionLost = db::mysql::kServerOutOfReach;

// MariaDB errors that every row of the table meets again: the table is gone, the disk or the
// table is full, or writing to it is not allowed.
constexpr std::array kTableUnwritable{
    1146, // ER_NO_SUCH_TABLE
    1021, // ER_DISK_FULL
    1114, // ER_RECORD_FILE_FULL
    1036, // ER_OPEN_AS_READONLY
    1142, // ER_TABLEACCESS_DENIED_ERROR
    1290, // ER_OPTION_PREVENTS_STATEMENT (the server runs read-only)
};

// SQLite's primary result codes (the low byte of an extended one) that are the scratch
// database's state, not the row's: the file cannot be written or read any more.
constexpr std::array kScratchUnwritable{
    8,  // SQLITE_READONLY
    10, // SQLITE_IOERR
    11, // SQLITE_CORRUPT
    13, // SQLITE_FULL
    26, // SQLITE_NOTADB
};

template <std::size_t Size>
bool holds(const std::array<int, Size>& numbers, int number)
{
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

} // namespace

FailureReach failureReach(TargetKind target, int errorNumber)
{
    if (errorNumber == 0)
        return FailureReach::Row;
    if (target == TargetKind::MySQL) {
        if (holds(kConnectionLost, errorNumber))
            return FailureReach::Run;
        return holds(kTableUnwritable, errorNumber) ? FailureReach::Table : FailureReach::Row;
    }
    return holds(kScratchUnwritable, errorNumber & 0xff) ? FailureReach::Table : FailureReach::Row;
}

} // namespace quintabel
