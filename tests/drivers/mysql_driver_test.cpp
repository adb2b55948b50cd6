// The MySQL driver against the tests' private MariaDB server, through Connection and
// Recordset as the program uses it.

#include "connections/connection.h"
#include "connections/connection_string.h"
#include "drivers/ado_types.h"
#include "drivers/database_error.h"
#include "mariadb_test_database.h"
#include "value_description.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using quintabel::connections::adUseClient;
using quintabel::connections::adUseServer;
using quintabel::connections::Connection;
using quintabel::connections::Recordset;
using quintabel::db::DatabaseError;
using quintabel::testing::describe;
using quintabel::testing::MariaDbTestDatabase;
namespace ado = quintabel::db::ado;

namespace {

struct ColumnCase {
    const char* name;
    const char* definition;
    const char* literal;
    int adoType;
    const char* value; // as describe() shows it
};

// One column of each MySQL type, with a value at the edge of its range where there is one.
const std::vector<ColumnCase> columnCases{
    {"ti", "TINYINT", "-128", ado::adTinyInt, "int64 -128"},
    {"tiu", "TINYINT UNSIGNED", "255", ado::adUnsignedTinyInt, "uint64 255"},
    {"bo", "BOOL", "1", ado::adTinyInt, "int64 1"},
    {"si", "SMALLINT", "-32768", ado::adSmallInt, "int64 -32768"},
    {"siu", "SMALLINT UNSIGNED", "65535", ado::adUnsignedSmallInt, "uint64 65535"},
    {"mi", "MEDIUMINT", "-8388608", ado::adInteger, "int64 -8388608"},
    {"miu", "MEDIUMINT UNSIGNED", "16777215", ado::adUnsignedInt, "uint64 16777215"},
    {"i", "INT", "-2147483648", ado::adInteger, "int64 -2147483648"},
    {"iu", "INT UNSIGNED", "4294967295", ado::adUnsignedInt, "uint64 4294967295"},
    {"bi", "BIGINT", "-9223372036854775808", ado::adBigInt, "int64 -9223372036854775808"},
    {"biu", "BIGINT UNSIGNED", "18446744073709551615", ado::adUnsignedBigInt,
     "uint64 18446744073709551615"},
    {"b1", "BIT(1)", "b'1'", ado::adBoolean, "bool True"},
    {"b9", "BIT(9)", "b'100000011'", ado::adBinary, "bytes 0103"},
    {"yr", "YEAR", "2155", ado::adUnsignedSmallInt, "uint64 2155"},
    {"dc", "DECIMAL(30,10)", "-12345678901234567890.1234567890", ado::adNumeric,
     "decimal -12345678901234567890.1234567890"},
    {"dc0", "DECIMAL(5,2)", "1.50", ado::adNumeric, "decimal 1.50"},
    {"fl", "FLOAT", "1.5", ado::adSingle, "double 1.5"},
    {"db", "DOUBLE", "0.1", ado::adDouble, "double 0.1"},
    {"dt", "DATE", "'2021-08-31'", ado::adDBDate, "date 2021-08-31"},
    {"tm", "TIME(6)", "'14:05:09.25'", ado::adDBTime, "time 14:05:09.25"},
    {"tml", "TIME", "'-838:59:59'", ado::adDBTime, "text -838:59:59"},
    {"dtm", "DATETIME(6)", "'2021-08-31 14:05:09.123456'", ado::adDBTimeStamp,
     "datetime 2021-08-31 14:05:09.123456"},
    {"ts", "TIMESTAMP NULL", "'2021-08-31 14:05:09'", ado::adDBTimeStamp,
     "datetime 2021-08-31 14:05:09"},
    {"ch", "CHAR(5)", "'ab'", ado::adWChar, "text ab"},
    {"vc", "VARCHAR(20)", "'O''Neil \\\\ \xC3\xBC\xF0\x9F\x98\x80'", ado::adVarWChar,
     "text O'Neil \\ \xC3\xBC\xF0\x9F\x98\x80"},
    {"lat", "VARCHAR(10) CHARACTER SET latin1", "'caf\xC3\xA9'", ado::adVarWChar,
     "text caf\xC3\xA9"},
    {"tt", "TINYTEXT", "'t'", ado::adLongVarWChar, "text t"},
    {"tx", "TEXT", "'line1\nline2'", ado::adLongVarWChar, "text line1\nline2"},
    {"lt", "LONGTEXT", "'long'", ado::adLongVarWChar, "text long"},
    {"bn", "BINARY(3)", "x'000102'", ado::adBinary, "bytes 000102"},
    {"vb", "VARBINARY(5)", "x'00FF'", ado::adVarBinary, "bytes 00FF"},
    {"tb", "TINYBLOB", "x'01'", ado::adLongVarBinary, "bytes 01"},
    {"bl", "BLOB", "x'DEADBEEF00'", ado::adLongVarBinary, "bytes DEADBEEF00"},
    {"lb", "LONGBLOB", "x''", ado::adLongVarBinary, "bytes "},
    {"en", "ENUM('a','b')", "'b'", ado::adWChar, "text b"},
    {"st", "SET('x','y')", "'x,y'", ado::adWChar, "text x,y"},
    {"js", "JSON", "'{\"k\": [1, 2]}'", ado::adLongVarWChar, "text {\"k\": [1, 2]}"},
};

class MySqlDriverTest : public ::testing::Test {
protected:
    void openConnection(Connection& connection, int cursorLocation = adUseClient)
    {
        connection.setCursorLocation(cursorLocation);
        connection.Open(database.connectionString());
    }

    MariaDbTestDatabase database;
};

TEST_F(MySqlDriverTest, ReportsTheAdoTypeAndTheExactValueOfEveryColumnType)
{
    std::string create = "CREATE TABLE `all types` (";
    std::string names;
    std::string literals;
    for (const ColumnCase& column : columnCases) {
        create += std::string("`") + column.name + "` " + column.definition + ",";
        names += std::string("`") + column.name + "`,";
        literals += std::string(column.literal) + ",";
    }
    create.back() = ')';
    names.pop_back();
    literals.pop_back();
    database.run(create);
    database.run("INSERT INTO `all types` (" + names + ") VALUES (" + literals + ")");
    database.run("INSERT INTO `all types` () VALUES ()");

    for (const int cursorLocation : {adUseClient, adUseServer}) {
        SCOPED_TRACE(cursorLocation == adUseClient ? "client-side cursor" : "server-side cursor");
        Connection connection;
        openConnection(connection, cursorLocation);
        Recordset rows = connection.Execute("SELECT * FROM `all types`");
        ASSERT_EQ(rows.FieldCount(), static_cast<int>(columnCases.size()));
        for (std::size_t i = 0; i < columnCases.size(); ++i) {
            const ColumnCase& column = columnCases[i];
            SCOPED_TRACE(column.definition);
            const auto field = rows.Fields(static_cast<int>(i));
            EXPECT_EQ(field.Name(), column.name);
            EXPECT_EQ(field.Type(), column.adoType);
            EXPECT_EQ(describe(field.Value()), column.value);
        }
        rows.MoveNext();
        ASSERT_FALSE(rows.Eof());
        for (const ColumnCase& column : columnCases) {
            SCOPED_TRACE(column.definition);
            EXPECT_EQ(describe(rows.Fields(column.name).Value()), "null ");
        }
        rows.MoveNext();
        EXPECT_TRUE(rows.Eof());
    }
}

TEST_F(MySqlDriverTest, ZeroDatesComeOutNullAndPartlyZeroDatesStayText)
{
    database.run("CREATE TABLE dates (d DATE, dt DATETIME)");
    Connection connection;
    openConnection(connection);
    // Only a lenient session can store such dates; the driver's own sessions refuse them.
    connection.Execute("SET SESSION sql_mode = ''");
    connection.Execute("INSERT INTO dates VALUES ('0000-00-00', '0000-00-00 00:00:00')");
    connection.Execute("INSERT INTO dates VALUES ('2021-00-15', '2021-08-00 10:11:12')");
    connection.Execute("INSERT INTO dates VALUES (NULL, NULL)");
    Recordset rows = connection.Execute("SELECT d, dt FROM dates");
    const auto markedZeroDate = [](const quintabel::db::Value& value) {
        return quintabel::db::isNull(value) && std::get<quintabel::db::Null>(value).wasZeroDate;
    };
    EXPECT_TRUE(markedZeroDate(rows.Fields("d").Value()));
    EXPECT_TRUE(markedZeroDate(rows.Fields("dt").Value()));
    rows.MoveNext();
    EXPECT_EQ(describe(rows.Fields("d").Value()), "text 2021-00-15");
    EXPECT_EQ(describe(rows.Fields("dt").Value()), "text 2021-08-00 10:11:12");
    rows.MoveNext();
    EXPECT_TRUE(quintabel::db::isNull(rows.Fields("d").Value()));
    EXPECT_FALSE(markedZeroDate(rows.Fields("d").Value())) << "a real NULL is no zero date";
}

TEST_F(MySqlDriverTest, RefusesAValueTheColumnCannotHoldInsteadOfChangingIt)
{
    database.run("CREATE TABLE strict_check (n INT, s VARCHAR(3), d DATE, b BIT(1), "
                 "m DECIMAL(4,2), t TINYINT UNSIGNED)");
    Connection connection;
    openConnection(connection);
    const std::vector<std::string> refused{
        "INSERT INTO strict_check (n) VALUES ('12abc')",
        "INSERT INTO strict_check (n) VALUES ('1.5e20')",
        "INSERT INTO strict_check (s) VALUES ('abcd')",
        "INSERT INTO strict_check (d) VALUES ('0000-00-00')",
        "INSERT INTO strict_check (d) VALUES ('2021-02-30')",
        "INSERT INTO strict_check (b) VALUES ('True')",
        "INSERT INTO strict_check (m) VALUES ('123.45')",
        "INSERT INTO strict_check (t) VALUES ('-1')",
    };
    for (const std::string& statement : refused) {
        SCOPED_TRACE(statement);
        EXPECT_THROW(connection.Execute(statement), DatabaseError);
    }
    Recordset count = connection.Execute("SELECT COUNT(*) FROM strict_check");
    EXPECT_EQ(describe(count.Fields(0).Value()), "int64 0");
}

TEST_F(MySqlDriverTest, ANameHoldingABacktickOrSemicolonRunsNothingElse)
{
    database.run("CREATE TABLE victim (id INT)");
    database.run("CREATE TABLE `a;b` (id INT)");
    Connection connection;
    openConnection(connection);
    const std::vector<std::string> names{"victim`; DROP TABLE `victim", "x`;DROP TABLE victim;`",
                                         "a`b"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_THROW(connection.Execute("DROP TABLE `" + name + "`"), DatabaseError);
        EXPECT_THROW(connection.Execute("SELECT * FROM `" + name + "`"), DatabaseError);
    }
    // A ";" inside the backticks is just part of the name.
    EXPECT_NO_THROW(connection.Execute("SELECT * FROM `a;b`"));
    Recordset tables = connection.Execute("SHOW TABLES;");
    std::set<std::string> listed;
    for (; !tables.Eof(); tables.MoveNext())
        listed.insert(quintabel::db::toText(tables.Fields(0).Value()));
    EXPECT_EQ(listed, (std::set<std::string>{"a;b", "victim"}));
}

TEST_F(MySqlDriverTest, RowsLoadFromMemoryAndTheServerGetsNoOtherFile)
{
    database.run("CREATE TABLE loaded (id INT, name VARCHAR(3))");
    Connection connection;
    openConnection(connection);
    const std::string load = "LOAD DATA LOCAL INFILE 'rows-in-memory' INTO TABLE loaded CHARACTER SET utf8mb4";
    const quintabel::db::LoadedRows loaded = connection.LoadFromMemory(load, "rows-in-memory", "1\tab\n2\t\\N\n");
    EXPECT_EQ(loaded.rows, 2u);
    EXPECT_EQ(loaded.warnings, 0u);
    // A value the column cuts is kept with a warning, not refused: the caller must look.
    const quintabel::db::LoadedRows cut = connection.LoadFromMemory(load, "rows-in-memory", "3\tabcd\n");
    EXPECT_EQ(cut.rows, 1u);
    EXPECT_EQ(cut.warnings, 1u);
    connection.Execute("DELETE FROM loaded WHERE id = 3");

    // A server asking for any other file, during a load or after any other statement, is
    // refused, and no file of the user's reaches it.
    EXPECT_THROW(connection.LoadFromMemory("LOAD DATA LOCAL INFILE '/etc/hostname' INTO TABLE loaded",
                                           "rows-in-memory", "4\tx\n"),
                 DatabaseError);
    EXPECT_THROW(connection.Execute("LOAD DATA LOCAL INFILE '/etc/hostname' INTO TABLE loaded"), DatabaseError);
    EXPECT_THROW(connection.Execute("LOAD DATA LOCAL INFILE 'rows-in-memory' INTO TABLE loaded"), DatabaseError);
    // The connection is still good after the refusals.
    Recordset rows = connection.Execute("SELECT id, name FROM loaded ORDER BY id");
    std::vector<std::string> seen;
    for (; !rows.Eof(); rows.MoveNext())
        seen.push_back(describe(rows.Fields(0).Value()) + "/" + describe(rows.Fields(1).Value()));
    EXPECT_EQ(seen, (std::vector<std::string>{"int64 1/text ab", "int64 2/null "}));
}

TEST_F(MySqlDriverTest, ClientCursorCountsRowsAndServerCursorStreamsThem)
{
    database.run("CREATE TABLE numbers (n INT)");
    database.run("INSERT INTO numbers VALUES (1),(2),(3),(4),(5)");

    Connection client;
    openConnection(client, adUseClient);
    Recordset all = client.Execute("SELECT n FROM numbers ORDER BY n");
    EXPECT_EQ(all.RecordCount(), 5);

    Connection server;
    openConnection(server, adUseServer);
    Recordset streamed = server.Execute("SELECT n FROM numbers ORDER BY n");
    EXPECT_EQ(streamed.RecordCount(), -1);
    std::string seen;
    for (; !streamed.Eof(); streamed.MoveNext())
        seen += quintabel::db::toText(streamed.Fields("N").Value());
    EXPECT_EQ(seen, "12345");
    EXPECT_THROW(streamed.MoveNext(), DatabaseError);
    EXPECT_THROW(streamed.Fields(0).Value(), DatabaseError);

    // A record set's own client-side location wins over the connection's; a static cursor
    // also counts exactly.
    Recordset own;
    own.setCursorLocation(adUseClient);
    own.Open("SELECT n FROM numbers", server);
    EXPECT_EQ(own.RecordCount(), 5);
    Recordset staticCursor;
    staticCursor.Open("SELECT n FROM numbers LIMIT 1", server, quintabel::connections::adOpenStatic,
                      quintabel::connections::adLockOptimistic);
    EXPECT_EQ(staticCursor.RecordCount(), 1);

    // A statement without rows gives a closed record set.
    Recordset none = client.Execute("INSERT INTO numbers VALUES (6)");
    EXPECT_EQ(none.State(), quintabel::connections::adStateClosed);
}

// Past its first rows a long streamed result is read ahead on a thread of its own. Its rows
// still come whole and in order, and the connection runs its next statement both after the
// result's end and after a result left half read.
TEST_F(MySqlDriverTest, ALongStreamedResultComesWholeAndInOrderAndThenFreesItsConnection)
{
    database.run("CREATE TABLE numbers (n INT, label VARCHAR(20))");
    database.run("INSERT INTO numbers SELECT seq, CONCAT('row ', seq) FROM seq_1_to_20000");

    Connection server;
    openConnection(server, adUseServer);
    const auto countRows = [&] {
        Recordset count = server.Execute("SELECT COUNT(*) FROM numbers");
        return quintabel::db::toText(count.Fields(0).Value());
    };
    {
        Recordset whole = server.Execute("SELECT n, label FROM numbers ORDER BY n");
        long read = 0;
        for (; !whole.Eof(); whole.MoveNext()) {
            ++read;
            ASSERT_EQ(describe(whole.Fields(0).Value()), "int64 " + std::to_string(read));
            ASSERT_EQ(describe(whole.Fields(1).Value()), "text row " + std::to_string(read));
        }
        EXPECT_EQ(read, 20000);
        EXPECT_EQ(countRows(), "20000");
    }
    for (const int leftAt : {1, 600, 5000}) {
        SCOPED_TRACE(leftAt);
        Recordset part = server.Execute("SELECT n, label FROM numbers ORDER BY n");
        for (int i = 1; i < leftAt; ++i)
            part.MoveNext();
        EXPECT_EQ(describe(part.Fields(0).Value()), "int64 " + std::to_string(leftAt));
        part.Close();
        EXPECT_EQ(countRows(), "20000");
    }
}

// A streamed result may wait on the program (a report box open mid-table): the server must
// keep it as long as the program would wait for the server, never less than its own minute.
TEST_F(MySqlDriverTest, TheServerKeepsAStreamedResultAsLongAsTheProgramWaitsForIt)
{
    const std::vector<std::pair<int, std::string>> waits{{5000, "5000"}, {30, "60"}, {0, "31536000"}};
    for (const auto& [commandTimeout, serverWait] : waits) {
        SCOPED_TRACE(commandTimeout);
        Connection connection;
        connection.setCommandTimeout(commandTimeout);
        openConnection(connection);
        Recordset wait = connection.Execute("SELECT @@SESSION.net_write_timeout");
        EXPECT_EQ(quintabel::db::toText(wait.Fields(0).Value()), serverWait);
    }
}

TEST_F(MySqlDriverTest, TablesSchemaAndShowTablesListViewsBesideTables)
{
    database.run("CREATE TABLE base (id INT)");
    database.run("CREATE VIEW looking AS SELECT id FROM base");
    Connection connection;
    openConnection(connection);
    Recordset schema = connection.OpenSchema(quintabel::connections::adSchemaTables);
    std::set<std::string> seen;
    for (; !schema.Eof(); schema.MoveNext())
        seen.insert(quintabel::db::toText(schema.Fields("TABLE_NAME").Value()) + ":"
                    + quintabel::db::toText(schema.Fields("TABLE_TYPE").Value()));
    EXPECT_EQ(seen, (std::set<std::string>{"base:TABLE", "looking:VIEW"}));

    Recordset shown = connection.Execute("SHOW TABLES;");
    EXPECT_EQ(shown.RecordCount(), 2);
}

TEST_F(MySqlDriverTest, LocalhostMeansTcpToTheTypedPort)
{
    // The sandbox listens on 127.0.0.1 only and has no socket where the client library
    // would look, so this succeeds only over TCP.
    quintabel::connections::LoginFields fields;
    fields.server = "localhost";
    fields.port = quintabel::testing::sandboxPort();
    fields.user = "quintabel";
    fields.password = "quintabel-sandbox";
    fields.database = database.name();
    Connection connection;
    connection.Open(quintabel::connections::mySqlConnectionString(fields));
    EXPECT_EQ(connection.State(), quintabel::connections::adStateOpen);
    Recordset mode = connection.Execute("SELECT @@SESSION.sql_mode");
    const std::string sqlMode = quintabel::db::toText(mode.Fields(0).Value());
    EXPECT_NE(sqlMode.find("STRICT_ALL_TABLES"), std::string::npos);
    EXPECT_EQ(sqlMode.find("NO_BACKSLASH_ESCAPES"), std::string::npos);
}

TEST(MySqlDriverFailures, AnUnreachableServerFailsWithMariaDbsMessage)
{
    quintabel::connections::LoginFields fields;
    fields.server = "127.0.0.1";
    fields.port = "1"; // nothing listens there
    fields.user = "quintabel";
    Connection connection;
    connection.setConnectionTimeout(5);
    try {
        connection.Open(quintabel::connections::mySqlConnectionString(fields));
        FAIL() << "the connection opened";
    } catch (const DatabaseError& error) {
        EXPECT_NE(error.description().find("Can't connect"), std::string::npos)
            << error.description();
        EXPECT_NE(error.number(), 0);
    }
    EXPECT_EQ(connection.State(), quintabel::connections::adStateClosed);
}

TEST(MySqlDriverFailures, AWrongPasswordOrPortIsRefused)
{
    quintabel::connections::LoginFields fields;
    fields.server = "127.0.0.1";
    fields.port = quintabel::testing::sandboxPort();
    fields.user = "quintabel";
    fields.password = "wrong";
    Connection wrongPassword;
    EXPECT_THROW(wrongPassword.Open(quintabel::connections::mySqlConnectionString(fields)),
                 DatabaseError);

    for (const char* port : {"abc", "0", "65536", " 3306", "-1"}) {
        fields.port = port;
        Connection badPort;
        try {
            badPort.Open(quintabel::connections::mySqlConnectionString(fields));
            ADD_FAILURE() << "port '" << port << "' was taken";
        } catch (const DatabaseError& error) {
            EXPECT_NE(error.description().find("is not a number from 1 to 65535"),
                      std::string::npos);
        }
    }
}

} // namespace
