#pragma once
// The column that a MySQL or MariaDB server names when it refuses a row ("Data too long for
// column 'NAME' at row 1"), for a report that lists refused rows by column. The server gives
// the column only in its message text, in one of two spellings.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quintabel {

namespace db {
class DatabaseError;
}

// The column named by "for column 'NAME' at row", "for column `db`.`table`.`NAME` at row"
// (backticks inside a name doubled), "Column 'NAME' cannot be null" or "Field 'NAME' doesn't
// have a default value"; nothing when the message names no column.
std::optional<std::string> columnNamedInRefusal(std::string_view message);

// The server names the row of a refused value by its place in the statement ("at row 1"),
// which for a statement of one row is always 1; the user knows it by its place in the table.
// `message` with a closing " at row N" naming `tableRow` instead; unchanged when it ends
// otherwise.
std::string refusalAtTableRow(std::string_view message, std::int64_t tableRow);

// Throws the server's refusal of a single-row statement on, its row named by `tableRow` as
// refusalAtTableRow does, and marked as an expected problem when `failure` was. Unchanged
// text rethrows the exception itself. Call only inside the catch block that caught `failure`.
[[noreturn]] void rethrowRefusalAtTableRow(const db::DatabaseError& failure, std::int64_t tableRow);

} // namespace quintabel
