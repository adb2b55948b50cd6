#include "transfer/bracket_statements.h"

namespace quintabel {

std::string dropTableInBrackets(const std::string& table)
{
    return "DROP TABLE [" + table + "]";
}

std::string paradoxWriteOutStatement(const std::string& folder, const std::string& paradoxTable,
                                     const std::string& scratchTable)
{
    return "select * into [Paradox 5.x;Database=" + folder + "].[" + paradoxTable + ".db] from [" + scratchTable + "]";
}

} // namespace quintabel
