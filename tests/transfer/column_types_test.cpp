#include "transfer/ado_type_names.h"
#include "transfer/default_column_types.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quintabel;

namespace {

TEST(AdoTypeName, NumbersBetweenAndBeyondTheKnownOnesHaveNoName)
{
    for (const int number : {1, 15, 137, 140, 206, 8192, 8192 + 200, -1})
        EXPECT_EQ(AdoTypeName(number), "") << number;
}

// Names chosen where a substring or the rule order could mislead.
TEST(DefaultColumnType, RulesApplyInOrderToTheLowerCasedName)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"adLongVarWChar", "TEXT", "LONGTEXT"}, // a memo may pass TEXT's 65,535 bytes
        {"adLongVarChar", "TEXT", "LONGTEXT"},
        {"adVarWChar", "TEXT", "TEXT"},
        {"adChapter", "VARCHAR", "TEXT"},   // "chap" is no "char"
        {"adSingle", "FLOAT", "FLOAT"},     // keeps its fractions
        {"adDouble", "FLOAT", "DOUBLE"},    // MySQL's FLOAT is single precision
        {"adPropVariant", "VARCHAR", "TEXT"}, // "variant" holds no "int"
        {"adLongVarBinary", "OLEOBJECT", "LONGBLOB"},
        {"adVarBinary", "VARCHAR", "TEXT"}, // only the long binary has a rule
        {"adDBTimeStamp", "DATETIME", "TEXT"}, // through "timestamp": it holds no "date"
        {"adDBTime", "VARCHAR", "TEXT"},
        {"", "VARCHAR", "TEXT"},
        {"ADVARCHAR", "TEXT", "TEXT"},
        {"decimalint", "DECIMAL", "DECIMAL"}, // an earlier rule wins over a later one
        {"doubledate", "DATETIME", "TEXT"},
        {"numericadlongvarbinary", "OLEOBJECT", "LONGBLOB"},
    };
    for (const auto& [name, paradox, mysql] : cases) {
        EXPECT_EQ(DefaultColumnType(name, TargetKind::Paradox), paradox) << name;
        EXPECT_EQ(DefaultColumnType(name, TargetKind::MySQL), mysql) << name;
    }
}

TEST(DefaultCreateStatement, ColumnsJoinedByBareCommas)
{
    const std::vector<SourceField> fields{{"id", 3}, {"name", 200}, {"price", 5}, {"tags", 8192}};
    EXPECT_EQ(DefaultCreateStatement("goods", fields, TargetKind::MySQL),
              "CREATE TABLE `goods`(`id` INT,`name` TEXT,`price` DOUBLE,`tags` TEXT);");
    EXPECT_EQ(DefaultCreateStatement("t", {}, TargetKind::MySQL), "CREATE TABLE `t`();");
}

TEST(DefaultCreateStatement, BackticksInNamesCannotEndTheQuoting)
{
    const std::vector<SourceField> fields{{"a` INT,`b", 200}};
    EXPECT_EQ(DefaultCreateStatement("x`y", fields, TargetKind::Paradox), "CREATE TABLE `x``y`(`a`` INT,``b` TEXT);");
}

} // namespace
