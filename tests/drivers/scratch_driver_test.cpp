// The scratch database: the statements the MySQL to Paradox transfer sends, and values kept
// exactly as they were given, checked with SQLite itself.

#include "connections/connection.h"
#include "connections/connection_string.h"
#include "drivers/database_error.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

using quintabel::connections::Connection;
using quintabel::connections::Recordset;
using quintabel::connections::scratchConnectionString;
using quintabel::db::DatabaseError;
using quintabel::testing::TemporaryFolder;

namespace {

// One stored value as SQLite sees it: its storage class and its bytes.
struct Stored {
    std::string storageClass;
    std::string bytes;
    bool operator==(const Stored&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Stored& stored)
{
    return out << stored.storageClass << " '" << stored.bytes << "'";
}

class ScratchDriverTest : public ::testing::Test {
protected:
    ScratchDriverTest()
    {
        std::ofstream{file()}; // an empty file is an empty SQLite database
        connection.Open(scratchConnectionString(folder.string()));
    }

    std::string file() const { return folder.string() + "/dbtemp.mdb"; }

    // Every stored value of one table, read with SQLite directly. Rows still pending in the
    // session's open batch are committed first, as any other statement would.
    std::vector<std::vector<Stored>> storedRows(const std::string& table)
    {
        schemaTables("TABLE");
        sqlite3* database = nullptr;
        EXPECT_EQ(sqlite3_open_v2(file().c_str(), &database, SQLITE_OPEN_READONLY, nullptr),
                  SQLITE_OK);
        sqlite3_stmt* statement = nullptr;
        const std::string sql = "SELECT * FROM \"" + table + "\" ORDER BY rowid";
        EXPECT_EQ(sqlite3_prepare_v2(database, sql.c_str(), -1, &statement, nullptr), SQLITE_OK);
        std::vector<std::vector<Stored>> rows;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<Stored> row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                static const char* const classes[] = {"", "integer", "real", "text", "blob", "null"};
                const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, i));
                const int size = sqlite3_column_bytes(statement, i);
                row.push_back({classes[sqlite3_column_type(statement, i)],
                               data ? std::string(data, static_cast<std::size_t>(size)) : ""});
            }
            rows.push_back(row);
        }
        sqlite3_finalize(statement);
        sqlite3_close(database);
        return rows;
    }

    std::set<std::string> schemaTables(const std::string& type)
    {
        Recordset schema = connection.OpenSchema(20);
        std::set<std::string> names;
        for (; !schema.Eof(); schema.MoveNext()) {
            if (quintabel::db::toText(schema.Fields("TABLE_TYPE").Value()) == type)
                names.insert(quintabel::db::toText(schema.Fields("TABLE_NAME").Value()));
        }
        return names;
    }

    TemporaryFolder folder;
    Connection connection;
};

TEST(ScratchDriverOpening, AMissingFileIsNeverCreated)
{
    TemporaryFolder folder;
    Connection connection;
    try {
        connection.Open(scratchConnectionString(folder.string()));
        FAIL() << "opened";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.description(), "Could not find file '" + folder.string() + "/dbtemp.mdb'.");
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "dbtemp.mdb"));
    EXPECT_EQ(connection.State(), 0);
}

TEST(ScratchDriverOpening, AFileThatIsNoScratchDatabaseIsNeverUsedAsItIs)
{
    TemporaryFolder folder;
    std::ofstream(folder.path() / "dbtemp.mdb") << std::string(4096, 'J');
    Connection connection;
    connection.Open(scratchConnectionString(folder.string()));
    // Made anew, and said so (scratch_crash_safety_test.cpp has the damaged files).
    EXPECT_TRUE(connection.OpeningNotice().has_value());
    std::ifstream file(folder.path() / "dbtemp.mdb");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}).find('J'), std::string::npos);
}

TEST_F(ScratchDriverTest, TakesTheDefaultAndTheCustomisedCreateStatements)
{
    connection.Execute("CREATE TABLE `order lines`(`id` INT,`name` TEXT,`price` FLOAT,"
                       "`when` DATETIME,`photo` OLEOBJECT,`amount` DECIMAL,`note` VARCHAR);");
    connection.Execute("CREATE TABLE `customised`([id] INT,[title] VARCHAR(3),[n] decimal(18, 0),"
                       "[b] Binary (50),[c] nchar (10),[d] VarChar (50),[e] numeric(18, 0),"
                       "[f] MEMO,[g] bigint,[h] Bit,[i] Char (10),[j] DateTime,[k] Float,"
                       "[l] Image,[m] Money,[o] ntext,[p] nvarchar (50),[q] Real,"
                       "[r] smalldatetime,[s] SmallInt,[t] smallmoney,[u] Text,[v] TimeStamp,"
                       "[w] tinyint,[x] uniqueidentifier,[y] VarBinary (50))");
    EXPECT_EQ(schemaTables("TABLE"), (std::set<std::string>{"customised", "order lines"}));
    EXPECT_EQ(schemaTables("SYSTEM TABLE"), (std::set<std::string>{"MSysQuintabelColumns"}));
}

TEST_F(ScratchDriverTest, RefusesTypesAndSizesItCannotHonour)
{
    const std::vector<std::string> refused{
        "CREATE TABLE `t`(`a` sql_variant)", "CREATE TABLE `t`(`a` xml)",
        "CREATE TABLE `t`(`a` small)",       "CREATE TABLE `t`(`a` VARCHAR(256))",
        "CREATE TABLE `t`(`a` VARCHAR(0))",  "CREATE TABLE `t`(`a` INT(4))",
        "CREATE TABLE `t`(`a` decimal(29, 0))", "CREATE TABLE `t`(`a` decimal(5, 6))",
        "CREATE TABLE `t`(`a` INT,`A` TEXT)", "CREATE TABLE `t`(`a` INT NOT NULL)",
        "CREATE TABLE `t`()",                "CREATE TABLE `MSysQuintabelColumns`(`a` INT)",
        "CREATE TABLE `sqlite_x`(`a` INT)",
    };
    for (const std::string& statement : refused) {
        SCOPED_TRACE(statement);
        EXPECT_THROW(connection.Execute(statement), DatabaseError);
    }
    EXPECT_TRUE(schemaTables("TABLE").empty());
}

TEST_F(ScratchDriverTest, KeepsEveryValueExactlyAsGiven)
{
    connection.Execute("CREATE TABLE `t`(`d` DECIMAL,`i` INT,`f` FLOAT,`x` TEXT,`b` OLEOBJECT)");
    connection.Execute("INSERT INTO `t` VALUES('1.10', '007', '0.1000000000000000055511151231257827', "
                       "'O''Neil \\ \xC3\xBC', X'00FF10')");
    connection.Execute("INSERT INTO `t` VALUES('12345678901234567890123', NULL, '1e+20', ' ', X'')");
    connection.Execute("INSERT INTO `t` VALUES(NULL, NULL, NULL, NULL, NULL)");
    const std::string zeroAndFF("\x00\xFF\x10", 3);
    const std::vector<std::vector<Stored>> expected{
        {{"text", "1.10"}, {"text", "007"}, {"text", "0.1000000000000000055511151231257827"},
         {"text", "O'Neil \\ \xC3\xBC"}, {"blob", zeroAndFF}},
        {{"text", "12345678901234567890123"}, {"null", ""}, {"text", "1e+20"}, {"text", " "},
         {"blob", ""}},
        {{"null", ""}, {"null", ""}, {"null", ""}, {"null", ""}, {"null", ""}},
    };
    EXPECT_EQ(storedRows("t"), expected);
}

TEST_F(ScratchDriverTest, RowValuesArriveAsTheirInsertStatementLeavesThem)
{
    connection.Execute("CREATE TABLE `t`(`d` DECIMAL,`x` TEXT,`b` OLEOBJECT)");
    connection.Execute("CREATE TABLE `u`(`d` DECIMAL,`x` TEXT,`b` OLEOBJECT)");
    connection.Execute("INSERT INTO `t` VALUES('1.10', 'O''Neil \\ \xC3\xBC', X'00FF10')");
    connection.Execute("INSERT INTO `t` VALUES(NULL, ' ', NULL)");
    ASSERT_TRUE(connection.TakesRowValues());
    using quintabel::db::Bytes;
    using quintabel::db::Null;
    connection.InsertRow("U", {std::string("1.10"), std::string("O'Neil \\ \xC3\xBC"), Bytes{0x00, 0xFF, 0x10}});
    connection.InsertRow("u", {Null{}, std::string(" "), Null{}});
    EXPECT_EQ(storedRows("u"), storedRows("t"));

    // What a statement could not carry, or a table it could not reach, is refused alike.
    EXPECT_THROW(connection.InsertRow("u", {std::string("1")}), DatabaseError);
    EXPECT_THROW(connection.InsertRow("missing", {Null{}, Null{}, Null{}}), DatabaseError);
    EXPECT_THROW(connection.InsertRow("u", {std::int64_t{1}, Null{}, Null{}}), DatabaseError);
    EXPECT_EQ(storedRows("u").size(), 2u);
}

TEST_F(ScratchDriverTest, RefusesRowsThatDoNotMatchTheirTable)
{
    connection.Execute("CREATE TABLE `t`(`a` INT,`b` TEXT)");
    const std::vector<std::string> refused{
        "INSERT INTO `t` VALUES('1')",
        "INSERT INTO `t` VALUES('1', '2', '3')",
        "INSERT INTO `missing` VALUES('1', '2')",
        "INSERT INTO `t` VALUES(1, '2')",          // numbers come quoted
        "INSERT INTO `t` VALUES('1', X'ABC')",     // odd hex digits
        "INSERT INTO `t` VALUES('1', 'unclosed)",
        "INSERT INTO `t` VALUES('1', '2'); DROP TABLE [t]",
    };
    for (const std::string& statement : refused) {
        SCOPED_TRACE(statement);
        EXPECT_THROW(connection.Execute(statement), DatabaseError);
    }
    EXPECT_TRUE(storedRows("t").empty());
    EXPECT_EQ(schemaTables("TABLE"), (std::set<std::string>{"t"}));
}

TEST_F(ScratchDriverTest, DropsTablesByNameWithoutRegardToCase)
{
    connection.Execute("CREATE TABLE `Orders`(`a` INT)");
    EXPECT_THROW(connection.Execute("CREATE TABLE `ORDERS`(`a` INT)"), DatabaseError);
    EXPECT_THROW(connection.Execute("DROP TABLE [Orders]x]"), DatabaseError);
    EXPECT_THROW(connection.Execute("DROP TABLE [nothing]"), DatabaseError);
    EXPECT_THROW(connection.Execute("DROP TABLE [MSysQuintabelColumns]"), DatabaseError);
    EXPECT_EQ(schemaTables("TABLE"), (std::set<std::string>{"Orders"}));
    connection.Execute("DROP TABLE [oRDERS]");
    EXPECT_TRUE(schemaTables("TABLE").empty());
    // The name is free again, with new columns.
    connection.Execute("CREATE TABLE `orders`(`b` TEXT,`c` TEXT)");
    connection.Execute("INSERT INTO `orders` VALUES('x', 'y')");
    EXPECT_EQ(storedRows("orders").at(0).size(), 2u);
}

TEST_F(ScratchDriverTest, RunsOnlyItsOwnStatementsAndLeavesNoJournal)
{
    connection.Execute("CREATE TABLE `t`(`a` INT)");
    for (const char* statement : {"SELECT * FROM [t]", "DELETE FROM [t]", "UPDATE t SET a = 1",
                                  "CREATE TABLE `u`(`a` INT); DROP TABLE [t]",
                                  "PRAGMA journal_mode = DELETE", "ATTACH 'x' AS y"}) {
        SCOPED_TRACE(statement);
        EXPECT_THROW(connection.Execute(statement), DatabaseError);
    }
    EXPECT_EQ(schemaTables("TABLE"), (std::set<std::string>{"t"}));
    EXPECT_FALSE(std::filesystem::exists(file() + "-journal"));
    EXPECT_FALSE(std::filesystem::exists(file() + "-wal"));
}

TEST(ScratchDriverOpening, ReadOnlyModeChangesNothing)
{
    TemporaryFolder folder;
    std::ofstream{folder.path() / "dbtemp.mdb"};
    Connection connection;
    connection.setMode(quintabel::connections::adModeRead);
    connection.Open(scratchConnectionString(folder.string()));
    EXPECT_THROW(connection.Execute("CREATE TABLE `t`(`a` INT)"), DatabaseError);
    EXPECT_EQ(std::filesystem::file_size(folder.path() / "dbtemp.mdb"), 0u);
}

} // namespace
