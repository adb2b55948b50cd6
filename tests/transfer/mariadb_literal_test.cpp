// The row statements of a MySQL target, run by the private MariaDB server.

#include "literal_roundtrip.h"
#include "transfer/default_column_types.h"
#include "transfer/mysql_column_fit.h"
#include "transfer/row_insert_statement.h"

#include <gtest/gtest.h>
#include <mysql.h>

#include <cstdlib>
#include <memory>

using namespace quintabel;
using namespace quintabel::transfer;

namespace {

class MariaDbLiterals : public testing::Test {
protected:
    void SetUp() override
    {
        connection_ = mysql_init(nullptr);
        ASSERT_NE(connection_, nullptr);
        mysql_options(connection_, MYSQL_SET_CHARSET_NAME, "utf8mb4");
        ASSERT_NE(mysql_real_connect(connection_, "127.0.0.1", "quintabel", "quintabel-sandbox", nullptr,
                                     QUINTABEL_TEST_MARIADB_PORT, nullptr, 0),
                  nullptr)
            << mysql_error(connection_);
        execute("DROP DATABASE IF EXISTS quintabel_transfer_literals");
        execute("CREATE DATABASE quintabel_transfer_literals");
        ASSERT_EQ(mysql_select_db(connection_, "quintabel_transfer_literals"), 0);
        execute("SET SESSION sql_mode = 'STRICT_TRANS_TABLES'");
    }
    void TearDown() override
    {
        if (connection_ != nullptr) {
            mysql_query(connection_, "DROP DATABASE IF EXISTS quintabel_transfer_literals");
            mysql_close(connection_);
        }
    }

    void execute(const std::string& statement)
    {
        EXPECT_EQ(mysql_real_query(connection_, statement.data(), statement.size()), 0)
            << statement << ": " << mysql_error(connection_);
    }

    // The value of the first row's only column, byte for byte: nothing for NULL.
    std::optional<std::string> readBack(const std::string& query)
    {
        execute(query);
        MYSQL_RES* result = mysql_store_result(connection_);
        if (result == nullptr)
            return std::nullopt;
        std::optional<std::string> value;
        if (MYSQL_ROW row = mysql_fetch_row(result); row != nullptr && row[0] != nullptr)
            value = std::string(row[0], mysql_fetch_lengths(result)[0]);
        mysql_free_result(result);
        return value;
    }

    // Sends `value` alone in column `column` of `table` (whose other columns stay NULL).
    void sendAlone(const std::string& table, std::size_t columns, std::size_t column, const db::Value& value)
    {
        std::vector<db::Value> row(columns, db::Value{db::Null{}});
        row[column] = value;
        execute("DELETE FROM " + table);
        execute(RowInsertStatement(table, row, TargetKind::MySQL));
    }

    MYSQL* connection_ = nullptr;
};

TEST_F(MariaDbLiterals, EveryTextAndByteArrivesAsSent)
{
    const std::vector<SourceField> fields{{"text", 203}, {"bytes", 205}};
    execute(DefaultCreateStatement("t", fields, TargetKind::MySQL));
    for (const RoundTripCase& row : textRoundTripCases()) {
        sendAlone("t", 2, 0, row.sent);
        EXPECT_EQ(readBack("SELECT `text` FROM t"), row.readBack) << db::toText(row.sent);
    }
    // MariaDB reads a raw NUL inside a literal as a character; the length-aware call sends it.
    const std::string withNul("a\0b", 3);
    sendAlone("t", 2, 0, db::Value{withNul});
    EXPECT_EQ(readBack("SELECT `text` FROM t"), std::optional<std::string>(withNul));
    for (const RoundTripCase& row : byteRoundTripCases()) {
        sendAlone("t", 2, 1, row.sent);
        EXPECT_EQ(readBack("SELECT `bytes` FROM t"), row.readBack) << db::toText(row.sent);
    }
}

TEST_F(MariaDbLiterals, RewrittenDatesAreReadByDateColumns)
{
    execute("CREATE TABLE d (`when` DATETIME(6))");
    const std::pair<db::Value, const char*> cases[] = {
        {db::Date{2021, 8, 31}, "2021-08-31 00:00:00.000000"},
        {db::Time{14, 5, 9, 0}, "1899-12-30 14:05:09.000000"},
        {db::DateTime{{2021, 8, 31}, {14, 5, 9, 250}}, "2021-08-31 14:05:09.000250"},
        {std::string("2020-02-29"), "2020-02-29 00:00:00.000000"},
    };
    for (const auto& [value, stored] : cases) {
        sendAlone("d", 1, 0, value);
        EXPECT_EQ(readBack("SELECT `when` FROM d"), std::optional<std::string>(stored)) << db::toText(value);
    }
}

// What the misfit check lets through reads back as the same number; what it refuses, the
// server would have changed without a word (or refused itself).
TEST_F(MariaDbLiterals, NumbersTheMisfitCheckPassesReadBackUnchanged)
{
    const std::vector<SourceField> fields{{"float", 5}, {"int", 131}, {"decimal", 14}};
    execute(DefaultCreateStatement("n", fields, TargetKind::MySQL));
    const char* keywords[] = {"FLOAT", "INT", "DECIMAL"};
    const std::pair<std::size_t, db::Value> cases[] = {
        {0, 19.99}, {0, 0.1}, {0, 3.14159}, {0, -0.000123456}, {0, std::int64_t{1000000}}, {0, 3.141592},
        {0, std::int64_t{1234567}}, {0, std::int64_t{16777217}}, {1, 3.0}, {1, 2.5}, {1, db::Decimal{"-7.000"}},
        {2, db::Decimal{"12.000"}}, {2, db::Decimal{"0.5"}}, {2, std::int64_t{9999999999}},
    };
    for (const auto& [column, value] : cases) {
        const std::string sentText = db::toText(value);
        const bool fits = !mysqlDefaultColumnMisfit(keywords[column], "c", value).has_value();
        std::vector<db::Value> row(3, db::Value{db::Null{}});
        row[column] = value;
        execute("DELETE FROM n");
        const std::string statement = RowInsertStatement("n", row, TargetKind::MySQL);
        const bool stored = mysql_real_query(connection_, statement.data(), statement.size()) == 0;
        const auto back = readBack("SELECT `" + fields[column].name + "` FROM n");
        const bool unchanged = stored && back && std::strtod(back->c_str(), nullptr) == std::strtod(sentText.c_str(), nullptr);
        EXPECT_EQ(unchanged, fits) << keywords[column] << " " << sentText << " read back as " << back.value_or("NULL");
    }
}

} // namespace
