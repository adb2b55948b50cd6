// The child process of the scratch database's kill tests. It sends the scratch database what
// the MySQL to Paradox transfer sends for each table (a CREATE TABLE, one INSERT per row, the
// write-out to a Paradox table, the DROP TABLE), for the tables "first" and "second" in turn.
// The tests run it with QUINTABEL_KILL_AT_POINT set, or ask it to kill itself just after a
// given INSERT (counted over both tables), in the middle of a batch, when rows have already
// gone to the file.
//
//     scratch_copy_child PROGRAM_FOLDER PARADOX_FOLDER ROWS [KILL_AFTER_INSERT]

#include "connections/connection.h"
#include "connections/connection_string.h"
#include "scratch_copy_rows.h"

#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

using quintabel::connections::Connection;

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5) {
        std::cerr << "usage: scratch_copy_child PROGRAM_FOLDER PARADOX_FOLDER ROWS [KILL_AFTER_INSERT]\n";
        return 2;
    }
    const std::string programFolder = argv[1];
    const std::string paradoxFolder = argv[2];
    const int rows = std::atoi(argv[3]);
    const int killAfterInsert = argc == 5 ? std::atoi(argv[4]) : 0;
    int inserts = 0;
    try {
        Connection scratch;
        scratch.Open(quintabel::connections::scratchConnectionString(programFolder));
        for (const std::string table : {"first", "second"}) {
            scratch.Execute(quintabel::testing::copyTableCreate(table));
            for (int row = 1; row <= rows; ++row) {
                scratch.Execute(quintabel::testing::copyTableInsert(table, row));
                if (++inserts == killAfterInsert)
                    std::raise(SIGKILL);
            }
            scratch.Execute(quintabel::testing::copyTableWriteOut(table, paradoxFolder));
            scratch.Execute("DROP TABLE [" + table + "]");
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
