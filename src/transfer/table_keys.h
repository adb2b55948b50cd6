#pragma once
// What a Paradox table's keys become in the MySQL table built from it (docs/keys.md): its
// primary key, its autoincrement field, its secondary indexes, all part of the CREATE TABLE
// statement that is sent.
//
//     const TableKeys keys = readParadoxTableKeys(dbFile, keyTextCollation(mysql));
//     chooseCreateStatement(..., &keys);                 // key columns MySQL can key
//     mysql.Execute(withKeyClauses(statement, keys));    // PRIMARY KEY(...), KEY ..., AUTO_INCREMENT=
//
// A key never costs a row: a CREATE the server refuses because of a key, or rows it refuses
// because of one (two rows with the same key in a damaged table, a blank key field), make the
// transfer build the table again without the keys that refuse, and say so once.

#include "transfer/default_column_types.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel {

namespace connections {
class Connection;
}

struct TableIndex {
    std::string name;                 // unique among the table's indexes, never "PRIMARY"
    std::vector<std::string> columns; // in index order
    bool unique = false;
};

struct TableKeys {
    std::vector<std::string> primaryKey; // the key fields' names, in field order
    // The field whose values number the rows (Paradox's autoincrement): an AUTO_INCREMENT
    // column, its counter starting at `autoIncrementStart` (0: left to the server).
    std::optional<std::string> autoIncrement;
    std::uint64_t autoIncrementStart = 0;
    std::vector<TableIndex> indexes;
    // Columns of a key that the default types would make TEXT, which MySQL keys only with a
    // length: their name and the length of VARCHAR that holds every value they can have.
    std::vector<std::pair<std::string, int>> textKeyColumns;
    // The collation of those columns: one that tells apart every two texts Paradox tells
    // apart (no folding of case or accents, trailing blanks counted).
    std::string textCollation;
    // Said once to the user: an index file that could not be read, and so was left out.
    std::vector<std::string> notes;

    bool empty() const { return primaryKey.empty() && !autoIncrement && indexes.empty(); }
    // Without the keys that refuse rows: no primary key, no unique index, no AUTO_INCREMENT.
    TableKeys withoutUniqueKeys() const;
};

// The keys of the Paradox table `dbFile` (its header and its secondary index files).
// `textCollation` as keyTextCollation gives it. Throws what the table reader throws.
TableKeys readParadoxTableKeys(const std::filesystem::path& dbFile, std::string textCollation);

// The server's binary collation of utf8mb4 that does not pad: "utf8mb4_nopad_bin" (MariaDB),
// "utf8mb4_0900_bin" (MySQL 8), else "utf8mb4_bin", whose padding leaves a clash between "a"
// and "a " to the transfer's fallback. Throws what the connection throws.
std::string keyTextCollation(connections::Connection& mysql);

// The default column shapes of `fields` for `keys`: a text key column becomes VARCHAR of its
// length in the keys' collation, the autoincrement field AUTO_INCREMENT.
void shapeKeyColumns(std::vector<SourceField>& fields, const TableKeys& keys);

// `createStatement` with the keys' clauses after its last column (PRIMARY KEY, UNIQUE KEY,
// KEY) and AUTO_INCREMENT=n after its column list. The statement unchanged when it has no
// keys, or when its column list cannot be found (a quote left open).
std::string withKeyClauses(std::string_view createStatement, const TableKeys& keys);

// Whether the server refused a CREATE TABLE, or a row, because of a key: a text column keyed
// without a length, a key too long, a key column that is not there or not indexable, an
// AUTO_INCREMENT that is no key; a duplicate key, a NULL in a key column.
bool refusedForAKey(int serverError);

} // namespace quintabel
