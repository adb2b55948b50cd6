#pragma once
// The statements that name a table between square brackets: the DROP TABLE of the Paradox
// folder and of the scratch database, and the scratch database's write-out as a Paradox table.

#include <string>
#include <string_view>

namespace quintabel {

// `name` between square brackets, each "]" in it written twice: "b]k" gives "[b]]k]".
std::string inBrackets(std::string_view name);

// "DROP TABLE [" + table + "]", the table's name bracketed as inBrackets does.
std::string dropTableInBrackets(const std::string& table);

// "select * into [Paradox 5.x;Database=" + folder + "].[" + paradoxTable + ".db] from [" +
// scratchTable + "]", each bracketed part quoted as inBrackets does. `folder` is given as the
// statement needs it, ending in a separator. A `codePage` other than 0 is named before the
// folder ("[Paradox 5.x;CodePage=1251;Database=...]"): the table is written in it.
// With `keyFields` other than 0 ("KeyFields=N;") the table is keyed on its first N fields.
std::string paradoxWriteOutStatement(const std::string& folder, const std::string& paradoxTable,
                                     const std::string& scratchTable, int codePage = 0, int keyFields = 0);

} // namespace quintabel
