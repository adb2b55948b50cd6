#pragma once
// Whether the scratch file can be used, and making it anew when it cannot.
//
// The file is checked every time a session opens it: SQLite first puts back a transaction
// that a killed run left unfinished (from its journal), then checks the file's structure. A
// file that is still damaged afterwards (by a run of an older version that kept no journal
// on disk, a disk fault, or another program) would fail every statement sent to it, once per
// row; so it is replaced by an empty database instead. Nothing of value is lost with it: the
// scratch tables only hold copies while they are written out.

#include <filesystem>
#include <string>

namespace quintabel::db::scratch {

// True when SQLite reads `file` as a sound database. An empty file is one (with no tables).
// A damaged file answers false; a file that cannot be read at all (no permission, locked by
// another program) is a DatabaseError, since making it anew would not help.
bool isSoundScratchFile(const std::filesystem::path& file);

// Replaces `file` with an empty database: its journal and write-ahead companions go first,
// so that none of them is ever applied to the new file, then an empty file takes its place
// in one rename, so that the file never goes missing (the program would then refuse it).
void remakeEmptyScratchFile(const std::filesystem::path& file);

// What the user is told once the file has been made anew.
std::string scratchFileRemadeNotice(const std::filesystem::path& file);

} // namespace quintabel::db::scratch
