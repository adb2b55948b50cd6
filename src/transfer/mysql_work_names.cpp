#include "transfer/mysql_work_names.h"

#include "base/ascii_case.h"

namespace quintabel {

namespace {

bool startsCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// The first `count` characters of UTF-8 text.
std::string_view firstCharacters(std::string_view text, int count)
{
    int seen = 0;
    for (std::size_t position = 0; position < text.size(); ++position) {
        if (startsCharacter(text[position]) && seen++ == count)
            return text.substr(0, position);
    }
    return text;
}

} // namespace

std::string workTableName(std::string_view prefix, std::string_view table, int attempt)
{
    const std::string suffix = attempt <= 1 ? std::string() : "-" + std::to_string(attempt);
    const std::string whole = std::string(prefix) + std::string(table);
    return std::string(firstCharacters(whole, kLongestMySqlName - static_cast<int>(suffix.size()))) + suffix;
}

bool hasWorkPrefix(std::string_view name, std::string_view prefix)
{
    return name.size() >= prefix.size() && asciiLowerCase(name.substr(0, prefix.size())) == asciiLowerCase(prefix);
}

} // namespace quintabel
