// Names holding the marks that quote them (a backtick, "]", a double quote) travel both ways
// whole: every statement the transfers send writes such a mark twice, and the drivers read it
// back as one.

#include "canonical_values.h"
#include "transfer_fixture.h"

namespace quintabel::testing {
namespace {

namespace px = quintabel::paradox;

class QuotedNamesTest : public TransferTest {};

TEST_F(QuotedNamesTest, MySqlTablesAndColumnsWithQuotingMarksArriveInParadox)
{
    runSql("CREATE TABLE `a``b` (`Pl``nt` VARCHAR(20), `x]y` INT)");
    runSql("INSERT INTO `a``b` VALUES ('fern', 1), ('moss', 2)");
    runSql("CREATE TABLE `b]k` (`n\"q` INT)");
    runSql("INSERT INTO `b]k` VALUES (7)");

    sendToParadox({QStringLiteral("a`b"), QStringLiteral("b]k")});

    EXPECT_TRUE(reports().empty()) << reports().front().text.toStdString();
    const ParadoxReadBack plants = readBackWithPxlib(paradoxFile("a`b.db"));
    ASSERT_EQ(plants.problem, "");
    EXPECT_EQ(plants.fieldNames, (std::vector<std::string>{"Pl`nt", "x]y"}));
    ASSERT_EQ(plants.records.size(), 2u);
    EXPECT_EQ(plants.records[1][0], Cell("moss"));
    const ParadoxReadBack brackets = readBackWithPxlib(paradoxFile("b]k.db"));
    ASSERT_EQ(brackets.problem, "");
    EXPECT_EQ(brackets.fieldNames, std::vector<std::string>{"n\"q"});
    ASSERT_EQ(brackets.records.size(), 1u);
    // The scratch copies were dropped again: nothing of either table stays behind.
    EXPECT_TRUE(scratchTables(programFolder.path()).empty());
}

TEST_F(QuotedNamesTest, ParadoxTablesWithQuotingMarksArriveInMySql)
{
    writeNames("B`T", {"one", "two"});
    writeNames("C]D", {"three"});
    writeNames("E\"F", {"four"});

    sendToMySql({QStringLiteral("B`T"), QStringLiteral("C]D"), QStringLiteral("E\"F")});

    EXPECT_TRUE(reports().empty()) << reports().front().text.toStdString();
    EXPECT_EQ(queryMySql("SELECT NAME FROM `B``T` ORDER BY NAME").size(), 2u);
    EXPECT_EQ(queryMySql("SELECT NAME FROM `C]D`").size(), 1u);
    EXPECT_EQ(queryMySql("SELECT NAME FROM `E\"F`").size(), 1u);
}

} // namespace
} // namespace quintabel::testing
