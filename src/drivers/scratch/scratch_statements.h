#pragma once
// The statements the scratch database accepts, read into plain structures:
//   CREATE TABLE `name`(`column` TYPE, ...)        (names in backticks, brackets or quotes)
//   INSERT INTO `name` VALUES('text', NULL, X'0A1B', ...)
//   DROP TABLE [name]
//   select * into [Paradox 5.x;Database=FOLDER].[NAME.db] from [name]
//     (options before "Database=": "CodePage=N;" and "KeyFields=N;")
// Anything else is a DatabaseError.

#include "drivers/scratch/jet_column_types.h"
#include "drivers/value.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quintabel::db::scratch {

struct ColumnDefinition {
    std::string name;
    std::string typeText; // as written, kept so the write-out can read it again
    JetColumnType type;
};

struct CreateTable {
    std::string table;
    std::vector<ColumnDefinition> columns;
};

// Each value is Null, text (std::string) or bytes (Bytes), exactly as the literal gave it.
struct InsertRow {
    std::string table;
    std::vector<Value> values;
};

struct DropTable {
    std::string table;
};

struct WriteOutToParadox {
    int codePage = 0;          // "CodePage=N;" before "Database="; 0 when not given
    int keyFields = 0;         // "KeyFields=N;": the first N columns are the table's key; 0: none
    std::string folder;        // as written after "Database="
    std::string paradoxTable;  // the file name without ".db"
    bool lowerCaseExtension = true; // ".db" as written, rather than ".DB"
    std::string sourceTable;
};

using ScratchStatement = std::variant<CreateTable, InsertRow, DropTable, WriteOutToParadox>;

ScratchStatement parseScratchStatement(std::string_view statement);

} // namespace quintabel::db::scratch
