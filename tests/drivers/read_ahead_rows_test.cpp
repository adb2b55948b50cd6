// Rows read ahead on a thread of their own: every row once and in order across the hand-over
// from the caller's thread and across batches, a failure in its place, a slow source's rows
// as they come, and a reader destroyed mid-result that stops reading.

#include "drivers/database_error.h"
#include "drivers/read_ahead_rows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using quintabel::db::DatabaseError;
using quintabel::db::FieldInfo;
using quintabel::db::ReadAheadRows;
using quintabel::db::RowSource;
using quintabel::db::Value;

namespace {

// Rows (n, "row n") for n from 1 to `rows`; a failure instead of row `failAt`. Counts the
// fetches it was asked for, from whichever thread.
class NumberedRows : public RowSource {
public:
    explicit NumberedRows(std::int64_t rows, std::optional<std::int64_t> failAt = std::nullopt)
        : rows_(rows), failAt_(failAt), fields_(2)
    {
        fields_[0].name = "n";
        fields_[1].name = "label";
    }

    const std::vector<FieldInfo>& fields() const override { return fields_; }
    std::optional<std::int64_t> rowCount() const override { return rows_; }

    bool fetch(std::vector<Value>& row) override
    {
        const std::int64_t number = ++fetches;
        if (failAt_ && number >= *failAt_)
            throw DatabaseError("Lost connection to server during query", 2013);
        if (number > rows_)
            return false;
        waitBeforeRow(number);
        row.clear();
        row.emplace_back(number);
        row.emplace_back("row " + std::to_string(number));
        return true;
    }

    std::atomic<std::int64_t> fetches{0};

protected:
    virtual void waitBeforeRow(std::int64_t) {}

private:
    std::int64_t rows_;
    std::optional<std::int64_t> failAt_;
    std::vector<FieldInfo> fields_;
};

// Reads every row, checking each is the next number with its own label.
std::int64_t readInOrder(RowSource& rows)
{
    std::vector<Value> row;
    std::int64_t expected = 0;
    while (rows.fetch(row)) {
        ++expected;
        EXPECT_EQ(row.size(), 2u);
        EXPECT_EQ(std::get<std::int64_t>(row.at(0)), expected);
        EXPECT_EQ(std::get<std::string>(row.at(1)), "row " + std::to_string(expected));
        if (::testing::Test::HasFailure())
            break;
    }
    return expected;
}

TEST(ReadAheadRowsTest, EveryRowComesOnceAndInOrderWhereverTheThreadTakesOver)
{
    // Three rows on the caller's thread, then batches of four: around each edge.
    for (const std::int64_t count : {0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 1000}) {
        SCOPED_TRACE(count);
        auto owned = std::make_unique<NumberedRows>(count);
        NumberedRows& source = *owned;
        ReadAheadRows rows(std::move(owned), 3, 4);
        EXPECT_EQ(rows.fields().size(), 2u);
        EXPECT_EQ(rows.rowCount(), count);
        EXPECT_EQ(readInOrder(rows), count);
        EXPECT_EQ(rows.readingAhead(), count >= 3);
        // The end stays the end.
        std::vector<Value> row;
        EXPECT_FALSE(rows.fetch(row));
        EXPECT_FALSE(rows.fetch(row));
        EXPECT_LE(source.fetches.load(), count + 1);
    }
}

TEST(ReadAheadRowsTest, AFailureComesAfterEveryRowBeforeItAndStopsTheReading)
{
    for (const std::int64_t failAt : {1, 3, 4, 5, 9, 700}) {
        SCOPED_TRACE(failAt);
        auto owned = std::make_unique<NumberedRows>(100000, failAt);
        NumberedRows& source = *owned;
        ReadAheadRows rows(std::move(owned), 3, 4);
        std::vector<Value> row;
        std::int64_t read = 0;
        try {
            while (rows.fetch(row))
                EXPECT_EQ(std::get<std::int64_t>(row.at(0)), ++read);
            ADD_FAILURE() << "the rows ended without the failure";
        } catch (const DatabaseError& failure) {
            EXPECT_EQ(failure.number(), 2013);
        }
        EXPECT_EQ(read, failAt - 1);
        if (failAt > 3) {
            // Read ahead: the failure is told again, and the source is not asked again.
            EXPECT_THROW(rows.fetch(row), DatabaseError);
            EXPECT_EQ(source.fetches.load(), failAt);
        }
    }
}

// A source whose rows come a few milliseconds apart, as from a server that is slow to find
// them.
class SlowRows : public NumberedRows {
public:
    using NumberedRows::NumberedRows;

protected:
    void waitBeforeRow(std::int64_t) override { std::this_thread::sleep_for(std::chrono::milliseconds(5)); }
};

TEST(ReadAheadRowsTest, ASlowSourcesRowsReachTheCallerAsTheyCome)
{
    auto owned = std::make_unique<SlowRows>(40);
    SlowRows& source = *owned;
    ReadAheadRows rows(std::move(owned), 2, 64);
    std::vector<Value> row;
    std::int64_t read = 0;
    while (rows.fetch(row)) {
        EXPECT_EQ(std::get<std::int64_t>(row.at(0)), ++read);
        // Not held back for a batch of 64: only the rows read while the caller was busy,
        // a handful at most on a loaded machine, are ahead of it.
        EXPECT_LE(source.fetches.load() - read, 8) << "at row " << read;
    }
    EXPECT_EQ(read, 40);
}

TEST(ReadAheadRowsTest, AReaderLeftMidResultStopsReadingItsSource)
{
    auto owned = std::make_unique<NumberedRows>(10'000'000);
    NumberedRows& source = *owned;
    auto rows = std::make_unique<ReadAheadRows>(std::move(owned), 3, 4);
    std::vector<Value> row;
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(rows->fetch(row));
    EXPECT_EQ(std::get<std::int64_t>(row.at(0)), 20);
    // The thread waits once a few batches are read: a caller who pauses holds little.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_LE(source.fetches.load(), 20 + 4 * 4);
    // The source goes with the reader, which must have stopped using it first (the sanitizer
    // build sees any use after it went).
    rows.reset();
}

} // namespace
