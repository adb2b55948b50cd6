// The clauses a CREATE TABLE statement gains for a Paradox table's keys, wherever a user's
// statement puts its parentheses, quotes and options.

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

} // namespace
} // namespace quintabel
