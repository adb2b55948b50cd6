#pragma once
// Quoting of table and column names in the statements the transfers build.

#include <string>
#include <string_view>

namespace quintabel {

// `name` between backticks, as MySQL and the scratch database read it. A backtick inside the
// name is doubled: both databases read `` inside a quoted name as one backtick, so the name
// arrives whole and cannot end the quoting early and rewrite the rest of the statement.
// A name without backticks comes out exactly as "`" + name + "`".
std::string backtickQuoted(std::string_view name);

} // namespace quintabel
