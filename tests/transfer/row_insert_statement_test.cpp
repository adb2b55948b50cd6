#include "transfer/date_rewrite.h"
#include "transfer/row_insert_statement.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace quintabel;
using namespace quintabel::transfer;
using db::Value;

namespace {

struct RowCase {
    const char* what;
    std::vector<Value> row;
    TargetKind target;
    std::string expectedValues; // the text after "INSERT INTO `t` VALUES"
};

const std::string oneApostrophe = "'";

std::vector<RowCase> rowCases()
{
    const auto P = TargetKind::Paradox;
    const auto M = TargetKind::MySQL;
    return {
        {"null between literals", {std::int64_t{1}, std::string("O'Neil"), db::Null{}}, M, "('1', 'O''Neil', NULL)"},
        {"null first", {db::Null{}, std::string("x")}, P, "(NULL, 'x')"},
        {"all null", {db::Null{}, db::Null{}, db::Null{}}, M, "(NULL, NULL, NULL)"},
        {"empty text is NULL", {std::string(), std::string("b")}, P, "(NULL, 'b')"},
        {"blanks are a value", {std::string("  ")}, M, "('  ')"},
        {"apostrophe only", {oneApostrophe}, P, "('''')"},
        {"backslash doubled before apostrophe", {std::string("a\\'b")}, M, "('a\\\\''b')"},
        {"backslash kept for the scratch database", {std::string("a\\'b")}, P, "('a\\''b')"},
        {"path", {std::string("C:\\data")}, M, "('C:\\\\data')"},
        {"numbers are quoted", {2.5, db::Decimal{"-0.10"}, std::numeric_limits<std::uint64_t>::max()}, M,
         "('2.5', '-0.10', '18446744073709551615')"},
        {"booleans", {true, false}, P, "('True', 'False')"},
        {"bytes as hex literal", {std::int64_t{7}, db::Bytes{0x00, 0xFF}, db::Null{}}, M, "('7', X'00FF', NULL)"},
        {"bytes first and last", {db::Bytes{0x27}, db::Bytes{0x5C}}, P, "(X'27', X'5C')"},
        {"empty bytes are NULL", {db::Bytes{}, std::string("z")}, M, "(NULL, 'z')"},
        {"date rewritten for MySQL", {db::Date{2021, 8, 31}}, M, "('2021-08-31 00:00:00')"},
        {"date kept for Paradox", {db::Date{2021, 8, 31}}, P, "('2021-08-31')"},
        {"time of day gets the day zero", {db::Time{14, 5, 9, 0}}, M, "('1899-12-30 14:05:09')"},
        {"fraction of a second kept", {db::DateTime{{2021, 8, 31}, {14, 5, 9, 250000}}}, M,
         "('2021-08-31 14:05:09.25')"},
        {"date text completed", {std::string("2020-02-29")}, M, "('2020-02-29 00:00:00')"},
        {"date text kept for Paradox", {std::string("2020-02-29")}, P, "('2020-02-29')"},
    };
}

TEST(RowInsertStatement, ValueLiterals)
{
    for (const RowCase& row : rowCases())
        EXPECT_EQ(RowInsertStatement("t", row.row, row.target), "INSERT INTO `t` VALUES" + row.expectedValues)
            << row.what;
}

TEST(RowInsertStatement, TableNameQuotedAndNoFieldsGiveEmptyList)
{
    const std::vector<Value> row{std::string("v")};
    EXPECT_EQ(RowInsertStatement("my`table", row, TargetKind::MySQL), "INSERT INTO `my``table` VALUES('v')");
    EXPECT_EQ(RowInsertStatement("t", {}, TargetKind::MySQL), "INSERT INTO `t` VALUES()");
}

TEST(MysqlDateTimeText, TextIsRecognisedOnlyInTheProgramsOwnCompleteForms)
{
    const std::pair<const char*, const char*> accepted[] = {
        {"2021-08-31", "2021-08-31 00:00:00"},
        {"2000-02-29", "2000-02-29 00:00:00"}, // divisible by 400: a leap year
        {"0001-01-01", "0001-01-01 00:00:00"},
        {"2021-08-31 23:59:59", "2021-08-31 23:59:59"},
    };
    for (const auto& [text, rewritten] : accepted)
        EXPECT_EQ(mysqlDateTimeText(Value{std::string(text)}), std::optional<std::string>(rewritten)) << text;

    for (const char* text : {"2021-02-29", "1900-02-29", "2021-13-01", "2021-04-31", "2021-00-10", "0000-01-01",
                             "2021-8-31", " 2021-08-31", "2021-08-31 ", "31.08.2021", "2021/08/31",
                             "2021-08-31T10:00:00", "2021-08-31 24:00:00", "2021-08-31 10:60:00", "2021-08-31 10:00",
                             "12", "1E3", "20210831", "2021-08-3a", "２０２１-08-31"})
        EXPECT_EQ(mysqlDateTimeText(Value{std::string(text)}), std::nullopt) << text;
}

TEST(MysqlDateTimeText, SourceDatesAreAlwaysRewrittenButDurationsKeepTheirText)
{
    // A zero date from MySQL is no calendar day, yet it is the value the source holds.
    EXPECT_EQ(mysqlDateTimeText(db::Date{0, 0, 0}), std::optional<std::string>("0000-00-00 00:00:00"));
    EXPECT_EQ(mysqlDateTimeText(db::Time{0, 0, 0, 1}), std::optional<std::string>("1899-12-30 00:00:00.000001"));
    EXPECT_EQ(mysqlDateTimeText(db::Time{100, 0, 0, 0}), std::nullopt);
    EXPECT_EQ(mysqlDateTimeText(db::Time{-1, 0, 0, 0}), std::nullopt);
    EXPECT_EQ(mysqlDateTimeText(std::int64_t{20210831}), std::nullopt);
    EXPECT_EQ(mysqlDateTimeText(db::Null{}), std::nullopt);
}

} // namespace
