#include "transfer/row_insert_statement.h"

#include "transfer/date_rewrite.h"
#include "transfer/sql_names.h"

namespace quintabel {

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
    // Most values hold nothing to double: they are taken whole rather than a character at a time.
    if (text.find(doubled) == std::string::npos)
        return text;
    std::string result;
    result.reserve(text.size() + 8);
    for (const char character : text) {
        if (character == doubled)
            result.push_back(doubled);
        result.push_back(character);
    }
    return result;
}

RowValueText valueTextOf(const db::Value& value, TargetKind target)
{
    if (const auto* bytes = std::get_if<db::Bytes>(&value); bytes != nullptr && !bytes->empty())
        return {RowValueText::Kind::Bytes, db::hexDigits(*bytes)};
    std::string text;
    if (target == TargetKind::MySQL) {
        if (auto rewritten = mysqlDateTimeText(value))
            text = std::move(*rewritten);
        else
            text = db::toText(value);
    } else {
        text = db::toText(value);
    }
    if (text.empty())
        return {};
    return {RowValueText::Kind::Text, std::move(text)};
}

void appendValue(std::string& statement, const RowValueText& value, TargetKind target)
{
    switch (value.kind) {
    case RowValueText::Kind::Bytes:
        statement.pop_back(); // the opening apostrophe
        statement += "X'";
        statement += value.text;
        statement += afterLiteral;
        return;
    case RowValueText::Kind::Null:
        statement.pop_back(); // the opening apostrophe
        statement += nullPiece;
        return;
    case RowValueText::Kind::Text:
        break;
    }
    // Backslashes first (MySQL reads them as escapes), apostrophes after.
    const std::string text = target == TargetKind::MySQL ? withEachDoubled(value.text, '\\') : value.text;
    if (text.find('\'') == std::string::npos)
        statement += text;
    else
        statement += withEachDoubled(text, '\'');
    statement += afterLiteral;
}

} // namespace

std::string RowInsertStatement(std::string_view tableName, std::span<const db::Value> row,
                               TargetKind target)
{
    std::vector<RowValueText> texts;
    rowValueTexts(row, target, texts);
    return rowInsertStatementOfTexts(tableName, texts, target);
}

void rowValueTexts(std::span<const db::Value> row, TargetKind target, std::vector<RowValueText>& texts)
{
    texts.clear();
    texts.reserve(row.size());
    for (const db::Value& value : row)
        texts.push_back(valueTextOf(value, target));
}

std::string rowInsertStatementOfTexts(std::string_view tableName, std::span<const RowValueText> texts,
                                      TargetKind target)
{
    std::string statement = "INSERT INTO " + backtickQuoted(tableName);
    statement += openingPiece;
    for (const RowValueText& value : texts)
        appendValue(statement, value, target);
    if (texts.empty())
        statement.pop_back(); // VALUES(' becomes VALUES(
    else
        statement.resize(statement.size() - trailingSeparatorLength);
    statement += ")";
    return statement;
}

} // namespace quintabel
