// What a table's keys become on the other side: the clauses a CREATE TABLE statement gains
// (wherever a user's statement puts its parentheses, quotes and options), and which MySQL
// primary keys a Paradox table can keep.

#include "transfer/mysql_primary_key.h"
#include "transfer/table_keys.h"

#include <gtest/gtest.h>

namespace quintabel {
namespace {

TEST(TableKeys, ClausesGoAfterTheLastColumnAndTheCounterAfterTheColumnList)
{
    TableKeys keys;
    keys.primaryKey = {"Id", "Part"};
    keys.autoIncrement = "Id";
    keys.autoIncrementStart = 43;
    keys.indexes = {{"By `name`", {"Name"}, false}, {"Code", {"Code", "Part"}, true}};
    struct Case {
        const char* statement;
        const char* keyed;
    };
    const std::vector<Case> cases = {
        {"CREATE TABLE `t`(`Id` INT,`Part` INT,`Name` TEXT,`Code` VARCHAR(3))",
         "CREATE TABLE `t`(`Id` INT,`Part` INT,`Name` TEXT,`Code` VARCHAR(3)"
         ",PRIMARY KEY (`Id`,`Part`),KEY `By ``name``` (`Name`),UNIQUE KEY `Code` (`Code`,`Part`)) AUTO_INCREMENT=43"},
        // A customised statement: parentheses in types, a ")" in a quoted name and a comment,
        // and table options after the column list.
        {"CREATE TABLE `t`(`Id` DECIMAL(10,0),`a)` TEXT COMMENT 'x)') ENGINE=InnoDB COMMENT='y)'",
         "CREATE TABLE `t`(`Id` DECIMAL(10,0),`a)` TEXT COMMENT 'x)',PRIMARY KEY (`Id`,`Part`),KEY `By ``name``` "
         "(`Name`),UNIQUE KEY `Code` (`Code`,`Part`)) AUTO_INCREMENT=43 ENGINE=InnoDB COMMENT='y)'"},
        // Not readable so far: left as it is, for the server to say what is wrong.
        {"CREATE TABLE `t`(`a` TEXT COMMENT 'open", "CREATE TABLE `t`(`a` TEXT COMMENT 'open"},
    };
    for (const Case& test : cases)
        EXPECT_EQ(withKeyClauses(test.statement, keys), test.keyed) << test.statement;
    EXPECT_EQ(withKeyClauses(cases[0].statement, keys.withoutUniqueKeys()),
              "CREATE TABLE `t`(`Id` INT,`Part` INT,`Name` TEXT,`Code` VARCHAR(3),KEY `By ``name``` (`Name`))");
}

TEST(TableKeys, AKeyColumnTakesATypeMySqlCanKeyAndTheCounterNumbersItsRows)
{
    TableKeys keys;
    keys.primaryKey = {"Code"};
    keys.autoIncrement = "Id";
    keys.textKeyColumns = {{"Code", 5}, {"Day", 64}};
    keys.textCollation = "utf8mb4_nopad_bin";
    std::vector<SourceField> fields = {{"Code", 200, 0, 0}, {"Id", 3, 0, 0}, {"Day", 133, 0, 0}, {"Note", 200, 0, 0}};
    shapeKeyColumns(fields, keys);
    EXPECT_EQ(DefaultCreateStatement("t", fields, TargetKind::MySQL),
              "CREATE TABLE `t`(`Code` VARCHAR(5) CHARACTER SET utf8mb4 COLLATE utf8mb4_nopad_bin,"
              "`Id` INT AUTO_INCREMENT,`Day` VARCHAR(64) CHARACTER SET utf8mb4 COLLATE utf8mb4_nopad_bin,"
              "`Note` TEXT);");
}

TEST(MySqlPrimaryKey, AParadoxKeyIsTheTablesFirstColumnsInKeyOrder)
{
    const std::vector<std::string> columns = {"id", "Part", "name"};
    struct Case {
        std::vector<std::string> primaryKey;
        int keyFields;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {{}, 0, ""},
        {{"ID"}, 1, ""},
        {{"id", "part"}, 2, ""},
        {{"part", "id"}, 0, "is not made of its first columns"},
        {{"name"}, 0, "is not made of its first columns"},
        {std::vector<std::string>(17, "id"), 0, "has 17 columns"},
    };
    for (const Case& test : cases) {
        const ParadoxKeyChoice choice = paradoxKeyFor(columns, test.primaryKey);
        EXPECT_EQ(choice.keyFields, test.keyFields);
        EXPECT_NE(choice.reason.find(test.reason), std::string::npos) << choice.reason;
        EXPECT_EQ(choice.reason.empty(), std::string(test.reason).empty());
    }
}

} // namespace
} // namespace quintabel
