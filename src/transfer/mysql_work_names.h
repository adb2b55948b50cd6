#pragma once
// The names a MySQL table travels under while a transfer replaces or creates it: its new copy
// is built as `quintabel-new-NAME` and an existing table goes to `quintabel-old-NAME` in the
// swap, each cut to MySQL's 64 characters, with "-2", "-3", ... after the cut when the name is
// taken.

#include <string>
#include <string_view>

namespace quintabel {

inline constexpr std::string_view kNewCopyPrefix = "quintabel-new-";
inline constexpr std::string_view kOldCopyPrefix = "quintabel-old-";

// MySQL's longest table name, counted in characters.
inline constexpr int kLongestMySqlName = 64;

// The `attempt`-th candidate (from 1) for `prefix` + `table`: the first has no suffix, the
// n-th ends in "-n". A name is cut between characters of UTF-8, never inside one.
std::string workTableName(std::string_view prefix, std::string_view table, int attempt);

// True when `name` begins with `prefix`, a to z compared without regard to case (a server that
// folds names to lower case lists them that way).
bool hasWorkPrefix(std::string_view name, std::string_view prefix);

} // namespace quintabel
