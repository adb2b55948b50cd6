#include "drivers/sql_tokens.h"

#include "drivers/connection_attributes.h"
#include "drivers/database_error.h"
#include "drivers/quoted_text.h"

#include <cctype>

namespace quintabel::db::sql {

namespace {

[[noreturn]] void cannotRead(std::string_view statement, std::size_t offset, const char* why)
{
    throw DatabaseError("Cannot read the statement at character " + std::to_string(offset + 1)
                        + " (" + why + "): " + std::string(statement));
}

bool isWordCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    // Bytes from 0x80 on belong to UTF-8 letters of bare names.
    return std::isalnum(byte) != 0 || c == '_' || c == '$' || byte >= 0x80;
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads '...' starting at the opening apostrophe; '' stands for one apostrophe.
std::string readText(std::string_view statement, std::size_t& position)
{
    const std::size_t start = position;
    ++position;
    auto text = readUntilClosingMark(statement, position, '\'');
    if (!text)
        cannotRead(statement, start, "a text literal is never closed");
    return std::move(*text);
}

std::vector<std::uint8_t> hexToBytes(std::string_view statement, std::size_t offset,
                                     const std::string& digits)
{
    if (digits.size() % 2 != 0)
        cannotRead(statement, offset, "a hex literal with an odd number of digits");
    std::vector<std::uint8_t> bytes;
    bytes.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = hexDigitValue(digits[i]);
        const int low = hexDigitValue(digits[i + 1]);
        if (high < 0 || low < 0)
            cannotRead(statement, offset, "a hex literal with a character that is no hex digit");
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

char closingMark(char opening)
{
    return opening == '[' ? ']' : opening;
}

} // namespace

std::vector<Token> tokenize(std::string_view statement)
{
    std::vector<Token> tokens;
    std::size_t position = 0;
    while (position < statement.size()) {
        const char c = statement[position];
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            ++position;
            continue;
        }
        Token token;
        token.offset = position;
        if ((c == 'X' || c == 'x') && position + 1 < statement.size()
            && statement[position + 1] == '\'') {
            ++position;
            token.kind = TokenKind::HexBytes;
            const std::string digits = readText(statement, position);
            token.bytes = hexToBytes(statement, token.offset, digits);
        } else if (c == '\'') {
            token.kind = TokenKind::Text;
            token.text = readText(statement, position);
        } else if (c == '`' || c == '[' || c == '"') {
            // The closing mark written twice stands for itself: `a``b`, [b]]k], "x""y".
            ++position;
            auto name = readUntilClosingMark(statement, position, closingMark(c));
            if (!name)
                cannotRead(statement, token.offset, "a quoted name is never closed");
            token.kind = TokenKind::QuotedName;
            token.quote = c;
            token.text = std::move(*name);
        } else if (isWordCharacter(c)) {
            const std::size_t start = position;
            while (position < statement.size() && isWordCharacter(statement[position]))
                ++position;
            token.kind = TokenKind::Word;
            token.text = std::string(statement.substr(start, position - start));
        } else if (std::string_view("(),;*.=").find(c) != std::string_view::npos) {
            token.kind = TokenKind::Symbol;
            token.text = std::string(1, c);
            ++position;
        } else {
            cannotRead(statement, position, "an unexpected character");
        }
        tokens.push_back(std::move(token));
    }
    Token end;
    end.offset = statement.size();
    tokens.push_back(end);
    return tokens;
}

const Token& TokenCursor::take()
{
    const Token& token = tokens_[position_];
    if (token.kind != TokenKind::End)
        ++position_;
    return token;
}

bool TokenCursor::takeKeyword(std::string_view keyword)
{
    if (peek().kind == TokenKind::Word && equalsIgnoringCase(peek().text, keyword)) {
        take();
        return true;
    }
    return false;
}

void TokenCursor::expectKeyword(std::string_view keyword)
{
    if (!takeKeyword(keyword))
        fail(std::string(keyword));
}

bool TokenCursor::takeSymbol(char symbol)
{
    if (peek().kind == TokenKind::Symbol && peek().text[0] == symbol) {
        take();
        return true;
    }
    return false;
}

void TokenCursor::expectSymbol(char symbol)
{
    if (!takeSymbol(symbol))
        fail(std::string("\"") + symbol + "\"");
}

std::string TokenCursor::expectName(std::string_view what)
{
    const Token& token = peek();
    if (token.kind != TokenKind::QuotedName && token.kind != TokenKind::Word)
        fail(std::string(what));
    if (token.text.empty())
        fail(std::string(what) + " that is not empty");
    return take().text;
}

void TokenCursor::expectEnd()
{
    takeSymbol(';');
    if (peek().kind != TokenKind::End)
        fail("the end of the statement");
}

void TokenCursor::fail(const std::string& expected) const
{
    const Token& token = peek();
    const std::string found = token.kind == TokenKind::End
        ? std::string("the end")
        : "'" + std::string(statement_.substr(token.offset, 30)) + "'";
    throw DatabaseError("Syntax error: expected " + expected + " at character "
                        + std::to_string(token.offset + 1) + ", found " + found + ", in: "
                        + std::string(statement_));
}

} // namespace quintabel::db::sql
