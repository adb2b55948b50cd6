#pragma once
// The comment a user's CREATE TABLE statement gives its table. A customised statement may set
// one itself, and the transfer's mark (transfer/mysql_swap_marker.h) stands in its place while
// the table is built: the comment must be known to be put back when the mark comes off.

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

} // namespace quintabel
