#include "transfer/mysql_table_comment.h"

#include "base/ascii_case.h"

#include <cctype>

namespace quintabel {

namespace {

bool isBlank(char character)
{
    return character == ' ' || character == '\t' || character == '\r' || character == '\n';
}

void skipBlanks(std::string_view text, std::size_t& at)
{
    while (at < text.size() && isBlank(text[at]))
        ++at;
}

bool isWordCharacter(char character)
{
    const auto byte = static_cast<unsigned char>(character);
    return std::isalnum(byte) != 0 || character == '_' || character == '$' || byte >= 0x80;
}

std::string_view readWord(std::string_view text, std::size_t& at)
{
    const std::size_t start = at;
    while (at < text.size() && isWordCharacter(text[at]))
        ++at;
    return text.substr(start, at - start);
}

// What a backslash and `escaped` stand for in a text literal: MySQL keeps the backslash
// before % and _ (they matter to LIKE), and takes any other character as itself.
std::string unescaped(char escaped)
{
    switch (escaped) {
    case '0': return std::string(1, '\0');
    case 'b': return "\b";
    case 'n': return "\n";
    case 'r': return "\r";
    case 't': return "\t";
    case 'Z': return "\x1a";
    case '%': return "\\%";
    case '_': return "\\_";
    default: return std::string(1, escaped);
    }
}

// The text literal that starts at `at` with its quote, read; `at` then stands after it.
// Nothing when it does not close.
std::optional<std::string> readTextLiteral(std::string_view text, std::size_t& at)
{
    const char quote = text[at];
    std::string value;
    for (std::size_t index = at + 1; index < text.size(); ++index) {
        if (text[index] == '\\' && index + 1 < text.size()) {
            value += unescaped(text[++index]);
        } else if (text[index] != quote) {
            value.push_back(text[index]);
        } else if (index + 1 < text.size() && text[index + 1] == quote) {
            value.push_back(quote);
            ++index;
        } else {
            at = index + 1;
            return value;
        }
    }
    return std::nullopt;
}

// Steps over the name between backticks at `at` (a backtick written twice inside); false when
// it does not close.
bool skipQuotedName(std::string_view text, std::size_t& at)
{
    for (std::size_t index = at + 1; index < text.size(); ++index) {
        if (text[index] != '`')
            continue;
        if (index + 1 < text.size() && text[index + 1] == '`') {
            ++index;
            continue;
        }
        at = index + 1;
        return true;
    }
    return false;
}

bool startsComment(std::string_view text, std::size_t at)
{
    const std::string_view rest = text.substr(at);
    return rest.starts_with('#') || rest.starts_with("/*")
        || (rest.starts_with("--") && (rest.size() == 2 || isBlank(rest[2])));
}

void skipComment(std::string_view text, std::size_t& at)
{
    const std::size_t end = text[at] == '/' ? text.find("*/", at + 2) : text.find('\n', at);
    at = end == std::string_view::npos ? text.size() : end + (text[at] == '/' ? 2 : 1);
}

// Calls `visit` with each word of `statement` outside quotes and comments, the parenthesis
// depth and whether the column list has closed (it may read on from the word, moving `at`);
// `closed` with the offset of the column list's closing parenthesis. False when a quote or a
// name does not close, or `visit` says so.
template <typename WordVisit, typename ListClosed>
bool scanCreateStatement(std::string_view statement, WordVisit visit, ListClosed closed)
{
    int depth = 0;
    bool columnsRead = false; // the column list has closed: what follows are table options
    for (std::size_t at = 0; at < statement.size();) {
        const char character = statement[at];
        if (character == '\'' || character == '"') {
            if (!readTextLiteral(statement, at))
                return false;
        } else if (character == '`') {
            if (!skipQuotedName(statement, at))
                return false;
        } else if (startsComment(statement, at)) {
            skipComment(statement, at);
        } else if (isWordCharacter(character)) {
            const std::string_view word = readWord(statement, at);
            if (!visit(word, depth, columnsRead, at))
                return false;
        } else {
            depth += character == '(' ? 1 : character == ')' ? -1 : 0;
            if (character == ')' && depth == 0 && !columnsRead) {
                columnsRead = true;
                closed(at);
            }
            ++at;
        }
    }
    return true;
}

} // namespace

std::optional<std::size_t> columnListEnd(std::string_view statement)
{
    std::optional<std::size_t> end;
    const bool read = scanCreateStatement(
        statement, [](std::string_view, int, bool, std::size_t&) { return true; },
        [&](std::size_t at) { end = at; });
    return read ? end : std::nullopt;
}

std::optional<std::string> tableCommentOf(std::string_view statement)
{
    std::optional<std::string> comment;
    const bool read = scanCreateStatement(
        statement,
        [&](std::string_view word, int depth, bool columnsRead, std::size_t& at) {
            if (!columnsRead || depth != 0 || asciiLowerCase(word) != "comment")
                return true;
            skipBlanks(statement, at);
            if (at < statement.size() && statement[at] == '=') {
                ++at;
                skipBlanks(statement, at);
            }
            if (at < statement.size() && (statement[at] == '\'' || statement[at] == '"')) {
                comment = readTextLiteral(statement, at);
                return comment.has_value();
            }
            return true;
        },
        [](std::size_t) {});
    return read ? comment : std::nullopt;
}

} // namespace quintabel
