#pragma once
// Runs of text between quoting marks, where the closing mark written twice stands for
// itself: 'O''Neil' in SQL, {p}}q} in a connection string, [b]]k] as a name.

#include <optional>
#include <string>
#include <string_view>

namespace quintabel::db {

// `position` is just after the opening mark; on success it moves past the closing mark.
// Nothing when the closing mark never comes.
std::optional<std::string> readUntilClosingMark(std::string_view text, std::size_t& position,
                                                char closingMark);

// `text` between `openingMark` and `closingMark`, each closing mark in it written twice, so
// that readUntilClosingMark reads it back whole: ("b]k", '[', ']') gives "[b]]k]".
std::string quotedWithMarks(std::string_view text, char openingMark, char closingMark);

} // namespace quintabel::db
