#include "transfer/mysql_load_rows.h"

#include "transfer/date_rewrite.h"
#include "transfer/sql_names.h"

namespace quintabel::transfer {

namespace {

void appendEscaped(std::string& content, std::string_view text)
{
    for (const char character : text) {
        switch (character) {
        case '\\':
            content += "\\\\";
            break;
        case '\t':
            content += "\\t";
            break;
        case '\n':
            content += "\\n";
            break;
        case '\0':
            content += "\\0";
            break;
        default:
            content += character;
        }
    }
}

} // namespace

MySqlLoadRows::MySqlLoadRows(std::string_view tableName)
    : statement_("LOAD DATA LOCAL INFILE '" + std::string(kFileName) + "' INTO TABLE " + backtickQuoted(tableName)
                 + " CHARACTER SET utf8mb4 FIELDS TERMINATED BY '\\t' ENCLOSED BY '' ESCAPED BY '\\\\'"
                   " LINES STARTING BY '' TERMINATED BY '\\n'")
{
}

void MySqlLoadRows::add(std::span<const db::Value> row)
{
    ++rows_;
    // An empty line would be read as one empty field, not as a row of none.
    if (row.empty())
        loadable_ = false;
    if (!loadable_)
        return;
    bool first = true;
    for (const db::Value& value : row) {
        if (!first)
            content_ += '\t';
        first = false;
        if (const auto* bytes = std::get_if<db::Bytes>(&value); bytes != nullptr && !bytes->empty()) {
            loadable_ = false;
            return;
        }
        // As RowInsertStatement writes the value for a MySQL target, before its quoting.
        const std::string text = mysqlDateTimeText(value).value_or(db::toText(value));
        if (text.empty())
            content_ += "\\N";
        else
            appendEscaped(content_, text);
    }
    content_ += '\n';
}

void MySqlLoadRows::clear()
{
    content_.clear();
    rows_ = 0;
    loadable_ = true;
}

} // namespace quintabel::transfer
