// The row statements of a MySQL target, run by the private MariaDB server in strict mode.

#include "literal_roundtrip.h"
#include "transfer/date_rewrite.h"
#include "transfer/default_column_types.h"
#include "transfer/mysql_column_fit.h"
#include "transfer/row_insert_statement.h"

#include <gtest/gtest.h>
#include <mysql.h>

#include <cstdlib>
#include <unistd.h>

using namespace quintabel;
using namespace quintabel;

namespace {

class MariaDbLiterals : public testing::Test {
protected:
    void SetUp() override
    {
        connection_ = mysql_init(nullptr);
        mysql_options(connection_, MYSQL_SET_CHARSET_NAME, "utf8mb4");
        ASSERT_NE(mysql_real_connect(connection_, "127.0.0.1", "quintabel", "quintabel-sandbox", nullptr,
                                     QUINTABEL_TEST_MARIADB_PORT, nullptr, 0),
                  nullptr)
            << mysql_error(connection_);
        for (const std::string& statement : {"DROP DATABASE IF EXISTS " + database_, "CREATE DATABASE " + database_,
                                             "USE " + database_, std::string("SET SESSION sql_mode = 'STRICT_TRANS_TABLES'")})
            ASSERT_TRUE(execute(statement));
    }
    void TearDown() override
    {
        execute("DROP DATABASE IF EXISTS " + database_);
        mysql_close(connection_);
    }

    bool execute(const std::string& statement)
    {
        return mysql_real_query(connection_, statement.data(), statement.size()) == 0;
    }

    // Sends `value` alone into column `column` of table t; returns what t then holds there,
    // nothing for NULL or when the server refused the row.
    std::optional<std::string> sendAndReadBack(std::size_t columns, std::size_t column, const db::Value& value)
    {
        std::vector<db::Value> row(columns, db::Value{db::Null{}});
        row[column] = value;
        EXPECT_TRUE(execute("DELETE FROM t"));
        if (!execute(RowInsertStatement("t", row, TargetKind::MySQL)))
            return std::nullopt;
        EXPECT_TRUE(execute("SELECT * FROM t"));
        MYSQL_RES* result = mysql_store_result(connection_);
        std::optional<std::string> stored;
        if (MYSQL_ROW fetched = mysql_fetch_row(result); fetched != nullptr && fetched[column] != nullptr)
            stored = std::string(fetched[column], mysql_fetch_lengths(result)[column]);
        mysql_free_result(result);
        return stored;
    }

    MYSQL* connection_ = nullptr;
    // A database of this test process's own: the other cases of this suite may run beside it.
    const std::string database_ = "quintabel_transfer_literals_" + std::to_string(getpid());
};

TEST_F(MariaDbLiterals, EveryTextAndByteArrivesAsSent)
{
    const std::vector<SourceField> fields{{"text", 203}, {"bytes", 205}};
    ASSERT_TRUE(execute(DefaultCreateStatement("t", fields, TargetKind::MySQL)));
    for (const RoundTripCase& row : roundTripCases()) {
        const std::size_t column = std::holds_alternative<db::Bytes>(row.sent) ? 1 : 0;
        EXPECT_EQ(sendAndReadBack(2, column, row.sent), row.stored) << db::toText(row.sent);
    }
    // A memo and a picture past TEXT's and BLOB's 65,535 bytes arrive whole.
    std::string memo;
    for (int line = 0; memo.size() < 100 * 1024; ++line)
        memo += "Zeile " + std::to_string(line) + ": Grüße aus dem Lager\r\n";
    EXPECT_EQ(sendAndReadBack(2, 0, db::Value{memo}), std::optional<std::string>(memo));
    db::Bytes picture(300 * 1024);
    for (std::size_t at = 0; at < picture.size(); ++at)
        picture[at] = static_cast<std::uint8_t>((at * 131) ^ (at >> 8));
    const auto stored = sendAndReadBack(2, 1, db::Value{picture});
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(db::Bytes(stored->begin(), stored->end()), picture);
    // MariaDB reads a raw NUL inside a literal as a character.
    const std::string withNul("a\0b", 3);
    EXPECT_EQ(sendAndReadBack(2, 0, db::Value{withNul}), std::optional<std::string>(withNul));
}

TEST_F(MariaDbLiterals, RewrittenDatesAndTheirFractionsAreReadByDateColumns)
{
    ASSERT_TRUE(execute("CREATE TABLE t (`when` DATETIME(6))"));
    EXPECT_EQ(sendAndReadBack(1, 0, db::Time{14, 5, 9, 0}), "1899-12-30 14:05:09.000000");
    EXPECT_EQ(sendAndReadBack(1, 0, db::DateTime{{2021, 8, 31}, {14, 5, 9, 250}}), "2021-08-31 14:05:09.000250");
    EXPECT_EQ(sendAndReadBack(1, 0, std::string("2020-02-29")), "2020-02-29 00:00:00.000000");
}

// What the misfit check refuses is what the server would change without a word; what it lets
// through the server stores unchanged or refuses itself (10000000000: out of DECIMAL's range).
TEST_F(MariaDbLiterals, NumbersTheMisfitCheckPassesReadBackUnchanged)
{
    // adSingle, adDouble, adNumeric and adDecimal.
    const std::vector<SourceField> fields{{"single", 4}, {"double", 5}, {"int", 131}, {"decimal", 14}};
    ASSERT_TRUE(execute(DefaultCreateStatement("t", fields, TargetKind::MySQL)));
    const char* keywords[] = {"FLOAT", "DOUBLE", "INT", "DECIMAL"};
    const std::pair<std::size_t, db::Value> cases[] = {
        {0, 19.99}, {0, 0.1}, {0, -0.000123456}, {0, std::int64_t{1000000}}, {0, 3.141592},
        {0, std::int64_t{16777217}},
        // A Paradox Number holding money or lengths: every double arrives as it was.
        {1, 7.49}, {1, 0.1 + 0.2}, {1, 3.141592653589793}, {1, -1e300}, {1, 5e-324},
        {2, 3.0}, {2, 2.5}, {2, db::Decimal{"-7.000"}},
        {3, db::Decimal{"0.5"}}, {3, std::int64_t{9999999999}}, {3, std::int64_t{10000000000}},
    };
    for (const auto& [column, value] : cases) {
        const std::string sent = db::toText(value);
        const auto stored = sendAndReadBack(4, column, value);
        const bool changedSilently =
            stored && std::strtod(stored->c_str(), nullptr) != std::strtod(sent.c_str(), nullptr);
        EXPECT_EQ(changedSilently, mysqlColumnMisfit(defaultColumnShape(keywords[column]), "c", value).has_value())
            << keywords[column] << " " << sent << " stored as " << stored.value_or("NULL");
    }
}

// The same for columns of the types a customised CREATE TABLE may give, each column's shape
// read from information_schema as the transfer reads it. Every case names what the server
// stores when the check lets the value through; where the check refuses it, the server is
// shown to take the row and keep something else than was sent.
TEST_F(MariaDbLiterals, CustomisedColumnsKeepWhatTheCheckLetsThrough)
{
    ASSERT_TRUE(execute("CREATE TABLE t (d DECIMAL(10,2), r DOUBLE, dt DATETIME, dd DATE, c CHAR(10),"
                        " b BINARY(4), tm TIME(2), y YEAR, si SMALLINT, ts TIMESTAMP(3) NULL)"));
    ASSERT_TRUE(execute("SELECT DATA_TYPE, COLUMN_TYPE, NUMERIC_SCALE, DATETIME_PRECISION, CHARACTER_OCTET_LENGTH"
                        " FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 't'"
                        " ORDER BY ORDINAL_POSITION"));
    std::vector<MySqlColumnShape> shapes;
    MYSQL_RES* described = mysql_store_result(connection_);
    const auto number = [](const char* text) { return text == nullptr ? 0 : std::atoi(text); };
    while (MYSQL_ROW column = mysql_fetch_row(described))
        shapes.push_back(createdColumnShape(column[0], column[1], number(column[2]), number(column[3]),
                                           static_cast<std::size_t>(number(column[4]))));
    mysql_free_result(described);
    ASSERT_EQ(shapes.size(), 10u);

    struct Case {
        std::size_t column;
        db::Value value;
        std::optional<std::string> storedWhenFits; // nothing: the check refuses the value
    };
    const Case cases[] = {
        {0, db::Decimal{"1.5"}, "1.50"},
        {0, db::Decimal{"-1.10"}, "-1.10"},
        {0, db::Decimal{"1.125"}, std::nullopt},
        {1, 0.1, "0.1"},
        {1, 0.30000000000000004, "0.30000000000000004"},
        {1, db::Decimal{"0.1000000000000000055511151231257827"}, std::nullopt},
        {2, db::DateTime{{2020, 1, 1}, {10, 0, 0, 0}}, "2020-01-01 10:00:00"},
        {2, db::DateTime{{2020, 1, 1}, {10, 0, 0, 500000}}, std::nullopt},
        {3, db::Date{2020, 2, 29}, "2020-02-29"},
        {3, db::DateTime{{2020, 1, 1}, {10, 0, 0, 0}}, std::nullopt},
        {4, std::string("  abc"), "  abc"},
        {4, std::string("abc  "), std::nullopt},
        {5, db::Bytes{1, 2, 3, 4}, std::string("\x01\x02\x03\x04")},
        {5, db::Bytes{1, 2}, std::nullopt},
        {5, std::string("ab"), std::nullopt},
        {6, db::Time{10, 0, 0, 120000}, "10:00:00.12"},
        {6, db::Time{10, 0, 0, 125000}, std::nullopt},
        {6, db::DateTime{{2020, 5, 1}, {10, 0, 0, 0}}, std::nullopt},
        {7, std::int64_t{1999}, "1999"},
        {7, std::string("99"), std::nullopt},
        {7, 1999.5, std::nullopt},
        {8, 3.0, "3"},
        {8, 2.5, std::nullopt},
        {9, db::DateTime{{2020, 1, 1}, {10, 0, 0, 125000}}, "2020-01-01 10:00:00.125"},
        {9, db::DateTime{{2020, 1, 1}, {10, 0, 0, 125500}}, std::nullopt},
    };
    for (const Case& check : cases) {
        const std::string sent = mysqlDateTimeText(check.value).value_or(db::toText(check.value));
        SCOPED_TRACE(shapes[check.column].typeText + " " + sent);
        const auto misfit = mysqlColumnMisfit(shapes[check.column], "c", check.value);
        EXPECT_EQ(misfit.has_value(), !check.storedWhenFits.has_value()) << misfit.value_or("fits");
        const auto stored = sendAndReadBack(shapes.size(), check.column, check.value);
        if (check.storedWhenFits)
            EXPECT_EQ(stored, check.storedWhenFits);
        else
            EXPECT_TRUE(stored.has_value() && *stored != sent) << "the server keeps " << stored.value_or("nothing");
    }
}

} // namespace
