#include "drivers/driver.h"

#include "drivers/ado_types.h"
#include "drivers/database_error.h"

namespace quintabel::db {

bool BufferedRows::fetch(std::vector<Value>& row)
{
    if (next_ >= rows_.size())
        return false;
    // Each row is handed out once, so it can be moved instead of copied.
    row = std::move(rows_[next_]);
    ++next_;
    return true;
}

LoadedRows Session::loadFromMemory(std::string_view, std::string_view, std::string_view)
{
    throw DatabaseError("This database does not load rows from memory.");
}

void Session::insertRow(std::string_view, std::vector<Value>)
{
    throw DatabaseError("This database takes rows only as INSERT statements.");
}

std::vector<FieldInfo> tablesSchemaFields()
{
    const auto text = [](const char* name) {
        return FieldInfo{name, ado::adVarWChar, 255, 0, 0, true};
    };
    return {text("TABLE_CATALOG"), text("TABLE_SCHEMA"), text("TABLE_NAME"), text("TABLE_TYPE"),
            text("DESCRIPTION")};
}

std::vector<Value> tablesSchemaRow(const std::string& catalog, const std::string& tableName,
                                   const std::string& tableType)
{
    return {catalog.empty() ? Value{Null{}} : Value{catalog}, Null{}, tableName, tableType, Null{}};
}

} // namespace quintabel::db
