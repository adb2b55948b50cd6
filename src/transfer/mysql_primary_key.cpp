#include "transfer/mysql_primary_key.h"

#include "base/ascii_case.h"
#include "connections/connection.h"
#include "connections/recordset.h"
#include "paradoxfile/key_order.h"
#include "transfer/sql_names.h"

#include <algorithm>

namespace quintabel {

namespace {

std::string listed(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

} // namespace

std::vector<std::string> mysqlPrimaryKey(connections::Connection& mysql, const std::string& table)
{
    connections::Recordset keys = mysql.Execute("SHOW KEYS FROM " + backtickQuoted(table) + " WHERE Key_name = 'PRIMARY'");
    std::vector<std::pair<long long, std::string>> columns;
    for (; !keys.Eof(); keys.MoveNext())
        columns.emplace_back(std::stoll(db::toText(keys.Fields("Seq_in_index").Value())),
                             db::toText(keys.Fields("Column_name").Value()));
    std::sort(columns.begin(), columns.end());
    std::vector<std::string> names;
    for (auto& column : columns)
        names.push_back(std::move(column.second));
    return names;
}

std::vector<std::string> mysqlColumns(connections::Connection& mysql, const std::string& table)
{
    connections::Recordset columns = mysql.Execute("SHOW COLUMNS FROM " + backtickQuoted(table));
    std::vector<std::string> names;
    for (; !columns.Eof(); columns.MoveNext())
        names.push_back(db::toText(columns.Fields("Field").Value()));
    return names;
}

ParadoxKeyChoice paradoxKeyFor(const std::vector<std::string>& columns, const std::vector<std::string>& primaryKey)
{
    if (primaryKey.empty())
        return {};
    const int count = static_cast<int>(primaryKey.size());
    if (count > paradox::maxKeyFields)
        return {0, "its primary key has " + std::to_string(count) + " columns, and a Paradox key at most "
                       + std::to_string(paradox::maxKeyFields) + "."};
    // MySQL compares column names without regard to case.
    const bool first = primaryKey.size() <= columns.size()
        && std::equal(primaryKey.begin(), primaryKey.end(), columns.begin(),
                      [](const std::string& key, const std::string& column) {
                          return asciiLowerCase(key) == asciiLowerCase(column);
                      });
    if (!first)
        return {0, "its primary key (" + listed(primaryKey)
                       + ") is not made of its first columns in key order, and a Paradox table's key is its first "
                         "fields."};
    return {count, {}};
}

} // namespace quintabel
