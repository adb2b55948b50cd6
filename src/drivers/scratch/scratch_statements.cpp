#include "drivers/scratch/scratch_statements.h"

#include "drivers/connection_attributes.h"
#include "drivers/database_error.h"
#include "drivers/sql_tokens.h"

#include <cctype>
#include <charconv>

namespace quintabel::db::scratch {

namespace {

using sql::TokenCursor;
using sql::TokenKind;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0)
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0)
        text.remove_suffix(1);
    return text;
}

void requireNewColumnName(const std::vector<ColumnDefinition>& columns, const std::string& name,
                          const std::string& table)
{
    for (const ColumnDefinition& column : columns) {
        if (equalsIgnoringCase(column.name, name))
            throw DatabaseError("The table '" + table + "' would have the column '" + name
                                + "' twice.");
    }
}

// The type runs from the token after the column name to the "," or ")" that ends the column
// definition outside any parentheses of the type itself ("decimal(18, 0)").
std::string readTypeText(TokenCursor& tokens, std::string_view statement)
{
    const std::size_t start = tokens.peek().offset;
    int depth = 0;
    while (true) {
        const sql::Token& token = tokens.peek();
        if (token.kind == TokenKind::End)
            tokens.fail("\")\" to close the column list");
        if (token.kind == TokenKind::Symbol) {
            const char symbol = token.text[0];
            if (depth == 0 && (symbol == ',' || symbol == ')'))
                break;
            if (symbol == '(')
                ++depth;
            if (symbol == ')')
                --depth;
        }
        tokens.take();
    }
    return std::string(trimmed(statement.substr(start, tokens.peek().offset - start)));
}

CreateTable parseCreateTable(TokenCursor& tokens, std::string_view statement)
{
    CreateTable create;
    tokens.expectKeyword("TABLE");
    create.table = tokens.expectName("a table name");
    tokens.expectSymbol('(');
    do {
        ColumnDefinition column;
        column.name = tokens.expectName("a column name");
        column.typeText = readTypeText(tokens, statement);
        if (column.typeText.empty())
            tokens.fail("the type of the column '" + column.name + "'");
        column.type = parseJetColumnType(column.typeText, column.name);
        requireNewColumnName(create.columns, column.name, create.table);
        create.columns.push_back(std::move(column));
    } while (tokens.takeSymbol(','));
    tokens.expectSymbol(')');
    tokens.expectEnd();
    return create;
}

Value readLiteral(TokenCursor& tokens)
{
    const sql::Token& token = tokens.peek();
    if (token.kind == TokenKind::Text)
        return tokens.take().text;
    if (token.kind == TokenKind::HexBytes)
        return Bytes(tokens.take().bytes);
    if (tokens.takeKeyword("NULL"))
        return Null{};
    tokens.fail("a quoted value, NULL or X'..'");
}

InsertRow parseInsert(TokenCursor& tokens)
{
    InsertRow insert;
    tokens.expectKeyword("INTO");
    insert.table = tokens.expectName("a table name");
    tokens.expectKeyword("VALUES");
    tokens.expectSymbol('(');
    do {
        insert.values.push_back(readLiteral(tokens));
    } while (tokens.takeSymbol(','));
    tokens.expectSymbol(')');
    tokens.expectEnd();
    return insert;
}

DropTable parseDrop(TokenCursor& tokens)
{
    DropTable drop;
    tokens.expectKeyword("TABLE");
    drop.table = tokens.expectName("a table name");
    tokens.expectEnd();
    return drop;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// "NAME=N;" at the start of `rest` (`option` is "NAME="), N a whole number above 0: taken off
// `rest`. 0 when `rest` does not start with it.
int takeNumberOption(std::string_view& rest, std::string_view option, std::string_view what,
                     const std::string& target)
{
    if (!startsWithIgnoringCase(rest, option))
        return 0;
    const std::size_t end = rest.find(';');
    const std::string_view digits = rest.substr(option.size(), end == std::string_view::npos ? 0 : end - option.size());
    int number = 0;
    const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc{} || last != digits.data() + digits.size() || number <= 0)
        throw DatabaseError("The write-out target [" + target + "] names no " + std::string(what) + " after \""
                            + std::string(option) + "\".");
    rest.remove_prefix(end + 1);
    return number;
}

// select * into [Paradox 5.x;Database=FOLDER].[NAME.db] from [TABLE], where the target may name
// the code page and the key first: [Paradox 5.x;CodePage=1251;KeyFields=2;Database=FOLDER].
// They come before the folder, which runs to the closing bracket and may itself hold ";".
WriteOutToParadox parseWriteOut(TokenCursor& tokens)
{
    WriteOutToParadox writeOut;
    tokens.expectSymbol('*');
    tokens.expectKeyword("INTO");
    const std::string target = tokens.expectName("the target \"[Paradox 5.x;Database=...]\"");
    constexpr std::string_view isam = "Paradox 5.x;";
    constexpr std::string_view database = "Database=";
    std::string_view rest(target);
    if (startsWithIgnoringCase(rest, isam)) {
        rest.remove_prefix(isam.size());
        writeOut.codePage = takeNumberOption(rest, "CodePage=", "code page number", target);
        writeOut.keyFields = takeNumberOption(rest, "KeyFields=", "number of key fields", target);
    }
    if (rest.size() == target.size() || !startsWithIgnoringCase(rest, database))
        throw DatabaseError("The scratch database writes only Paradox 5.x tables, named as "
                            "[Paradox 5.x;Database=folder]; not [" + target + "].");
    writeOut.folder = std::string(rest.substr(database.size()));
    if (writeOut.folder.empty())
        throw DatabaseError("The write-out names no folder.");
    tokens.expectSymbol('.');
    const std::string fileName = tokens.expectName("the target table \"[NAME.db]\"");
    constexpr std::string_view extension = ".db";
    if (fileName.size() <= extension.size()
        || !equalsIgnoringCase(std::string_view(fileName).substr(fileName.size() - extension.size()),
                               extension))
        throw DatabaseError("The target table '" + fileName + "' is not a name ending in \".db\".");
    writeOut.paradoxTable = fileName.substr(0, fileName.size() - extension.size());
    writeOut.lowerCaseExtension = fileName.substr(fileName.size() - 2) == "db";
    tokens.expectKeyword("FROM");
    writeOut.sourceTable = tokens.expectName("a table name");
    tokens.expectEnd();
    return writeOut;
}

} // namespace

ScratchStatement parseScratchStatement(std::string_view statement)
{
    TokenCursor tokens(statement, sql::tokenize(statement));
    if (tokens.takeKeyword("CREATE"))
        return parseCreateTable(tokens, statement);
    if (tokens.takeKeyword("INSERT"))
        return parseInsert(tokens);
    if (tokens.takeKeyword("DROP"))
        return parseDrop(tokens);
    if (tokens.takeKeyword("SELECT"))
        return parseWriteOut(tokens);
    throw DatabaseError("The scratch database runs only CREATE TABLE, INSERT, DROP TABLE and the "
                        "Paradox write-out, not: " + std::string(statement));
}

} // namespace quintabel::db::scratch
