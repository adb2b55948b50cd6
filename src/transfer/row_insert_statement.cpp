#include "transfer/row_insert_statement.h"

#include "transfer/date_rewrite.h"
#include "transfer/sql_names.h"

namespace quintabel::transfer {

namespace {

// The statement is built as a list of literals, each preceded by an opening apostrophe that
// waits for its value; a value that is no quoted literal (NULL, a hex literal) takes that
// apostrophe back first. These pieces are the separators that keep the list in that shape.
constexpr std::string_view openingPiece = " VALUES('";
constexpr std::string_view afterLiteral = "', '";
constexpr std::string_view nullPiece = "NULL, '";
constexpr std::size_t trailingSeparatorLength = 3; // ", '" after the last value

std::string withEachDoubled(const std::string& text, char doubled)
{
    std::string result;
    result.reserve(text.size() + 8);
    for (const char character : text) {
        if (character == doubled)
            result.push_back(doubled);
        result.push_back(character);
    }
    return result;
}

// The text of a value before the quoting rules apply to it.
std::string valueText(const db::Value& value, TargetKind target)
{
    if (target == TargetKind::MySQL) {
        if (auto rewritten = mysqlDateTimeText(value))
            return withEachDoubled(*rewritten, '\\');
        return withEachDoubled(db::toText(value), '\\');
    }
    return db::toText(value);
}

void appendValue(std::string& statement, const db::Value& value, TargetKind target)
{
    if (const auto* bytes = std::get_if<db::Bytes>(&value); bytes != nullptr && !bytes->empty()) {
        statement.pop_back(); // the opening apostrophe
        statement += "X'";
        statement += db::hexDigits(*bytes);
        statement += afterLiteral;
        return;
    }
    const std::string text = valueText(value, target);
    if (text.empty()) {
        statement.pop_back(); // the opening apostrophe
        statement += nullPiece;
        return;
    }
    statement += withEachDoubled(text, '\'');
    statement += afterLiteral;
}

} // namespace

std::string RowInsertStatement(std::string_view tableName, std::span<const db::Value> row,
                               TargetKind target)
{
    std::string statement = "INSERT INTO " + backtickQuoted(tableName);
    statement += openingPiece;
    for (const db::Value& value : row)
        appendValue(statement, value, target);
    if (row.empty())
        statement.pop_back(); // VALUES(' becomes VALUES(
    else
        statement.resize(statement.size() - trailingSeparatorLength);
    statement += ")";
    return statement;
}

} // namespace quintabel::transfer
