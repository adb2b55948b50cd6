#pragma once
// The column that a MySQL or MariaDB server names when it refuses a row ("Data too long for
// column 'NAME' at row 1"), for a report that lists refused rows by column. The server gives
// the column only in its message text, in one of two spellings.

#include <optional>
#include <string>
#include <string_view>

namespace quintabel::transfer {

// The column named by "for column 'NAME' at row", "for column `db`.`table`.`NAME` at row"
// (backticks inside a name doubled), "Column 'NAME' cannot be null" or "Field 'NAME' doesn't
// have a default value"; nothing when the message names no column.
std::optional<std::string> columnNamedInRefusal(std::string_view message);

} // namespace quintabel::transfer
