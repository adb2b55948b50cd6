#pragma once
// The statements that name a table between square brackets: the DROP TABLE of the Paradox
// folder and of the scratch database, and the scratch database's write-out as a Paradox table.

#include <string>

namespace quintabel {

// "DROP TABLE [" + table + "]".
std::string dropTableInBrackets(const std::string& table);

// "select * into [Paradox 5.x;Database=" + folder + "].[" + paradoxTable + ".db] from [" +
// scratchTable + "]". `folder` is given as the statement needs it, ending in a separator.
std::string paradoxWriteOutStatement(const std::string& folder, const std::string& paradoxTable,
                                     const std::string& scratchTable);

} // namespace quintabel
