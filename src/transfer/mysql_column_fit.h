#pragma once
// Whether a column of a MySQL target, created with a default column type, keeps a value exactly.
//
// Strict mode does not guard every case: MariaDB stores '3.5' in an INT column as 4 and
// '3.14159265' in a FLOAT column as 3.14159 without an error or even a warning, and keeps only
// a note when a DECIMAL column rounds a fraction away. These values are caught here, before
// the row is sent, so that the row fails with a report instead of changing silently. What the
// server itself refuses in strict mode (a number out of an INT's range, a text longer than a
// TEXT column, bytes that are no UTF-8 in a TEXT column) is left to the server's own message.

#include "drivers/value.h"

#include <optional>
#include <string>
#include <string_view>

namespace quintabel::transfer {

// Nothing when a column of the default MySQL type `keyword` ("TEXT", "DECIMAL", "INT", "BLOB"
// or "FLOAT", as DefaultColumnType gives them) keeps `value` exactly as RowInsertStatement
// sends it; otherwise a message naming the column `columnName`, the value and what the column
// would do to it. NULL, and anything sent as NULL, fits every column.
//
// - INT and DECIMAL (which MySQL reads as DECIMAL(10,0)) keep whole numbers only: a number
//   with a fraction that is not zero, or written with an exponent, does not fit;
// - FLOAT is a single-precision column: it keeps a number exactly only when the number has at
//   most 6 significant decimal digits (a float's guaranteed decimal precision) and lies within
//   a float's normal range, or is zero;
// - TEXT and BLOB keep every value the server accepts.
std::optional<std::string> mysqlDefaultColumnMisfit(std::string_view keyword, std::string_view columnName,
                                                    const db::Value& value);

} // namespace quintabel::transfer
