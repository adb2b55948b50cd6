#include "drivers/paradox/paradox_statements.h"

#include "drivers/database_error.h"
#include "drivers/sql_tokens.h"

#include <charconv>

namespace quintabel::db::paradox {

namespace {

std::uint64_t readTopCount(sql::TokenCursor& tokens)
{
    const sql::Token& token = tokens.peek();
    std::uint64_t count = 0;
    if (token.kind == sql::TokenKind::Word) {
        const auto [end, error] =
            std::from_chars(token.text.data(), token.text.data() + token.text.size(), count);
        if (error == std::errc{} && end == token.text.data() + token.text.size() && count > 0) {
            tokens.take();
            return count;
        }
    }
    tokens.fail("a positive whole number after TOP");
}

} // namespace

ParadoxStatement parseParadoxStatement(std::string_view statement)
{
    sql::TokenCursor tokens(statement, sql::tokenize(statement));
    if (tokens.takeKeyword("SELECT")) {
        SelectAll select;
        if (tokens.takeKeyword("TOP"))
            select.top = readTopCount(tokens);
        tokens.expectSymbol('*');
        tokens.expectKeyword("FROM");
        select.table = tokens.expectName("a table name");
        tokens.expectEnd();
        return select;
    }
    if (tokens.takeKeyword("DROP")) {
        DropTable drop;
        tokens.expectKeyword("TABLE");
        drop.table = tokens.expectName("a table name");
        tokens.expectEnd();
        return drop;
    }
    throw DatabaseError("The Paradox driver runs only SELECT * FROM, SELECT TOP n * FROM and "
                        "DROP TABLE, not: " + std::string(statement));
}

} // namespace quintabel::db::paradox
