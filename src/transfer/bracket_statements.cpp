#include "transfer/bracket_statements.h"

namespace quintabel {

std::string inBrackets(std::string_view name)
{
    std::string quoted = "[";
    for (const char c : name) {
        quoted.push_back(c);
        if (c == ']')
            quoted.push_back(']');
    }
    quoted.push_back(']');
    return quoted;
}

std::string dropTableInBrackets(const std::string& table)
{
    return "DROP TABLE " + inBrackets(table);
}

std::string paradoxWriteOutStatement(const std::string& folder, const std::string& paradoxTable,
                                     const std::string& scratchTable)
{
    return "select * into " + inBrackets("Paradox 5.x;Database=" + folder) + "." + inBrackets(paradoxTable + ".db")
        + " from " + inBrackets(scratchTable);
}

} // namespace quintabel
