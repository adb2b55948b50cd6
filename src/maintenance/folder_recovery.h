#pragma once
// The recovery of a Paradox folder after Quintabel was stopped in the middle of writing,
// replacing, renaming or deleting a table (a kill, a crash, a power cut). It runs before the
// folder is listed and before anything writes, deletes or renames in it: each interrupted
// change is finished or undone from its journal, whichever leaves a whole table, and
// Quintabel's working files are cleared away. A table that another running Quintabel is
// still writing is left alone. docs/crash-safety.md says what happens in each case.

#include "maintenance/durable_files.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quintabel {

struct RecoveryNote {
    enum class What {
        OverwriteUndone,      // stopped before the old table was touched: it is as it was
        OverwriteFinished,    // the new table was whole: the replacement was finished
        OldTableRestored,     // the new table was not whole: the old one was put back
        TablePutBack,         // a table found only among the working files was put back
        NothingLeft,          // the journal's table had gone, old and new: nothing to do
        FilesKept,            // the table was changed meanwhile: copies kept in `kept`
        UnfinishedTableRemoved, // the parts of a table that was still being written
        RenameFinished,       // a rename's .DB had its new name: the rest of the family followed
        RenameUndone,         // a rename's .DB still had its old name: the family took it back
        DeleteFinished,       // a delete's .DB had gone: the rest of the family went too
        DeleteUndone,         // a delete's .DB was still there: nothing had been deleted
        NotSettled,           // a failure stopped the recovery: `problem` says which
    };
    What what;
    std::string table;
    std::vector<std::filesystem::path> kept;
    std::string problem;
    std::string newName; // a rename's
};

// Recovers `paradoxFolder` and says what it did, one note per table; nothing when there was
// nothing to do. A folder that does not exist or cannot be read is left to the listing to
// report. It holds the folder's write lock while it works, waiting for another program's steps
// to end as FolderWriteLock::take does. Never throws.
std::vector<RecoveryNote> recoverParadoxFolder(const std::filesystem::path& paradoxFolder,
                                               const FolderWriteLock::WhileBusy& whileBusy = {});

} // namespace quintabel
