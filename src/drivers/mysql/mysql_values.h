#pragma once
// Turns the text protocol's bytes for one field into a typed Value, exactly: integers and
// decimals keep every digit, binary strings keep every byte, and a date that is all zeros
// ("0000-00-00") becomes NULL, marked as a zero date. A date with only some zero parts cannot
// be a real date, so it stays text rather than be changed.

#include "drivers/mysql/mysql_column_types.h"
#include "drivers/value.h"

#include <string_view>

namespace quintabel::db::mysql {

// `columnName` names the column in the message of a DatabaseError for a malformed value.
Value convertFieldText(ValueKind kind, std::string_view text, std::string_view columnName);

} // namespace quintabel::db::mysql
