#pragma once
// Which names a table of the Paradox folder can take. A table name becomes the base name of
// its files, so it must stay one name in the folder, and the table list must show it again:
// the list leaves out hidden working files (".quintabel-…"), temporary files ("~…") and names
// with control characters.

#include <string>

namespace quintabel {

// Throws an expected problem (a plain message: the name is the user's to change) saying why
// `name` (UTF-8) cannot be the name of a Paradox table; returns when it can.
void checkParadoxTableName(const std::string& name);

} // namespace quintabel
