#pragma once
// The secondary indexes of a Paradox table, as their files define them
// (docs/paradox-format.md §13.3): for each .Xnn (one field, nn its number in hexadecimal) and
// .XGn (composite) beside the .DB, letter case ignored, the fields it indexes and how. Only
// the definitions are read, never the index entries.
//
//   const SecondaryIndexes found = readSecondaryIndexes(dbPath, reader.header());
//   for (const SecondaryIndex& index : found.indexes) ...  // index.fieldNumbers, ...
//   for (const std::string& warning : found.warnings) ...  // an index file that was skipped
//
// An index file that cannot be read (truncated, nonsense, not matching the table) is left
// out with a warning; no index file makes the reading of its table fail.

#include "paradoxfile/table_header.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quintabel::paradox {

struct SecondaryIndex {
    std::filesystem::path file; // the .Xnn or .XGn
    bool composite = false;     // an .XGn, which may still index a single field
    // The name the file stores for the index, UTF-8; empty when it stores none (single-field
    // indexes: Paradox calls those by their field's name).
    std::string name;
    // The indexed fields in index order: 1-based numbers in the table, and names.
    std::vector<int> fieldNumbers;
    std::vector<std::string> fieldNames;
    // Level 7.x only; false in older files. `unique` rests on a flag that no sample at hand
    // confirms (§13.3): a caller must still be ready for duplicates, as in any damaged table.
    bool descending = false;
    bool unique = false;
};

struct SecondaryIndexes {
    std::vector<SecondaryIndex> indexes; // in the order of their file names
    std::vector<std::string> warnings;   // one for each index file left out, saying why
};

// The secondary indexes of the table `dbPath`, whose header is `table`.
SecondaryIndexes readSecondaryIndexes(const std::filesystem::path& dbPath, const TableHeader& table);

} // namespace quintabel::paradox
