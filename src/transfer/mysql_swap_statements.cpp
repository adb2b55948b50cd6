#include "transfer/mysql_swap_statements.h"

#include "transfer/sql_names.h"

namespace quintabel {

namespace {

std::string_view withoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string withTableComment(std::string_view createStatement, std::string_view comment)
{
    std::string_view statement = withoutTrailingBlanks(createStatement);
    if (statement.ends_with(';'))
        statement = withoutTrailingBlanks(statement.substr(0, statement.size() - 1));
    return std::string(statement) + " COMMENT=" + mysqlTextLiteral(comment);
}

std::string swapInStatement(std::string_view table, std::string_view newTable,
                            const std::optional<std::string>& oldTable)
{
    std::string statement = "RENAME TABLE ";
    if (oldTable)
        statement += backtickQuoted(table) + " TO " + backtickQuoted(*oldTable) + ", ";
    return statement + backtickQuoted(newTable) + " TO " + backtickQuoted(table);
}

std::string clearCommentStatement(std::string_view table, std::string_view ownComment)
{
    return "ALTER TABLE " + backtickQuoted(table) + " COMMENT=" + mysqlTextLiteral(ownComment);
}

std::string tableProbeStatement(std::string_view table)
{
    return "SELECT * FROM " + backtickQuoted(table) + " LIMIT 0";
}

std::string mysqlTextLiteral(std::string_view text)
{
    std::string literal = "'";
    for (const char character : text) {
        if (character == '\'' || character == '\\')
            literal.push_back(character);
        literal.push_back(character);
    }
    return literal + "'";
}

} // namespace quintabel
