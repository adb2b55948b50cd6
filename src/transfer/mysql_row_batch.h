#pragma once
// Rows bound for one MySQL table, gathered into one multi-row INSERT statement.
//
// A statement per row costs a round trip and a parse per row; one statement for a few
// thousand rows costs them once. Each row keeps its place in the statement, so that when the
// server refuses the batch, every row of it can be sent again alone with its own single-row
// statement (the one its report names), exactly as if it had never been batched.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel {

class MySqlRowBatch {
public:
    // `maxStatementBytes` bounds the multi-row statement; a single row longer than that still
    // forms a batch of its own (and meets the server's limit as it would alone).
    MySqlRowBatch(std::string_view tableName, std::size_t maxStatementBytes);

    // Whether `rowStatement` (a RowInsertStatement for this table) fits beside the rows held.
    bool fits(std::string_view rowStatement) const;
    // Takes the row's values from its single-row statement. `zeroDateColumns` are the columns
    // whose blank stood for a zero date, counted once the row is known to have arrived.
    void add(std::string_view rowStatement, std::vector<std::size_t> zeroDateColumns = {});

    bool empty() const { return rows_.empty(); }
    std::size_t size() const { return rows_.size(); }
    // "INSERT INTO `table` VALUES(...),(...)".
    const std::string& statement() const { return statement_; }
    // The single-row statement of the row at `index`, as it was added.
    std::string rowStatement(std::size_t index) const;
    const std::vector<std::size_t>& zeroDateColumns(std::size_t index) const { return rows_.at(index).zeroDates; }
    void clear();

private:
    struct Row {
        std::size_t offset; // of the row's "(...)" in statement_
        std::size_t length;
        std::vector<std::size_t> zeroDates;
    };

    std::string prefix_; // "INSERT INTO `table` VALUES"
    std::size_t maxStatementBytes_;
    std::string statement_;
    std::vector<Row> rows_;
};

// The longest multi-row statement to send to a server taking statements of at most
// `maxAllowedPacket` bytes: a megabyte, or less on a server that allows less.
std::size_t batchBytesFor(std::int64_t maxAllowedPacket);

} // namespace quintabel
