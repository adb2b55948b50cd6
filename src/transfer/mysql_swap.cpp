#include "transfer/mysql_swap.h"

#include "base/ascii_case.h"
#include "base/kill_points.h"
#include "catalogue/exist_table.h"
#include "connections/connection.h"
#include "drivers/database_error.h"
#include "transfer/default_column_types.h"
#include "transfer/mysql_swap_statements.h"
#include "transfer/mysql_work_names.h"
#include "transfer/sql_names.h"

#include <QString>

#include <stdexcept>

namespace quintabel {

namespace {

// MariaDB's ER_NO_SUCH_TABLE.
constexpr int kNoSuchTable = 1146;

} // namespace

std::string freeWorkName(connections::Connection& mysql, std::string_view prefix, const std::string& table)
{
    for (int attempt = 1;; ++attempt) {
        const std::string candidate = workTableName(prefix, table, attempt);
        // A table whose name repeats the prefix can be cut back to its own name.
        if (asciiLowerCase(candidate) == asciiLowerCase(table))
            continue;
        if (!ExistTable(mysql, QString::fromStdString(candidate)))
            return candidate;
    }
}

void createNewCopy(connections::Connection& mysql, const std::string& markedStatement, const std::string& newTable)
{
    if (!markedStatement.starts_with(statementPrefix(newTable)))
        throw std::runtime_error("The CREATE TABLE statement does not create the new copy " + newTable
                                 + ", and was not sent.");
    mysql.Execute(markedStatement);
    killPoint("new copy created under its temporary name");
}

void swapInNewCopy(connections::Connection& mysql, const std::string& table, const std::string& newTable,
                   const std::optional<std::string>& oldTable)
{
    mysql.Execute(swapInStatement(table, newTable, oldTable));
    killPoint("new copy swapped in");
}

void clearSwapMarker(connections::Connection& mysql, const std::string& table, const SwapMarker& marker)
{
    mysql.Execute(clearCommentStatement(table, marker.ownComment.value_or(std::string())));
    killPoint("swap marker cleared");
}

void dropMySqlTable(connections::Connection& mysql, const std::string& table)
{
    mysql.Execute("DROP TABLE " + backtickQuoted(table));
    killPoint("table dropped");
}

bool serverHasTable(connections::Connection& mysql, const std::string& table)
{
    try {
        mysql.Execute(tableProbeStatement(table));
        return true;
    } catch (const db::DatabaseError& failure) {
        if (failure.number() == kNoSuchTable)
            return false;
        throw;
    }
}

} // namespace quintabel
