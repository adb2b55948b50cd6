#include "drivers/quoted_text.h"

namespace quintabel::db {

std::optional<std::string> readUntilClosingMark(std::string_view text, std::size_t& position,
                                                char closingMark)
{
    std::string content;
    while (position < text.size()) {
        const char c = text[position];
        if (c == closingMark) {
            if (position + 1 < text.size() && text[position + 1] == closingMark) {
                content.push_back(closingMark);
                position += 2;
                continue;
            }
            ++position;
            return content;
        }
        content.push_back(c);
        ++position;
    }
    return std::nullopt;
}

std::string quotedWithMarks(std::string_view text, char openingMark, char closingMark)
{
    std::string quoted(1, openingMark);
    for (const char c : text) {
        quoted.push_back(c);
        if (c == closingMark)
            quoted.push_back(closingMark);
    }
    quoted.push_back(closingMark);
    return quoted;
}

} // namespace quintabel::db
