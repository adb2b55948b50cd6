#include "customise/customisation_lists.h"
#include "customise/customised_create.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quintabel::customise;
using quintabel::TargetKind;

namespace {

const std::string head = "CREATE TABLE `books`(";

TEST(ReadsAsNumber, DecimalNotationOnly)
{
    for (const char* name : {"2019", "3.5", "-7", "1E3", "1e-3", "+.5", "5.", " 42 ", "\t0\t"})
        EXPECT_TRUE(readsAsNumber(name)) << name;
    for (const char* name : {"A1", "1st", "", " ", ".", "1E", "1e+", "1.2.3", "--1", "1e3.5", "0x10", "1,000",
                             "E3", "1 2", "١٢"})
        EXPECT_FALSE(readsAsNumber(name)) << name;
}

TEST(CustomisedCreateStatement, QuotingByTarget)
{
    // A "]" cannot stand between square brackets; a backtick is doubled between backticks.
    const std::vector<std::string> fields{"id", "a]b", "c`d"};
    const std::vector<std::string> types{"INT", "varchar(40)", "TEXT"};
    EXPECT_EQ(customisedCreateStatement(head, fields, types, TargetKind::Paradox),
              head + "[id] INT,`a]b` varchar(40),[c`d] TEXT)");
    EXPECT_EQ(customisedCreateStatement(head, fields, types, TargetKind::MySQL),
              head + "`id` INT,`a]b` varchar(40),`c``d` TEXT)");
    EXPECT_EQ(columnQuotingFor("paradox"), TargetKind::MySQL); // only exactly "Paradox" takes brackets
}

TEST(CustomisedCreateStatement, NumericNamesGetFreshNames)
{
    const std::vector<std::string> types(4, "INT");
    EXPECT_EQ(customisedCreateStatement(head, std::vector<std::string>{"2019", "3.5", "-7", "1E3"}, types,
                                        TargetKind::MySQL),
              head + "`newfieldname0` INT,`tempid1` INT,`tempid2` INT,`tempid3` INT)");
    // A real field called newfieldname0 keeps its name and pushes the first new one on;
    // so does tempid1. The comparison is case-sensitive.
    EXPECT_EQ(customisedCreateStatement(head, std::vector<std::string>{"7", "newfieldname0", "tempid1", "8"}, types,
                                        TargetKind::Paradox),
              head + "[tempid2] INT,[newfieldname0] INT,[tempid1] INT,[tempid3] INT)");
    EXPECT_EQ(customisedCreateStatement(head, std::vector<std::string>{"NEWFIELDNAME0", "1"},
                                        std::vector<std::string>(2, "INT"), TargetKind::Paradox),
              head + "[NEWFIELDNAME0] INT,[newfieldname0] INT)");
}

TEST(CustomisedCreateStatement, EmptyOrUnevenListsAfterAFailedLoad)
{
    EXPECT_EQ(customisedCreateStatement(head, {}, {}, TargetKind::MySQL), head);
    const std::vector<std::string> fields{"id", "lost"};
    const std::vector<std::string> types{"INT"};
    EXPECT_EQ(customisedCreateStatement(head, fields, types, TargetKind::MySQL), head + "`id` INT)");
}

CustomisationLists loaded(std::initializer_list<std::pair<const char*, const char*>> rows)
{
    CustomisationLists lists;
    for (const auto& [field, type] : rows) {
        lists.appendField(field);
        lists.appendType(type);
    }
    return lists;
}

TEST(CustomisationLists, ApplyNeedsASelectedTypeAndAnAcceptedText)
{
    CustomisationLists lists = loaded({{"id", "INT"}, {"title", "VARCHAR(3)"}, {"born", "DATETIME"}});
    EXPECT_EQ(lists.apply("int"), ApplyOutcome::NothingSelected);
    EXPECT_EQ(lists.selectRow(2), std::optional<std::string>("DATETIME"));
    EXPECT_EQ(lists.apply("integer"), ApplyOutcome::InvalidType);
    EXPECT_FALSE(lists.closeNeedsQuestion());
    EXPECT_EQ(lists.apply("smalldatetime"), ApplyOutcome::Applied);
    EXPECT_EQ(lists.selectedRow(), std::optional<std::size_t>(2));
    EXPECT_TRUE(lists.closeNeedsQuestion());
    EXPECT_EQ(lists.confirm(head, "Paradox"), head + "[id] INT,[title] VARCHAR(3),[born] smalldatetime)");
    EXPECT_FALSE(lists.changed());
}

TEST(CustomisationLists, AFieldWithoutTypeEntryCanBeSelectedSafely)
{
    CustomisationLists lists = loaded({{"id", "INT"}});
    lists.appendField("half-loaded");
    EXPECT_EQ(lists.selectRow(1), std::nullopt);
    EXPECT_EQ(lists.apply("TEXT"), ApplyOutcome::NothingSelected);
    EXPECT_EQ(lists.selectRow(5), std::nullopt);
    EXPECT_EQ(lists.selectedRow(), std::optional<std::size_t>(1));
}

} // namespace
