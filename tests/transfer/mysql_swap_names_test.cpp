// The names and marks a MySQL table carries while a transfer builds it under a temporary name.

#include "transfer/mysql_swap_marker.h"
#include "transfer/mysql_swap_statements.h"
#include "transfer/mysql_table_comment.h"
#include "transfer/mysql_work_names.h"

#include <gtest/gtest.h>

namespace quintabel {
namespace {

std::size_t characterCount(const std::string& utf8)
{
    std::size_t count = 0;
    for (const char byte : utf8)
        count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

TEST(WorkTableName, IsCutToSixtyFourCharactersBetweenCharactersWithTheSuffixKept)
{
    EXPECT_EQ(workTableName(kNewCopyPrefix, "ORDERS", 1), "quintabel-new-ORDERS");
    EXPECT_EQ(workTableName(kOldCopyPrefix, "ORDERS", 3), "quintabel-old-ORDERS-3");

    const std::string longName(64, 'x');
    EXPECT_EQ(workTableName(kNewCopyPrefix, longName, 1), "quintabel-new-" + std::string(50, 'x'));
    EXPECT_EQ(workTableName(kNewCopyPrefix, longName, 2), "quintabel-new-" + std::string(48, 'x') + "-2");
    EXPECT_EQ(workTableName(kNewCopyPrefix, longName, 12), "quintabel-new-" + std::string(47, 'x') + "-12");

    // Two-byte and four-byte characters: the cut counts characters, never splits one.
    std::string wide;
    for (int i = 0; i < 30; ++i)
        wide += "\xC3\xA9\xF0\x9F\x98\x80"; // é and a four-byte emoji
    for (int attempt : {1, 2, 10}) {
        const std::string name = workTableName(kNewCopyPrefix, wide, attempt);
        EXPECT_EQ(characterCount(name), 64u) << attempt;
        const std::string body = name.substr(kNewCopyPrefix.size());
        const std::string withoutSuffix = attempt == 1 ? body : body.substr(0, body.rfind('-'));
        EXPECT_EQ(wide.compare(0, withoutSuffix.size(), withoutSuffix), 0) << "a character was split";
    }
}

TEST(WorkTableName, PrefixIsRecognisedInEitherCase)
{
    EXPECT_TRUE(hasWorkPrefix("quintabel-new-orders", kNewCopyPrefix));
    EXPECT_TRUE(hasWorkPrefix("QUINTABEL-NEW-ORDERS", kNewCopyPrefix));
    EXPECT_FALSE(hasWorkPrefix("quintabel-old-orders", kNewCopyPrefix));
    EXPECT_FALSE(hasWorkPrefix("quintabel-new", kNewCopyPrefix));
}

TEST(SwapMarker, EveryNameReadsBackExactly)
{
    const std::vector<SwapMarker> markers{
        {"ORDERS", std::nullopt, std::nullopt},
        {"ORDERS", "quintabel-old-ORDERS", std::nullopt},
        {"ORDERS", std::nullopt, 7},
        {"a`b``c`", "quintabel-old-a`b``c`", 18446744073709551615ULL},
        {"it's \\ a, not yet complete; built by connection 3", std::nullopt, std::nullopt},
        {"Bestellübersicht 2024", "quintabel-old-Bestellübersicht 2024-2", 1},
        {"ORDERS", std::nullopt, 42, "the user's own; built by connection 7"},
        {"ORDERS", "quintabel-old-ORDERS", std::nullopt, "`x`, not yet complete"},
    };
    for (const SwapMarker& marker : markers) {
        const std::string comment = swapMarkerComment(marker);
        EXPECT_EQ(readSwapMarker(comment), marker) << comment;
    }
    EXPECT_EQ(swapMarkerComment({"ORDERS", "quintabel-old-ORDERS", 42}),
              "Quintabel: new copy of `ORDERS`, not yet complete; the old table goes to `quintabel-old-ORDERS`; "
              "built by connection 42");
}

TEST(SwapMarker, AnythingButAWholeMarkerIsTheUsersOwnComment)
{
    const std::string whole = swapMarkerComment({"ORDERS", "quintabel-old-ORDERS", 42});
    const std::string withoutRun = swapMarkerComment({"ORDERS", "quintabel-old-ORDERS", std::nullopt});
    const std::vector<std::string> notMarkers{
        "",
        "my orders",
        "quintabel: new copy of `ORDERS`, not yet complete",
        "Quintabel: new copy of `ORDERS`",
        "Quintabel: new copy of ``, not yet complete",
        "Quintabel: new copy of `ORDERS, not yet complete",
        "Quintabel: new copy of `ORDERS`, not yet complete; the old table goes to ``",
        "Quintabel: new copy of `ORDERS`, not yet complete and more",
        "Quintabel: new copy of `ORDERS`, not yet complete; built by connection ",
        "Quintabel: new copy of `ORDERS`, not yet complete; built by connection 042",
        "Quintabel: new copy of `ORDERS`, not yet complete; built by connection -1",
        "Quintabel: new copy of `ORDERS`, not yet complete; built by connection 1; the old table goes to `x`",
        withoutRun.substr(0, withoutRun.size() - 1),
        whole + " ",
        whole + "; its own comment: ",
        "Quintabel: new copy of `ORDERS`, not yet complete; built by connection 18446744073709551616",
    };
    for (const std::string& comment : notMarkers)
        EXPECT_EQ(readSwapMarker(comment), std::nullopt) << comment;
}

TEST(TableComment, IsTheLastCommentAmongTheTableOptionsAsTheServerReadsIt)
{
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"CREATE TABLE `t`(`a` INT);", std::nullopt},
        {"CREATE TABLE `t`(`a` INT COMMENT 'a column''s') ENGINE=InnoDB", std::nullopt},
        {"CREATE TABLE `t`(`a` INT) COMMENT='Customers'", "Customers"},
        {"CREATE TABLE `t`(`a` INT) comment = \"first\" COMMENT 'it''s \\\\ a\\nb\\%';", "it's \\ a\nb\\%"},
        {"CREATE TABLE `t )`(`a` DECIMAL(5,2)) /* COMMENT 'no' */ COMMENT 'yes' -- COMMENT 'no'", "yes"},
        {"CREATE TABLE `t`(`a` INT) COMMENT 'never closed", std::nullopt},
    };
    for (const auto& [statement, comment] : cases)
        EXPECT_EQ(tableCommentOf(statement), comment) << statement;
}

TEST(SwapStatements, TheCommentBecomesTheLastTableOption)
{
    EXPECT_EQ(withTableComment("CREATE TABLE `t`(`a` INT);", "c"), "CREATE TABLE `t`(`a` INT) COMMENT='c'");
    EXPECT_EQ(withTableComment("CREATE TABLE `t`(`a` INT) ; \r\n", "c"), "CREATE TABLE `t`(`a` INT) COMMENT='c'");
    EXPECT_EQ(withTableComment("CREATE TABLE `t`(`a` INT)", "it's a\\b"),
              "CREATE TABLE `t`(`a` INT) COMMENT='it''s a\\\\b'");
}

TEST(SwapStatements, TheSwapIsOneRenameStatement)
{
    EXPECT_EQ(swapInStatement("T`1", "quintabel-new-T`1", "quintabel-old-T`1"),
              "RENAME TABLE `T``1` TO `quintabel-old-T``1`, `quintabel-new-T``1` TO `T``1`");
    EXPECT_EQ(swapInStatement("T", "quintabel-new-T", std::nullopt), "RENAME TABLE `quintabel-new-T` TO `T`");
}

} // namespace
} // namespace quintabel
