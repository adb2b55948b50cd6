#pragma once
// The steps that build a MySQL table under a temporary name and swap it in with one RENAME
// TABLE, each followed by a kill point. After a kill at any of them the database holds under
// the table's name either the table as it was or its new copy whole (or, for a new table,
// nothing), and the next run's recovery (mysql_swap_recovery.h) settles what was left.
//
//     CREATE TABLE `quintabel-new-T`(...) COMMENT='Quintabel: new copy of `T`, ...'
//     INSERT INTO `quintabel-new-T` ...                      (one per row)
//     RENAME TABLE `T` TO `quintabel-old-T`, `quintabel-new-T` TO `T`
//     DROP TABLE `quintabel-old-T`
//     ALTER TABLE `T` COMMENT=''                           (or the comment T's statement set)

#include "transfer/mysql_swap_marker.h"

#include <optional>
#include <string>
#include <string_view>

namespace quintabel {

namespace connections {
class Connection;
}

// The first of the work names for `table` (workTableName) that no table holds, in
// any letter case, and that is not `table` itself.
std::string freeWorkName(connections::Connection& mysql, std::string_view prefix, const std::string& table);

// Executes the marked CREATE TABLE statement of the new copy `newTable`. A statement that does
// not begin by creating `newTable` is refused before it is sent: it could build the real table
// in place, where a kill would leave it half filled.
void createNewCopy(connections::Connection& mysql, const std::string& markedStatement, const std::string& newTable);

// RENAME TABLE `table` TO `oldTable`, `newTable` TO `table` (without an old table, only the
// second half): the server makes the whole swap or none of it.
void swapInNewCopy(connections::Connection& mysql, const std::string& table, const std::string& newTable,
                   const std::optional<std::string>& oldTable);

// Takes the transfer's mark `marker` off the settled `table`, which keeps the comment of its
// own that the mark stood in for.
void clearSwapMarker(connections::Connection& mysql, const std::string& table, const SwapMarker& marker);

// DROP TABLE `table`.
void dropMySqlTable(connections::Connection& mysql, const std::string& table);

// Whether the server holds a table called `table`, by its own rules of letter case. Failures
// other than "no such table" throw.
bool serverHasTable(connections::Connection& mysql, const std::string& table);

} // namespace quintabel
