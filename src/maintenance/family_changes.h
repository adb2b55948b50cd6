#pragma once
// Renaming and deleting a Paradox table's whole family (its .DB with every companion), each
// journalled so that a kill at any step leaves, once the recovery has run, the family whole
// under exactly one name (a rename) or whole or gone (a delete), never a part of it:
//
//     FolderWriteLock lock = FolderWriteLock::take(paradoxFolder);
//     renameFamily(paradoxFolder, "shop", "ORDERS", {"orders.db", "orders.mb"}, "SALES");
//
// A rename moves the companions first and the .DB last, and a delete deletes the .DB first, so
// where the .DB is tells the recovery how far either got: a rename whose .DB has its new name
// is finished, else undone; a delete whose .DB is gone is finished, else undone. The caller
// holds the folder's write lock and has looked at the names (docs/crash-safety.md).

#include "base/no_replace_move.h"
#include "maintenance/folder_recovery.h"
#include "maintenance/table_journal.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quintabel {

// Gives every file of table `table`'s `family` (names in `tableFolder`, a folder given relative
// to `paradoxFolder`, empty for the folder itself; the .DB first) the base name `newName`, each
// keeping its extension as spelt. `table` is the name the user knows it by, for messages. `move` never replaces a file; tests give one that fails.
// Throws std::runtime_error when a file will not move: the files already moved are put back
// first, and when even that fails the journal stays for the recovery at the next start.
void renameFamily(const std::filesystem::path& paradoxFolder, const std::filesystem::path& tableFolder,
                  const std::string& table, const std::vector<std::string>& family, const std::string& newName,
                  const FileMove& move = moveFileWithoutReplacing);

// Deletes every file of `family` (as for renameFamily), the .DB first. Throws
// std::runtime_error when a file will not go: when that is the .DB, nothing was deleted;
// otherwise the journal stays, and the recovery at the next start deletes the rest.
void deleteFamily(const std::filesystem::path& paradoxFolder, const std::filesystem::path& tableFolder,
                  const std::string& table, const std::vector<std::string>& family);

// The recovery of a rename or a delete that a kill interrupted: finished or undone as above,
// then its journal removed.
RecoveryNote settleRename(const JournalPaths& paths, const TableJournal& journal);
RecoveryNote settleDeletion(const JournalPaths& paths, const TableJournal& journal);

// The working paths of a new journal in `paradoxFolder`, under an id that nothing there uses.
// The caller holds the folder's write lock, so nobody takes the id meanwhile.
JournalPaths newJournalPaths(const std::filesystem::path& paradoxFolder);

} // namespace quintabel
