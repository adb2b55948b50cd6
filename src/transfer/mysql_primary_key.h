#pragma once
// Whether a MySQL table's primary key can travel to the Paradox table written from it: a
// keyed Paradox table's key is its first fields, in order, at most 16 of them (docs/keys.md).
// Whether the key columns' types and the rows allow it is the write-out's to find out.

#include <string>
#include <vector>

namespace quintabel {

namespace connections {
class Connection;
}

struct ParadoxKeyChoice {
    int keyFields = 0;  // the first N columns are the Paradox table's key; 0: unkeyed
    std::string reason; // why a primary key there is cannot be kept; empty otherwise
};

// The primary key columns of `table`, in key order; none when it has none.
std::vector<std::string> mysqlPrimaryKey(connections::Connection& mysql, const std::string& table);

// The columns of `table`, in order.
std::vector<std::string> mysqlColumns(connections::Connection& mysql, const std::string& table);

// The Paradox key for a source whose columns are `columns` (in order) and whose primary key is
// `primaryKey`.
ParadoxKeyChoice paradoxKeyFor(const std::vector<std::string>& columns, const std::vector<std::string>& primaryKey);

} // namespace quintabel
