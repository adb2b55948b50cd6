#include "drivers/connection_attributes.h"

#include "drivers/database_error.h"

#include <algorithm>
#include <cctype>

namespace quintabel::db {

bool equalsIgnoringCase(std::string_view left, std::string_view right)
{
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a))
            == std::tolower(static_cast<unsigned char>(b));
    });
}

void ConnectionAttributes::add(std::string key, std::string value)
{
    if (contains(key))
        throw DatabaseError("The connection string names the key '" + key
                            + "' more than once; a value may hold a \";\".");
    pairs_.emplace_back(std::move(key), std::move(value));
}

std::optional<std::string> ConnectionAttributes::find(std::string_view key) const
{
    for (const auto& [name, value] : pairs_) {
        if (equalsIgnoringCase(name, key))
            return value;
    }
    return std::nullopt;
}

void ConnectionAttributes::requireOnlyKeys(std::initializer_list<std::string_view> allowed,
                                           std::string_view driverName) const
{
    for (const auto& pair : pairs_) {
        const bool known = std::any_of(allowed.begin(), allowed.end(), [&](std::string_view key) {
            return equalsIgnoringCase(pair.first, key);
        });
        if (!known)
            throw DatabaseError("The connection string holds the key '" + pair.first
                                + "', which " + std::string(driverName)
                                + " does not know; a value may hold a \";\".");
    }
}

} // namespace quintabel::db
