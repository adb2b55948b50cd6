#pragma once
// Finding a table by name in a Paradox folder and in the folders below it. The table list
// shows the tables of every folder below the Paradox folder by their bare names, so a name
// from the list may stand for a file in a subfolder; this is how such a name is found again.
//
// The folders searched are the ones the table list walks: every folder below, at any depth,
// except a folder reached through a symbolic link (so that a link loop cannot make the search
// endless), a folder of Quintabel's own working names (".quintabel-…": what they hold is not
// the user's table until the recovery has put it back), a folder whose name is not valid
// UTF-8 or holds control characters or "?", and a folder that cannot be read. Names are
// matched without regard to letter case, as everywhere in the Paradox folder.

#include <filesystem>
#include <string_view>
#include <vector>

namespace quintabel::paradox {

// The prefix of every file and folder Quintabel makes for its own work in a Paradox folder.
inline constexpr std::string_view workingNamePrefix = ".quintabel-";

// The .DB of table `tableName`. The folder itself comes first: a table there is the one meant,
// whatever the folders below hold. Otherwise the one table of that name below the folder.
// Throws TableNotFoundError ("Paradox table 'ORDERS' was not found in folder '…'.") when there
// is none; AmbiguousTableError naming every file it could be when several files below the
// folder (or two in the folder itself that differ only in letter case) hold the name; IoError
// when the folder itself cannot be read.
std::filesystem::path locateTable(const std::filesystem::path& folder, std::string_view tableName);

// Every .DB of table `tableName` in the folder and in the folders below it, the folder's own
// first, then level by level in name order.
std::vector<std::filesystem::path> tablesNamedInTree(const std::filesystem::path& folder,
                                                     std::string_view tableName);

} // namespace quintabel::paradox
