#pragma once
// The attributes of a parsed connection string (key=value pairs). Keys are found without
// regard to case, as ODBC and OLE DB find them; each key occurs at most once.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quintabel::db {

class ConnectionAttributes {
public:
    // Adds a pair; a key that is already present (in any case) is a DatabaseError, because a
    // repeated key means a value broke out of its place in the string.
    void add(std::string key, std::string value);

    std::optional<std::string> find(std::string_view key) const;
    bool contains(std::string_view key) const { return find(key).has_value(); }

    // Fails with a DatabaseError naming the first key that is not in `allowed`, so that a
    // stray key (the tail of a value that held ";") never passes unnoticed.
    void requireOnlyKeys(std::initializer_list<std::string_view> allowed,
                         std::string_view driverName) const;

    const std::vector<std::pair<std::string, std::string>>& pairs() const { return pairs_; }

private:
    std::vector<std::pair<std::string, std::string>> pairs_;
};

bool equalsIgnoringCase(std::string_view left, std::string_view right);

} // namespace quintabel::db
