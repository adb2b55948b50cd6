// The lines a batch of rows becomes for LOAD DATA, and the rows that must not go that way.

#include "transfer/mysql_load_rows.h"

#include <gtest/gtest.h>

namespace quintabel {
namespace {

TEST(MySqlLoadRows, EachRowIsOneLineWithItsSeparatorsAndEscapeCharacterEscaped)
{
    MySqlLoadRows rows("ORDERS");
    const std::vector<db::Value> first{std::int64_t{7}, std::string("a\tb\\c\nd"), db::Null{}, std::string(),
                                       db::Bytes{}};
    const std::vector<db::Value> second{std::string("NULL"), std::string("\\N"), std::string(std::string_view("x\0y", 3)),
                                        std::string(" O'Neil "), db::Decimal{"-1.50"}};
    rows.add(first);
    rows.add(second);
    EXPECT_TRUE(rows.loadable());
    EXPECT_EQ(rows.size(), 2u);
    // Empty text and empty bytes are NULL, as in the INSERT statement; the word NULL is text.
    EXPECT_EQ(rows.content(), "7\ta\\tb\\\\c\\nd\t\\N\t\\N\t\\N\n"
                              "NULL\t\\\\N\tx\\0y\t O'Neil \t-1.50\n");
    rows.clear();
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(rows.content(), "");
}

TEST(MySqlLoadRows, DatesAreRewrittenAsForTheInsertStatement)
{
    MySqlLoadRows rows("T");
    const std::vector<db::Value> row{db::Date{2021, 8, 31}, db::Time{14, 5, 9, 0},
                                     db::DateTime{{2021, 8, 31}, {14, 5, 9, 250000}}, std::string("2021-08-31"),
                                     std::string("2021-02-30")};
    rows.add(row);
    EXPECT_EQ(rows.content(), "2021-08-31 00:00:00\t1899-12-30 14:05:09\t2021-08-31 14:05:09.25\t"
                              "2021-08-31 00:00:00\t2021-02-30\n");
}

TEST(MySqlLoadRows, ARowHoldingBytesOrNoFieldsMakesTheRowsGoAsInsertStatements)
{
    MySqlLoadRows withBytes("T");
    withBytes.add(std::vector<db::Value>{std::int64_t{1}});
    withBytes.add(std::vector<db::Value>{db::Bytes{0x41}});
    withBytes.add(std::vector<db::Value>{std::int64_t{3}});
    EXPECT_FALSE(withBytes.loadable());
    EXPECT_EQ(withBytes.size(), 3u);
    withBytes.clear();
    EXPECT_TRUE(withBytes.loadable());

    MySqlLoadRows noFields("T");
    noFields.add(std::vector<db::Value>{});
    EXPECT_FALSE(noFields.loadable());
}

TEST(MySqlLoadRows, TheStatementNamesTheTableQuotedAndSpellsOutEveryOption)
{
    const MySqlLoadRows rows("odd `name");
    EXPECT_EQ(rows.statement(),
              "LOAD DATA LOCAL INFILE 'quintabel-rows' INTO TABLE `odd ``name` CHARACTER SET utf8mb4 FIELDS "
              "TERMINATED BY '\\t' ENCLOSED BY '' ESCAPED BY '\\\\' LINES STARTING BY '' TERMINATED BY '\\n'");
}

} // namespace
} // namespace quintabel
