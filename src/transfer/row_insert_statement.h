#pragma once
// One row of a source table as the INSERT statement that copies it into the target table.

#include "drivers/value.h"
#include "transfer/target_kind.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel {

// "INSERT INTO `table` VALUES(...)": no column list, no closing semicolon. Every value is a
// quoted text literal, numbers included, in the program's own text form (db::toText), except:
//
// - a null value and a value whose text is empty are written NULL. The two are not told apart,
//   and on this road that loses nothing: a Paradox field stores a blank value as blank, so a
//   Paradox source never holds an empty text beside a null one, and a Paradox target cannot
//   keep them apart either. An empty byte string counts as empty, hence NULL, too;
// - bytes are written as a hex literal without surrounding apostrophes, X'00FF41', so that
//   every byte arrives as it was (a text literal would have to pass through the connection's
//   character set). The hex digits need no escaping. A row of 7, the bytes 00 FF and a null
//   reads VALUES('7', X'00FF', NULL).
//
// For a MySQL target, a value recognised as a date (mysqlDateTimeText) is first rewritten to
// "yyyy-mm-dd hh:nn:ss", then every backslash is doubled, because MySQL reads a backslash in a
// literal as the start of an escape. For both targets every apostrophe is then doubled. The
// order matters: a\'b becomes 'a\\''b', never 'a\''b'.
//
// The table name goes between backticks with any backtick in it doubled (backtickQuoted).
// A row of no fields gives "VALUES()".
std::string RowInsertStatement(std::string_view tableName, std::span<const db::Value> row,
                               TargetKind target);

// What one value of a row is before the quoting rules apply: NULL (a null, an empty text or
// empty bytes), the bytes of a hex literal, or a text (for a MySQL target with its date
// rewritten, but with no character doubled yet). The LOAD DATA lines of a batch are made from
// the same texts as the statement, so that both say the same and each value is read once.
struct RowValueText {
    enum class Kind { Null, Bytes, Text };
    Kind kind = Kind::Null;
    std::string text; // the text, or the upper-case hex digits of the bytes
};

// The value texts of `row` for `target`, into `texts` (one per value).
void rowValueTexts(std::span<const db::Value> row, TargetKind target, std::vector<RowValueText>& texts);

// RowInsertStatement of a row whose value texts were taken already.
std::string rowInsertStatementOfTexts(std::string_view tableName, std::span<const RowValueText> texts,
                                      TargetKind target);

} // namespace quintabel
