#include "transfer/date_rewrite.h"
#include "transfer/row_insert_statement.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace quintabel;
using namespace quintabel;
using db::Value;

namespace {

struct RowCase {
    const char* what;
    std::vector<Value> row;
    TargetKind target;
    std::string expectedValues; // the text after "INSERT INTO `t` VALUES"
};

std::vector<RowCase> rowCases()
{
    const auto P = TargetKind::Paradox;
    const auto M = TargetKind::MySQL;
    return {
        {"null between literals", {std::int64_t{1}, std::string("O'Neil"), db::Null{}}, M, "('1', 'O''Neil', NULL)"},
        {"null first", {db::Null{}, std::string("x")}, P, "(NULL, 'x')"},
        {"all null", {db::Null{}, db::Null{}, db::Null{}}, M, "(NULL, NULL, NULL)"},
        {"empty text is NULL", {std::string(), std::string("b")}, P, "(NULL, 'b')"},
        {"apostrophe only", {std::string("'")}, P, "('''')"},
        {"backslash doubled before apostrophe", {std::string("a\\'b")}, M, "('a\\\\''b')"},
        {"backslash kept for the scratch database", {std::string("a\\'b")}, P, "('a\\''b')"},
        {"numbers are quoted", {2.5, db::Decimal{"-0.10"}, true}, M, "('2.5', '-0.10', 'True')"},
        {"bytes as hex literal", {std::int64_t{7}, db::Bytes{0x00, 0xFF}, db::Null{}}, M, "('7', X'00FF', NULL)"},
        {"bytes first and last", {db::Bytes{0x27}, db::Bytes{0x5C}}, P, "(X'27', X'5C')"},
        {"empty bytes are NULL", {db::Bytes{}, std::string("z")}, M, "(NULL, 'z')"},
        {"date rewritten for MySQL", {db::Date{2021, 8, 31}}, M, "('2021-08-31 00:00:00')"},
        {"date kept for Paradox", {db::Date{2021, 8, 31}}, P, "('2021-08-31')"},
        {"fraction of a second kept", {db::DateTime{{2021, 8, 31}, {14, 5, 9, 250000}}}, M,
         "('2021-08-31 14:05:09.25')"},
        {"date text completed", {std::string("2020-02-29")}, M, "('2020-02-29 00:00:00')"},
    };
}

TEST(RowInsertStatement, ValueLiterals)
{
    for (const RowCase& row : rowCases())
        EXPECT_EQ(RowInsertStatement("t", row.row, row.target), "INSERT INTO `t` VALUES" + row.expectedValues)
            << row.what;
}

TEST(RowInsertStatement, NoFieldsGiveAnEmptyList)
{
    EXPECT_EQ(RowInsertStatement("t", {}, TargetKind::MySQL), "INSERT INTO `t` VALUES()");
}

TEST(MysqlDateTimeText, TextIsRecognisedOnlyInTheProgramsOwnCompleteForms)
{
    EXPECT_EQ(mysqlDateTimeText(Value{std::string("2000-02-29")}), "2000-02-29 00:00:00"); // 400: a leap year
    EXPECT_EQ(mysqlDateTimeText(Value{std::string("0001-01-01 23:59:59")}), "0001-01-01 23:59:59");

    for (const char* text : {"2021-02-29", "1900-02-29", "2021-13-01", "2021-04-31", "2021-00-10", "0000-01-01",
                             "2021-8-31", " 2021-08-31", "2021-08-31 ", "31.08.2021", "2021/08/31",
                             "2021-08-31T10:00:00", "2021-08-31 24:00:00", "2021-08-31 10:60:00", "2021-08-31 10:00",
                             "12", "1E3", "20210831", "2021-08-3a", "２０２１-08-31"})
        EXPECT_EQ(mysqlDateTimeText(Value{std::string(text)}), std::nullopt) << text;
}

TEST(MysqlDateTimeText, SourceDatesAreAlwaysRewrittenButDurationsKeepTheirText)
{
    // A zero date from MySQL is no calendar day, yet it is the value the source holds.
    EXPECT_EQ(mysqlDateTimeText(db::Date{0, 0, 0}), "0000-00-00 00:00:00");
    EXPECT_EQ(mysqlDateTimeText(db::Time{0, 0, 0, 1}), "1899-12-30 00:00:00.000001");
    EXPECT_EQ(mysqlDateTimeText(db::Time{100, 0, 0, 0}), std::nullopt);
    EXPECT_EQ(mysqlDateTimeText(db::Time{-1, 0, 0, 0}), std::nullopt);
    EXPECT_EQ(mysqlDateTimeText(std::int64_t{20210831}), std::nullopt);
}

} // namespace
