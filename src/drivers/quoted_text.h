#pragma once
// Reads a run of text that ends at a closing mark, where the mark written twice stands for
// itself: 'O''Neil' in SQL, {p}}q} in a connection string.

#include <optional>
#include <string>
#include <string_view>

namespace quintabel::db {

// `position` is just after the opening mark; on success it moves past the closing mark.
// Nothing when the closing mark never comes.
std::optional<std::string> readUntilClosingMark(std::string_view text, std::size_t& position,
                                                char closingMark);

} // namespace quintabel::db
