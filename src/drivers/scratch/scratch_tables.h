#pragma once
// The tables of the scratch database: creating, filling, dropping and reading them, with
// their declared column types kept in the catalogue table.

#include "drivers/scratch/scratch_statements.h"
#include "drivers/scratch/sqlite_database.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quintabel::db::scratch {

struct ScratchTable {
    std::string name; // as the scratch file spells it
    std::vector<ColumnDefinition> columns;
};

class ScratchTables {
public:
    explicit ScratchTables(SqliteDatabase& database) : database_(database) {}

    void create(const CreateTable& create);
    void insert(const InsertRow& insert);
    void drop(const std::string& table);

    // Found without regard to case; nothing when there is no such table.
    std::optional<ScratchTable> find(const std::string& table);
    ScratchTable require(const std::string& table);

    // Calls `visit` for each row in insertion order, with its 1-based number.
    void forEachRow(const ScratchTable& table,
                    const std::function<void(std::size_t, const std::vector<Value>&)>& visit);

    // Every table with its type: "TABLE", or "SYSTEM TABLE" for the catalogue.
    std::vector<std::pair<std::string, std::string>> list();

private:
    std::optional<std::string> storedName(const std::string& table);
    void ensureCatalogue();

    SqliteDatabase& database_;
};

} // namespace quintabel::db::scratch
