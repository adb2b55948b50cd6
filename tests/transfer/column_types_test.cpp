#include "transfer/ado_type_names.h"
#include "transfer/default_column_types.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quintabel::transfer;

namespace {

TEST(AdoTypeName, NumbersBetweenAndBeyondTheKnownOnesHaveNoName)
{
    for (const int number : {1, 15, 22, 63, 137, 140, 199, 206, 8192, 8192 + 200, -1, 32767})
        EXPECT_EQ(AdoTypeName(number), "") << number;
    EXPECT_EQ(AdoTypeName(0), "adEmpty");
    EXPECT_EQ(AdoTypeName(139), "adVarNumeric");
    EXPECT_EQ(AdoTypeName(205), "adLongVarBinary");
}

struct ColumnTypeCase {
    const char* typeName;
    const char* paradox;
    const char* mysql;
};

// Names chosen where a substring or the rule order could mislead.
const ColumnTypeCase columnTypeCases[] = {
    {"adLongVarWChar", "TEXT", "TEXT"},      // "char" wins before anything else
    {"adChapter", "VARCHAR", "TEXT"},        // "chap" is no "char"
    {"adSingle", "INT", "INT"},              // not FLOAT
    {"adUnsignedInt", "INT", "INT"},
    {"adPropVariant", "VARCHAR", "TEXT"},    // "variant" holds no "int"
    {"adLongVarBinary", "OLEOBJECT", "BLOB"},
    {"adVarBinary", "VARCHAR", "TEXT"},      // only the long binary has a rule
    {"adVarNumeric", "INT", "INT"},
    {"adDBDate", "DATETIME", "TEXT"},
    {"adDBTimeStamp", "DATETIME", "TEXT"},   // through "timestamp", it holds no "date"
    {"adDBTime", "VARCHAR", "TEXT"},
    {"adCurrency", "VARCHAR", "TEXT"},
    {"adBoolean", "VARCHAR", "TEXT"},
    {"adDouble", "FLOAT", "FLOAT"},
    {"", "VARCHAR", "TEXT"},
    {"ADVARCHAR", "TEXT", "TEXT"},           // lower-cased before the test
    {"chardecimal", "TEXT", "TEXT"},         // first rule wins over every later one
    {"decimalint", "DECIMAL", "DECIMAL"},
    {"doubledate", "DATETIME", "TEXT"},      // "date" (7) before "double" (9)
    {"numericadlongvarbinary", "OLEOBJECT", "BLOB"}, // rule 5 before rule 6
};

TEST(DefaultColumnType, RulesApplyInOrderToTheLowerCasedName)
{
    for (const ColumnTypeCase& row : columnTypeCases) {
        EXPECT_EQ(DefaultColumnType(row.typeName, TargetKind::Paradox), row.paradox) << row.typeName;
        EXPECT_EQ(DefaultColumnType(row.typeName, TargetKind::MySQL), row.mysql) << row.typeName;
    }
}

TEST(DefaultCreateStatement, ColumnsJoinedByBareCommas)
{
    const std::vector<SourceField> fields{{"id", 3}, {"name", 200}, {"price", 5}};
    EXPECT_EQ(DefaultCreateStatement("goods", fields, TargetKind::MySQL),
              "CREATE TABLE `goods`(`id` INT,`name` TEXT,`price` FLOAT);");
    const std::vector<SourceField> oneField{{"when", 135}};
    EXPECT_EQ(DefaultCreateStatement("Log Book", oneField, TargetKind::Paradox),
              "CREATE TABLE `Log Book`(`when` DATETIME);");
}

TEST(DefaultCreateStatement, UnknownTypeNumberTakesTheFallback)
{
    const std::vector<SourceField> fields{{"tags", 8192}};
    EXPECT_EQ(DefaultCreateStatement("t", fields, TargetKind::Paradox), "CREATE TABLE `t`(`tags` VARCHAR);");
    EXPECT_EQ(DefaultCreateStatement("t", fields, TargetKind::MySQL), "CREATE TABLE `t`(`tags` TEXT);");
}

TEST(DefaultCreateStatement, BackticksInNamesCannotEndTheQuoting)
{
    const std::vector<SourceField> fields{{"a` INT,`b", 200}};
    EXPECT_EQ(DefaultCreateStatement("x`y", fields, TargetKind::MySQL),
              "CREATE TABLE `x``y`(`a`` INT,``b` TEXT);");
    EXPECT_EQ(statementPrefix("x`y"), "CREATE TABLE `x``y`(");
}

TEST(DefaultCreateStatement, NoFieldsKeepsTheParenthesis)
{
    EXPECT_EQ(DefaultCreateStatement("t", {}, TargetKind::MySQL), "CREATE TABLE `t`();");
}

} // namespace
