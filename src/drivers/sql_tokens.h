#pragma once
// Splits the few statements the file drivers accept into tokens. Names stand between
// backticks, square brackets or double quotes, where the closing mark written twice stands
// for itself (`a``b`, [b]]k], "x""y"), as text literals use '' for one apostrophe; X'..' is
// a literal of bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel::db::sql {

enum class TokenKind {
    Word,       // a bare word: keyword, bare name or number
    QuotedName, // `name`, [name] or "name"
    Text,       // 'text'
    HexBytes,   // X'0A1B'
    Symbol,     // one of ( ) , ; * . =
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;           // the word, the name, the text, or the symbol
    std::vector<std::uint8_t> bytes; // HexBytes only
    char quote = 0;             // QuotedName: the opening mark
    std::size_t offset = 0;     // where the token starts in the statement
};

// A statement that cannot be split (an unclosed quote, an odd hex literal, a stray
// character) is a DatabaseError naming the place.
std::vector<Token> tokenize(std::string_view statement);

// Reads tokens in order with the checks every statement parser needs.
class TokenCursor {
public:
    TokenCursor(std::string_view statement, std::vector<Token> tokens)
        : statement_(statement), tokens_(std::move(tokens))
    {
    }

    const Token& peek() const { return tokens_[position_]; }
    const Token& take();
    bool takeKeyword(std::string_view keyword); // a Word equal without regard to case
    void expectKeyword(std::string_view keyword);
    bool takeSymbol(char symbol);
    void expectSymbol(char symbol);
    // A name: quoted, or a bare word.
    std::string expectName(std::string_view what);
    // The end of the statement, allowing one final ";".
    void expectEnd();

    [[noreturn]] void fail(const std::string& expected) const;

private:
    std::string_view statement_;
    std::vector<Token> tokens_;
    std::size_t position_ = 0;
};

} // namespace quintabel::db::sql
