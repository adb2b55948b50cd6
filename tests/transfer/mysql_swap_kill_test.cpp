// Paradox to MySQL, whole, in a child process killed at each of its kill points: a new table
// and an overwrite, and the recovery itself killed at each of its points. After each kill the
// server holds under the table's name the old table whole or the new one whole (or, for a new
// table, nothing), and every leftover carries the transfer's mark; after the recovery no
// leftover remains and the table is still old-whole or new-whole; the next run goes through.

#include "child_transfer.h"

#include "connections/connection.h"
#include "mariadb_test_database.h"
#include "paradoxfile/table_writer.h"
#include "temporary_folder.h"
#include "transfer/mysql_swap_marker.h"
#include "transfer/mysql_swap_recovery.h"
#include "transfer/mysql_swap_statements.h"
#include "transfer/sql_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>

namespace quintabel::testing {
namespace {

using Names = std::vector<std::string>;

// One table as the server holds it.
struct TableSeen {
    Names rows; // the NAME column, in the order of the rows
    std::string comment;
};
using DatabaseSeen = std::map<std::string, TableSeen>;

const Names kOldRows{"old 1", "old 2", "old 3"};
const Names kNewRows{"new 1", "new 2", "new 3", "new 4", "new 5"};

// The moments of the swap sequence, in the order a run passes them (others' moments aside).
const std::vector<std::string> kSwapMoments{"new copy created under its temporary name", "new copy swapped in",
                                            "table dropped", "swap marker cleared"};
constexpr char kBatchMoment[] = "row batch sent";
constexpr char kCommitMoment[] = "rows committed";

bool isMarked(const TableSeen& table, const std::string& forTable)
{
    const auto marker = readSwapMarker(table.comment);
    return marker && marker->table == forTable;
}

class MySqlSwapKillTest : public ::testing::Test {
protected:
    MySqlSwapKillTest()
    {
        // An empty file is an empty scratch database: the program never creates it itself.
        std::ofstream(programFolder.path() / "dbtemp.mdb");
        paradox::TableWriter writer(paradoxFolder.path(), "ORDERS", {{"NAME", paradox::FieldType::Alpha, 10, 0}});
        for (const std::string& name : kNewRows) {
            const paradox::Value value = name;
            writer.append(std::span<const paradox::Value>(&value, 1));
        }
        writer.commit();
    }

    ChildTransfer orders() const
    {
        ChildTransfer transfer;
        transfer.direction = ChildTransfer::Direction::ToMySql;
        transfer.database = database.name();
        transfer.paradoxFolder = paradoxFolder.path();
        transfer.programFolder = programFolder.path();
        transfer.table = "ORDERS";
        transfer.overwrite = true;
        return transfer;
    }

    void open(connections::Connection& connection) const
    {
        connection.setCursorLocation(connections::adUseClient);
        connection.Open(database.connectionString());
    }

    DatabaseSeen seen() const
    {
        connections::Connection connection;
        open(connection);
        DatabaseSeen tables;
        connections::Recordset listing = connection.Execute(
            "SELECT TABLE_NAME, TABLE_COMMENT FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE()");
        for (; !listing.Eof(); listing.MoveNext())
            tables[db::toText(listing.Fields(0).Value())].comment = db::toText(listing.Fields(1).Value());
        listing.Close();
        for (auto& [name, table] : tables) {
            connections::Recordset rows = connection.Execute("SELECT NAME FROM " + backtickQuoted(name));
            for (; !rows.Eof(); rows.MoveNext())
                table.rows.push_back(db::toText(rows.Fields(0).Value()));
        }
        return tables;
    }

    std::vector<RecoveredSwap> recover() const
    {
        connections::Connection connection;
        open(connection);
        std::vector<RecoveredSwap> recovered;
        recoverInterruptedSwaps(connection, recovered);
        return recovered;
    }

    void ordersWithOldRows()
    {
        database.run("DROP TABLE IF EXISTS ORDERS");
        database.run("CREATE TABLE ORDERS (NAME TEXT)");
        for (const std::string& name : kOldRows)
            database.run("INSERT INTO ORDERS VALUES (" + mysqlTextLiteral(name) + ")");
    }

    // The state after a kill, before any recovery; `old` is what ORDERS held before the run.
    void expectOnlyWholeTablesUnderTheName(const DatabaseSeen& tables, const std::optional<Names>& old)
    {
        ++invariantChecks;
        for (const auto& [name, table] : tables) {
            if (name == "ORDERS") {
                EXPECT_TRUE(table.rows == kNewRows || (old && table.rows == *old))
                    << "ORDERS holds " << table.rows.size() << " rows that are neither the old table nor the new";
            } else if (name == "quintabel-new-ORDERS") {
                EXPECT_TRUE(isMarked(table, "ORDERS")) << "an unmarked new copy: " << table.comment;
                // Its rows arrive in one transaction: all of them or none.
                EXPECT_TRUE(table.rows.empty() || table.rows == kNewRows)
                    << "a new copy holds " << table.rows.size() << " rows";
            } else if (name == "quintabel-old-ORDERS") {
                ASSERT_TRUE(old) << "an old table set aside where there was none";
                EXPECT_EQ(table.rows, *old);
                // Only the mark of the table swapped in leads the recovery to it.
                ASSERT_TRUE(tables.contains("ORDERS"));
                EXPECT_TRUE(isMarked(tables.at("ORDERS"), "ORDERS"));
                EXPECT_EQ(tables.at("ORDERS").rows, kNewRows);
            } else {
                ADD_FAILURE() << "an unexpected table " << name;
            }
        }
        if (old) {
            EXPECT_TRUE(tables.contains("ORDERS")) << "the old table is gone from its name";
        }
        if (tables.contains("quintabel-new-ORDERS") && old) {
            EXPECT_EQ(tables.at("ORDERS").rows, *old) << "a new copy still building beside a table already replaced";
        }
    }

    // The state after the recovery: ORDERS old-whole or new-whole (or absent, when it was
    // absent before the run and the copy never took the name), unmarked, and nothing else.
    void expectRecovered(const DatabaseSeen& before, const DatabaseSeen& after, const std::optional<Names>& old)
    {
        ++invariantChecks;
        if (!after.contains("ORDERS")) {
            EXPECT_FALSE(old) << "the old table was lost";
            EXPECT_FALSE(before.contains("ORDERS")) << "the recovery removed a whole table";
            EXPECT_TRUE(after.empty());
            return;
        }
        EXPECT_EQ(after.size(), 1u) << "a leftover remains";
        EXPECT_EQ(after.at("ORDERS").comment, "");
        // The recovery never changes which table stands under the name.
        ASSERT_TRUE(before.contains("ORDERS"));
        EXPECT_EQ(after.at("ORDERS").rows, before.at("ORDERS").rows);
    }

    // Runs the child killed at every point of the run, checking and recovering after each.
    // `reset` puts the database back as it was before the run.
    void killAtEveryPointOfTheRun(const std::optional<Names>& old, const std::function<void()>& reset)
    {
        reset();
        std::vector<std::string> swapMoments;
        int batchMoments = 0;
        int commitMoments = 0;
        pointsKilled = killAtEveryPoint(orders(), [&](const ChildOutcome& outcome, long) {
            if (outcome.moment == kBatchMoment)
                ++batchMoments;
            else if (outcome.moment == kCommitMoment)
                ++commitMoments;
            else if (std::find(kSwapMoments.begin(), kSwapMoments.end(), outcome.moment) != kSwapMoments.end())
                swapMoments.push_back(outcome.moment);
            const DatabaseSeen killed = seen();
            expectOnlyWholeTablesUnderTheName(killed, old);
            recover();
            expectRecovered(killed, seen(), old);
            reset();
        });
        EXPECT_GE(batchMoments, 1);
        EXPECT_EQ(commitMoments, 1);
        std::vector<std::string> expected = kSwapMoments;
        if (!old) // nothing to drop after the swap
            expected.erase(std::find(expected.begin(), expected.end(), "table dropped"));
        EXPECT_EQ(swapMoments, expected);

        // The run to the end (the last one of killAtEveryPoint) left the new table, settled.
        const DatabaseSeen last = seen();
        ASSERT_EQ(last.size(), 1u);
        EXPECT_EQ(last.at("ORDERS").rows, kNewRows);
        EXPECT_EQ(last.at("ORDERS").comment, "");
        std::cout << "kill test: " << pointsKilled << " points killed, " << invariantChecks
                  << " invariant checks (after each kill and after each recovery)\n";
        RecordProperty("points_killed", pointsKilled);
        RecordProperty("invariant_checks", invariantChecks);
    }

    TemporaryFolder programFolder;
    TemporaryFolder paradoxFolder;
    MariaDbTestDatabase database;
    int pointsKilled = 0;
    int invariantChecks = 0;
};

TEST_F(MySqlSwapKillTest, ANewTableIsNeverSeenHalfFilledUnderItsName)
{
    killAtEveryPointOfTheRun(std::nullopt, [this] { database.run("DROP TABLE IF EXISTS ORDERS"); });
}

TEST_F(MySqlSwapKillTest, AnOverwrittenTableIsAlwaysTheOldOneOrTheNewOneWhole)
{
    killAtEveryPointOfTheRun(kOldRows, [this] { ordersWithOldRows(); });
}

TEST_F(MySqlSwapKillTest, ARecoveryKilledPartWayIsFinishedByTheNext)
{
    // What a run killed after its swap leaves (ORDERS swapped in, the old table aside), and
    // what one killed during its rows leaves (PARTS, with a half copy beside it).
    const auto leaveLeftovers = [this] {
        database.run("DROP TABLE IF EXISTS ORDERS, `quintabel-old-ORDERS`, PARTS, `quintabel-new-PARTS`");
        database.run(withTableComment("CREATE TABLE ORDERS (NAME TEXT)",
                                                swapMarkerComment({"ORDERS", "quintabel-old-ORDERS", std::nullopt})));
        database.run("INSERT INTO ORDERS VALUES ('new 1')");
        database.run("CREATE TABLE `quintabel-old-ORDERS` (NAME TEXT)");
        database.run("INSERT INTO `quintabel-old-ORDERS` VALUES ('old 1')");
        database.run("CREATE TABLE PARTS (NAME TEXT)");
        database.run("INSERT INTO PARTS VALUES ('part 1')");
        database.run(withTableComment("CREATE TABLE `quintabel-new-PARTS` (NAME TEXT)",
                                                swapMarkerComment({"PARTS", "quintabel-old-PARTS", std::nullopt})));
    };
    // The recovery's own points come first in the run: the old table dropped, the mark
    // cleared, the half copy dropped.
    for (long point = 1; point <= 3; ++point) {
        SCOPED_TRACE("killed at point " + std::to_string(point));
        leaveLeftovers();
        const ChildOutcome outcome = runChildTransfer(orders(), point);
        ASSERT_TRUE(outcome.killed) << outcome.output;
        const DatabaseSeen killed = seen();
        ++invariantChecks;
        ASSERT_TRUE(killed.contains("ORDERS") && killed.contains("PARTS"));
        EXPECT_EQ(killed.at("ORDERS").rows, Names{"new 1"});
        EXPECT_EQ(killed.at("PARTS").rows, Names{"part 1"});
        // While the old table stands aside, the table swapped in still leads to it.
        if (killed.contains("quintabel-old-ORDERS")) {
            EXPECT_TRUE(isMarked(killed.at("ORDERS"), "ORDERS"));
        }
        if (killed.contains("quintabel-new-PARTS")) {
            EXPECT_TRUE(isMarked(killed.at("quintabel-new-PARTS"), "PARTS"));
        }

        recover();
        const DatabaseSeen after = seen();
        ++invariantChecks;
        EXPECT_EQ(after.size(), 2u) << "a leftover remains";
        EXPECT_EQ(after.at("ORDERS").rows, Names{"new 1"});
        EXPECT_EQ(after.at("ORDERS").comment, "");
        EXPECT_EQ(after.at("PARTS").rows, Names{"part 1"});
        ++pointsKilled;
    }
    std::cout << "recovery kill test: " << pointsKilled << " points killed, " << invariantChecks
              << " invariant checks\n";
}

} // namespace
} // namespace quintabel::testing
