#pragma once
// The files of one Paradox table in the Paradox folder: its .DB and the companions that belong
// to it (.MB memos, .PX and .Xnn/.Ynn indexes, .VAL, .TV, ...). A table is deleted and renamed
// as this whole family, so that its memos and indexes never stay behind under the old name.
// Names are matched without regard to letter case. A table is found where the table list found
// it: in the Paradox folder itself, or else in the one folder below it that holds a table of
// that name (paradoxfile/table_search.h), and its files stay in that folder.

#include "base/no_replace_move.h"
#include "maintenance/durable_files.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <vector>

namespace quintabel {

struct ParadoxTableFiles {
    std::filesystem::path table;                   // the .DB
    std::vector<std::filesystem::path> companions; // everything else of the table
};

// The files of table `tableName` in `folder` or below it. Nothing when the folder or the table
// is not there. Throws when the folder cannot be read, or when which table is meant cannot be
// told: two .DB files that differ only in letter case, or tables of the name in two folders
// below `folder` and none in it (an expected problem, shown as a plain message).
std::optional<ParadoxTableFiles> findParadoxTableFiles(const QString& folder, const QString& tableName);

// Deletes table `tableName`'s files (found as findParadoxTableFiles finds them; nothing when
// there are none), journalled and under the folder's write lock (maintenance/family_changes.h).
// The .DB goes first and the companions only once it is gone: a table whose .DB cannot be
// deleted keeps its memos and indexes. Throws std::runtime_error naming every file that is
// still there.
void deleteParadoxTableFiles(const QString& paradoxFolder, const QString& tableName,
                             const FolderWriteLock::WhileBusy& whileBusy = {});

enum class ParadoxRenameOutcome {
    Renamed,
    NotFound, // no such table in the folder or below it: nothing was moved
    OwnName,  // the new name is the table's own (letter case ignored): nothing to do
};

// Gives every file of table `oldName` (found as findParadoxTableFiles finds it) the base name
// `newName` in the folder where the table lies, each keeping its extension as spelt. Nothing
// is moved, and std::runtime_error says why, when `newName` cannot be a file name, when any of
// the new file names is taken (letter case ignored) by a file beside the table, or when a
// table of the new name lies anywhere in `folder` or below it; a taken name is an expected
// problem (base/expected_problem.h). The .DB moves last, so the table appears under its new name only
// with its memos; a move that fails puts the files already moved back under their old names.
// Journalled and under the folder's write lock, as a delete.
ParadoxRenameOutcome renameParadoxTableFiles(const QString& folder, const QString& oldName,
                                             const QString& newName,
                                             const FileMove& move = moveFileWithoutReplacing,
                                             const FolderWriteLock::WhileBusy& whileBusy = {});

} // namespace quintabel
