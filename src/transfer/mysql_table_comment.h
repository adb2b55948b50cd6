#pragma once
// Reading a user's CREATE TABLE statement, as far as the transfer must: the comment it gives
// its table, and where its column list ends.
//
// A customised statement may set a comment itself, and the transfer's mark
// (transfer/mysql_swap_marker.h) stands in its place while the table is built: the comment
// must be known to be put back when the mark comes off. The keys of a Paradox table go in
// after its last column (transfer/table_keys.h).

#include <optional>
#include <string>
#include <string_view>

namespace quintabel {

// The table comment that `createStatement` sets itself: the last COMMENT among the table options
// after its column list (COMMENT 'text', COMMENT = 'text', or in double quotes), as the server
// reads it under the program's session mode (backslash escapes on, a quote written twice
// standing for itself). Nothing when it sets none, or when the statement cannot be read so far
// (a quote left open).
std::optional<std::string> tableCommentOf(std::string_view createStatement);

// Where the closing parenthesis of the column list of `createStatement` stands. Nothing when
// the statement cannot be read so far or has no column list.
std::optional<std::size_t> columnListEnd(std::string_view createStatement);

} // namespace quintabel
