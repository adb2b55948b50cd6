// The multi-row statement a batch of rows becomes, and each row's own statement taken back
// out of it for the rows a refused batch sends again alone.

#include "transfer/mysql_row_batch.h"
#include "transfer/row_insert_statement.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quintabel {
namespace {

std::vector<std::string> rowStatements(std::string_view table, int count)
{
    std::vector<std::string> statements;
    for (int number = 1; number <= count; ++number) {
        // Values whose text holds what a careless split would cut at: "),(", quotes, commas.
        const std::vector<db::Value> row{std::int64_t{number}, std::string("a'),('b\\") + std::to_string(number),
                                         db::Null{}, db::Bytes{0x00, 0x29, 0x2C}};
        statements.push_back(RowInsertStatement(table, row, TargetKind::MySQL));
    }
    return statements;
}

TEST(MySqlRowBatch, EachRowComesBackAsTheStatementItWasAddedWith)
{
    for (const std::string table : {"ORDERS", "odd `name", "quintabel-new-ORDERS"}) {
        SCOPED_TRACE(table);
        const std::vector<std::string> statements = rowStatements(table, 5);
        MySqlRowBatch batch(table, 1 << 20);
        for (const std::string& statement : statements)
            batch.add(statement);
        ASSERT_EQ(batch.size(), statements.size());
        for (std::size_t index = 0; index < statements.size(); ++index)
            EXPECT_EQ(batch.rowStatement(index), statements[index]);
    }
}

TEST(MySqlRowBatch, TheStatementListsEveryRowsValuesOnceInOrder)
{
    const std::vector<std::string> statements = rowStatements("T", 3);
    MySqlRowBatch batch("T", 1 << 20);
    std::string expected = "INSERT INTO `T` VALUES";
    for (const std::string& statement : statements) {
        batch.add(statement);
        const std::size_t values = statement.find(" VALUES(") + 7;
        expected += (expected.back() == 'S' ? "" : ",") + statement.substr(values);
    }
    EXPECT_EQ(batch.statement(), expected);
    batch.clear();
    EXPECT_TRUE(batch.empty());
    batch.add(statements[2]);
    EXPECT_EQ(batch.statement(), statements[2]);
}

TEST(MySqlRowBatch, StaysWithinItsBoundButAlwaysTakesOneRow)
{
    const std::vector<std::string> statements = rowStatements("T", 40);
    for (const std::size_t bound : {std::size_t{1}, statements[0].size(), std::size_t{300}, std::size_t{1000}}) {
        SCOPED_TRACE(bound);
        MySqlRowBatch batch("T", bound);
        std::size_t batches = 0;
        std::size_t rows = 0;
        for (const std::string& statement : statements) {
            if (!batch.fits(statement)) {
                rows += batch.size();
                batch.clear();
            }
            if (batch.empty())
                ++batches;
            batch.add(statement);
            if (batch.size() > 1) {
                EXPECT_LE(batch.statement().size(), bound);
            }
        }
        rows += batch.size();
        EXPECT_EQ(rows, statements.size());
        if (bound < 2 * statements[0].size()) {
            EXPECT_EQ(batches, statements.size());
        } else {
            EXPECT_LT(batches, statements.size());
        }
    }
}

TEST(MySqlRowBatch, RefusesARowOfAnotherTable)
{
    MySqlRowBatch batch("T", 1 << 20);
    EXPECT_THROW(batch.add(rowStatements("U", 1)[0]), std::logic_error);
    EXPECT_THROW(batch.add("DROP TABLE T"), std::logic_error);
    EXPECT_TRUE(batch.empty());
}

TEST(MySqlRowBatch, BatchesStayBelowTheServersLargestPacket)
{
    for (const std::int64_t packet : {std::int64_t{1024}, std::int64_t{4096}, std::int64_t{1} << 20,
                                      std::int64_t{64} << 20, std::int64_t{1} << 30}) {
        EXPECT_LT(static_cast<std::int64_t>(batchBytesFor(packet)), packet);
    }
    EXPECT_GE(batchBytesFor(std::int64_t{64} << 20), std::size_t{64} << 10);
}

} // namespace
} // namespace quintabel
