#pragma once
// Rows bound for one MySQL table, written as the content of a LOAD DATA LOCAL INFILE file, to
// be handed to the server from memory.
//
// The server reads such a file far faster than it parses the same rows as INSERT text, and
// stores each field as it stores a quoted literal: the same date rewriting, the same NULL for
// an empty value, the same conversion to the column. But LOAD DATA LOCAL turns what INSERT
// refuses into warnings (it keeps the row with a changed value, or skips it), so its rows are
// kept only when the server stored every one of them without a single warning; otherwise the
// caller undoes them and sends them as INSERT statements after all.
//
// A byte string is sent by INSERT as a hex literal, which goes into a column without passing
// through a character set; a file's bytes are read in the file's character set. The two could
// differ (a customised text column of another character set), so a row holding one makes the
// rows gathered not loadable, and they go as INSERT statements.

#include "drivers/value.h"
#include "transfer/row_insert_statement.h"

#include <span>
#include <string>
#include <string_view>

namespace quintabel {

class MySqlLoadRows {
public:
    // The name the statement gives the file; the connection serves the content under it.
    static constexpr std::string_view kFileName = "quintabel-rows";

    explicit MySqlLoadRows(std::string_view tableName);

    // Adds the row as one line: fields separated by a tab, a NULL (or an empty value) as \N,
    // and the escape character, tabs, line ends and NUL bytes escaped.
    void add(std::span<const db::Value> row);
    // The same for a row whose value texts for a MySQL target were taken already.
    void add(std::span<const RowValueText> row);
    // Whether every row added can go by LOAD DATA (none held a byte string).
    bool loadable() const { return loadable_; }
    bool empty() const { return rows_ == 0; }
    std::size_t size() const { return rows_; }
    const std::string& content() const { return content_; }
    // "LOAD DATA LOCAL INFILE 'quintabel-rows' INTO TABLE `table` CHARACTER SET utf8mb4 ...",
    // with every field and line option spelt out, so that no server default changes them.
    const std::string& statement() const { return statement_; }
    void clear();

private:
    std::string statement_;
    std::string content_;
    std::size_t rows_ = 0;
    bool loadable_ = true;
};

} // namespace quintabel
