#include "transfer/mysql_row_batch.h"

#include "transfer/sql_names.h"

#include <algorithm>
#include <stdexcept>

namespace quintabel {

namespace {

// A batch of a megabyte already makes its round trip and parse cost next to nothing per row;
// larger ones only keep the window waiting longer for the server's answer.
constexpr std::size_t kLargestBatch = std::size_t{1} << 20;
// Room for what the server counts in a packet beside the statement itself.
constexpr std::int64_t kPacketOverhead = 1024;

} // namespace

std::size_t batchBytesFor(std::int64_t maxAllowedPacket)
{
    const std::int64_t room = std::max<std::int64_t>(maxAllowedPacket - kPacketOverhead, 0);
    return std::min(kLargestBatch, static_cast<std::size_t>(room));
}

MySqlRowBatch::MySqlRowBatch(std::string_view tableName, std::size_t maxStatementBytes)
    : prefix_("INSERT INTO " + backtickQuoted(tableName) + " VALUES"), maxStatementBytes_(maxStatementBytes)
{
}

bool MySqlRowBatch::fits(std::string_view rowStatement) const
{
    if (rows_.empty())
        return true;
    // The row adds its values and the comma before them.
    return statement_.size() + 1 + (rowStatement.size() - prefix_.size()) <= maxStatementBytes_;
}

void MySqlRowBatch::add(std::string_view rowStatement, std::vector<std::size_t> zeroDateColumns)
{
    // A statement of another table (or none at all) would put its values under this table's
    // name: a fault of the caller, never to be sent.
    if (!rowStatement.starts_with(prefix_))
        throw std::logic_error("A row statement of another table was added to the batch for " + prefix_);
    if (rows_.empty())
        statement_ = prefix_;
    else
        statement_ += ',';
    const std::string_view values = rowStatement.substr(prefix_.size());
    rows_.push_back(Row{statement_.size(), values.size(), std::move(zeroDateColumns)});
    statement_ += values;
}

std::string MySqlRowBatch::rowStatement(std::size_t index) const
{
    const Row& row = rows_.at(index);
    return prefix_ + statement_.substr(row.offset, row.length);
}

void MySqlRowBatch::clear()
{
    statement_.clear();
    rows_.clear();
}

} // namespace quintabel
