#include "transfer/bracket_statements.h"

#include "drivers/quoted_text.h"

namespace quintabel {

std::string inBrackets(std::string_view name)
{
    return db::quotedWithMarks(name, '[', ']');
}

std::string dropTableInBrackets(const std::string& table)
{
    return "DROP TABLE " + inBrackets(table);
}

std::string paradoxWriteOutStatement(const std::string& folder, const std::string& paradoxTable,
                                     const std::string& scratchTable, int codePage, int keyFields)
{
    const std::string codePageItem = codePage != 0 ? "CodePage=" + std::to_string(codePage) + ";" : std::string();
    const std::string keyItem = keyFields != 0 ? "KeyFields=" + std::to_string(keyFields) + ";" : std::string();
    return "select * into " + inBrackets("Paradox 5.x;" + codePageItem + keyItem + "Database=" + folder) + "."
        + inBrackets(paradoxTable + ".db") + " from " + inBrackets(scratchTable);
}

} // namespace quintabel
