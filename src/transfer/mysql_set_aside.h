#pragma once
// Replacing an existing MySQL table without losing it when its replacement fails: the old
// table is renamed to a free backup name before the new one is created, and dropped only once
// every row has arrived; otherwise the new table goes and the old one takes its name back.

#include <string>

namespace quintabel {

namespace connections {
class Connection;
}

// "quintabel-old-" + table, cut to MySQL's 64 characters, with "-2", "-3", ... when that
// name is taken.
std::string freeBackupName(connections::Connection& mysql, const std::string& table);

// RENAME TABLE `table` TO `backup`: true when done, false when the server holds no table of
// that name. Any other failure throws.
bool setAsideTable(connections::Connection& mysql, const std::string& table, const std::string& backup);

// Drops the new `table` when it was created, then renames `backup` back to `table`.
void restoreSetAsideTable(connections::Connection& mysql, const std::string& table, const std::string& backup,
                          bool newTableCreated);

// DROP TABLE `table`.
void dropMySqlTable(connections::Connection& mysql, const std::string& table);

} // namespace quintabel
