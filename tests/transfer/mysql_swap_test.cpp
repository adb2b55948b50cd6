// A MySQL target built under a temporary name and swapped in: what a run leaves when a table
// cannot take its name, and what the next run recovers (and never touches), against the tests'
// MariaDB server.

#include "canonical_values.h"
#include "catalogue_test_support.h"
#include "paradoxfile/table_writer.h"
#include "base/application_title.h"
#include "base/error_report.h"
#include "connections/connection.h"
#include "maintenance/window/table_maintenance.h"
#include "transfer/mysql_run_lock.h"
#include "transfer/mysql_swap_marker.h"
#include "transfer/mysql_swap_statements.h"
#include "transfer/sql_names.h"
#include "transfer_fixture.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <optional>

namespace quintabel::testing {
namespace {

namespace px = quintabel::paradox;

class MySqlSwapTest : public TransferTest {
protected:
    std::vector<std::string> names(const std::string& table) const
    {
        std::vector<std::string> column;
        for (const auto& row : queryMySql("SELECT NAME FROM " + backtickQuoted(table)))
            column.push_back(db::toText(row.at(0)));
        return column;
    }

    std::string comment(const std::string& table) const
    {
        const Rows rows = queryMySql("SELECT TABLE_COMMENT FROM information_schema.TABLES WHERE TABLE_SCHEMA = '"
                                     + database.name() + "' AND TABLE_NAME = "
                                     + mysqlTextLiteral(table));
        return rows.empty() ? std::string("(no such table)") : db::toText(rows.at(0).at(0));
    }

    // A table of names with the transfer's mark, as a run leaves it when it is killed.
    void markedTable(const std::string& table, const SwapMarker& marker, const std::vector<std::string>& rows)
    {
        runSql(withTableComment("CREATE TABLE " + backtickQuoted(table) + "(NAME TEXT);",
                                          swapMarkerComment(marker)));
        for (const std::string& row : rows)
            runSql("INSERT INTO " + backtickQuoted(table) + " VALUES (" + mysqlTextLiteral(row) + ")");
    }

    void plainTable(const std::string& table, const std::vector<std::string>& rows, const std::string& tableComment = {})
    {
        runSql("CREATE TABLE " + backtickQuoted(table) + "(NAME TEXT) COMMENT="
               + mysqlTextLiteral(tableComment));
        for (const std::string& row : rows)
            runSql("INSERT INTO " + backtickQuoted(table) + " VALUES (" + mysqlTextLiteral(row) + ")");
    }

    // The boxes that are neither error reports nor questions.
    std::vector<ShownBox> messages() const
    {
        std::vector<ShownBox> plain;
        for (const ShownBox& box : boxes.boxes.shown()) {
            if (box.buttons == BoxButtons::Ok && box.title != QLatin1String(kErrorReportTitle))
                plain.push_back(box);
        }
        return plain;
    }
};

TEST_F(MySqlSwapTest, TheMarkReadsBackFromTheServerForAnyTableName)
{
    const std::vector<SwapMarker> markers{
        {"ORDERS", "quintabel-old-ORDERS", 12},
        {"it's a \\ back`tick", "quintabel-old-it's a \\ back`tick", std::nullopt},
        {"Übersicht – 2024", std::nullopt, 4294967296},
        {std::string(64, 'x'), "quintabel-old-" + std::string(50, 'x'), 18446744073709551615ULL},
    };
    int number = 0;
    for (const SwapMarker& marker : markers) {
        const std::string table = "t" + std::to_string(++number);
        markedTable(table, marker, {});
        EXPECT_EQ(readSwapMarker(comment(table)), marker) << marker.table;
    }
}

TEST_F(MySqlSwapTest, RecoverySettlesEachLeftoverAndSaysSoInOneMessageBeforeTheRunGoesOn)
{
    // Killed during the rows of an overwrite: the old table whole, the copy half filled.
    plainTable("ALPHA", {"old alpha"}, "the user's own comment");
    markedTable("quintabel-new-ALPHA", {"ALPHA", "quintabel-old-ALPHA", std::nullopt}, {"half"});
    // Killed during the rows of a new table.
    markedTable("quintabel-new-BETA", {"BETA", std::nullopt, std::nullopt}, {"half"});
    // Killed right after the swap: the new copy in place, the old table aside.
    markedTable("GAMMA", {"GAMMA", "quintabel-old-GAMMA", std::nullopt}, {"new gamma"});
    plainTable("quintabel-old-GAMMA", {"old gamma"});
    // Killed after the old table was dropped, before the mark came off (the comment its
    // statement set itself waiting in the mark).
    markedTable("DELTA", {"DELTA", "quintabel-old-DELTA", std::nullopt, "Delta's own"}, {"new delta"});
    writeNames("OMEGA", {"o"});
    window.Check16->setChecked(true); // its customised statement sets a comment of its own
    customisation.acceptNext("CREATE TABLE `quintabel-new-OMEGA`(`NAME` TEXT) ENGINE=InnoDB COMMENT='O''s \\\\ own'");

    sendToMySql({QStringLiteral("OMEGA")});

    EXPECT_TRUE(reports().empty());
    EXPECT_EQ(mySqlTables(), (std::vector<std::string>{"ALPHA", "DELTA", "GAMMA", "OMEGA"}));
    EXPECT_EQ(names("ALPHA"), std::vector<std::string>{"old alpha"});
    EXPECT_EQ(comment("ALPHA"), "the user's own comment");
    EXPECT_EQ(names("GAMMA"), std::vector<std::string>{"new gamma"});
    EXPECT_EQ(comment("GAMMA"), "");
    EXPECT_EQ(comment("DELTA"), "Delta's own");
    EXPECT_EQ(names("OMEGA"), std::vector<std::string>{"o"});
    EXPECT_EQ(comment("OMEGA"), "O's \\ own");

    const std::vector<ShownBox> shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, applicationTitle());
    EXPECT_EQ(shown[0].text,
              QStringLiteral("A transfer to this database was interrupted before it had finished. Quintabel has put "
                             "right what it left:\r\n\r\n"
                             "DELTA: it holds its complete new copy.\r\n\r\n"
                             "GAMMA: it had been replaced by its complete new copy; the old table, kept as "
                             "quintabel-old-GAMMA, was deleted.\r\n\r\n"
                             "ALPHA: its unfinished new copy (quintabel-new-ALPHA) was deleted; the table ALPHA is "
                             "as it was before.\r\n\r\n"
                             "BETA: its unfinished copy (quintabel-new-BETA) was deleted; the table BETA was not "
                             "created."));
}

TEST_F(MySqlSwapTest, TheUsersOwnTablesWithLookalikeNamesAreNeverTouched)
{
    plainTable("quintabel-new-x", {"mine"});
    plainTable("quintabel-old-y", {"kept"}); // no table y: still not ours to rename back
    plainTable("quintabel-new-z", {"z"}, "Quintabel: new copy of `z`, not yet complete (copied by hand)");
    // A marked table someone renamed: neither the new copy's name nor its table's.
    markedTable("renamed", {"ORDERS", std::nullopt, std::nullopt}, {"r"});
    writeNames("ORDERS", {"n"});

    sendToMySql({QStringLiteral("ORDERS")});

    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(mySqlTables(), (std::vector<std::string>{"ORDERS", "quintabel-new-x", "quintabel-new-z", "quintabel-old-y",
                                                  "renamed"}));
    EXPECT_EQ(names("quintabel-new-x"), std::vector<std::string>{"mine"});
    EXPECT_EQ(names("quintabel-old-y"), std::vector<std::string>{"kept"});
    EXPECT_EQ(names("quintabel-new-z"), std::vector<std::string>{"z"});
    EXPECT_EQ(names("renamed"), std::vector<std::string>{"r"});
    EXPECT_EQ(names("ORDERS"), std::vector<std::string>{"n"});
    EXPECT_EQ(comment("ORDERS"), "");
}

TEST_F(MySqlSwapTest, ACopyWhoseRunStillLivesIsLeftToItAndRecoveredOnceItHasEnded)
{
    std::optional<connections::Connection> otherRun(std::in_place);
    otherRun->Open(database.connectionString());
    const std::optional<std::uint64_t> run = holdRunLock(*otherRun);
    ASSERT_TRUE(run);
    markedTable("quintabel-new-LIVE", {"LIVE", std::nullopt, *run}, {"building"});
    writeNames("OMEGA", {"o"});

    sendToMySql({QStringLiteral("OMEGA")});

    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(mySqlTables(), (std::vector<std::string>{"OMEGA", "quintabel-new-LIVE"}));

    otherRun.reset(); // its connection ends, as when that Quintabel is killed
    boxes.boxes.answerNext(BoxAnswer::Yes); // overwrite OMEGA
    sendToMySql({QStringLiteral("OMEGA")});

    EXPECT_EQ(mySqlTables(), std::vector<std::string>{"OMEGA"});
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.endsWith(
        QStringLiteral("LIVE: its unfinished copy (quintabel-new-LIVE) was deleted; the table LIVE was not created.")));
}

TEST_F(MySqlSwapTest, DeletingTheTableSwappedInFirstDropsTheOldTableItsMarkLeadsTo)
{
    markedTable("GAMMA", {"GAMMA", "quintabel-old-GAMMA", std::nullopt}, {"new gamma"});
    plainTable("quintabel-old-GAMMA", {"old gamma"});
    attachTableMaintenance(window, [this] { return fields(); });
    listBothSides();
    selectOnly(*window.List1, {QStringLiteral("GAMMA")});

    window.PushButton1->click(); // "Delete Table/s"

    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(mySqlTables().empty()) << "the old table would have lost the only mark that leads to it";
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.contains(QStringLiteral("GAMMA: it had been replaced")));
}

TEST_F(MySqlSwapTest, WorkNamesTakenByTheUsersTablesAreStepped)
{
    plainTable("ORDERS", {"old"});
    plainTable("quintabel-new-ORDERS", {"user new"});
    plainTable("quintabel-old-ORDERS", {"user old"});
    writeNames("ORDERS", {"n1", "n2"});
    boxes.boxes.answerNext(BoxAnswer::Yes);

    sendToMySql({QStringLiteral("ORDERS")});

    EXPECT_TRUE(reports().empty());
    EXPECT_EQ(mySqlTables(), (std::vector<std::string>{"ORDERS", "quintabel-new-ORDERS", "quintabel-old-ORDERS"}));
    EXPECT_EQ(names("ORDERS"), (std::vector<std::string>{"n1", "n2"}));
    EXPECT_EQ(names("quintabel-new-ORDERS"), std::vector<std::string>{"user new"});
    EXPECT_EQ(names("quintabel-old-ORDERS"), std::vector<std::string>{"user old"});
}

TEST_F(MySqlSwapTest, AnOverwriteWithARowMissingKeepsTheOldTableAndLeavesNoCopy)
{
    plainTable("COUNTS", {"old"}, "counts of 2023");
    writeParadoxTable("COUNTS", px::Field{"N", px::FieldType::Long, 0, 0},
                      {std::int64_t{1}, std::int64_t{300}, std::int64_t{2}});
    window.Check16->setChecked(true);
    customisation.acceptNext("CREATE TABLE `quintabel-new-COUNTS`(`N` TINYINT)"); // 300 does not fit
    boxes.boxes.answerNext(BoxAnswer::Yes);

    sendToMySql({QStringLiteral("COUNTS")});

    const std::vector<ShownBox> failures = reports();
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_TRUE(failures[0].text.contains(QStringLiteral("at line 338")));
    EXPECT_TRUE(failures[1].text.startsWith(QStringLiteral(
        "The table COUNTS was not overwritten, because 1 of its 3 rows could not be copied. The existing table is "
        "unchanged.")));
    EXPECT_EQ(mySqlTables(), std::vector<std::string>{"COUNTS"});
    EXPECT_EQ(names("COUNTS"), std::vector<std::string>{"old"});
    EXPECT_EQ(comment("COUNTS"), "counts of 2023");
}

TEST_F(MySqlSwapTest, ANewTableWhoseNameTheServerAlreadyHoldsLeavesThatTableAsItWas)
{
    writeNames("ORDERS", {"n1", "n2"});
    listBothSides();
    // Made after the list was read, so that nobody is asked about it.
    plainTable("ORDERS", {"theirs"});
    selectOnly(*window.List2, {QStringLiteral("ORDERS")});
    window.PushButton4->click();

    const std::vector<ShownBox> failures = reports();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_TRUE(failures[0].text.contains(QStringLiteral("at line 286")));
    EXPECT_TRUE(failures[0].text.contains(QStringLiteral("already exists")));
    EXPECT_EQ(mySqlTables(), std::vector<std::string>{"ORDERS"});
    EXPECT_EQ(names("ORDERS"), std::vector<std::string>{"theirs"});
}

} // namespace
} // namespace quintabel::testing
