#include "transfer/sql_names.h"

namespace quintabel {

std::string backtickQuoted(std::string_view name)
{
    std::string quoted;
    quoted.reserve(name.size() + 2);
    quoted.push_back('`');
    for (const char character : name) {
        if (character == '`')
            quoted.push_back('`');
        quoted.push_back(character);
    }
    quoted.push_back('`');
    return quoted;
}

} // namespace quintabel
