#pragma once
// Putting a newly written Paradox table into the Paradox folder so that a kill at any moment
// leaves the old table or the new one whole under the table's name, once the recovery has run
// (docs/crash-safety.md):
//
//     ParadoxReplacement replacement(folder, "ORDERS", ParadoxReplacement::Existing::Replace);
//     writeTableInto(replacement.stagingFolder());  // the new .DB with its .MB, complete
//     replacement.complete();                        // old aside, new in, old deleted
//
// Each step is recorded first in a journal beside the table. Destroyed without complete(),
// or when complete() fails, the replacement leaves the folder as it found it. The staging
// folder is locked while this object lives, so that the recovery of another program leaves a
// replacement in progress alone; the folder's write lock is held while the staging folder is
// made and through complete(), so that two programs never interleave their steps.

#include "maintenance/durable_files.h"
#include "maintenance/table_journal.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quintabel {

class ParadoxReplacement {
public:
    enum class Existing {
        Replace, // an existing table of the name is replaced
        Refuse,  // an existing table (any file of its name) makes complete() fail, untouched
    };

    // Makes the hidden staging folder and the journal. Throws std::runtime_error; an expected
    // problem (a plain message) for a name a Paradox table cannot take and for a folder that
    // cannot be written. `whileBusy` is called while another program holds the folder's
    // write lock (FolderWriteLock::take), here and in complete().
    ParadoxReplacement(const std::filesystem::path& paradoxFolder, std::string table, Existing existing,
                       FolderWriteLock::WhileBusy whileBusy = {});
    ~ParadoxReplacement();
    ParadoxReplacement(const ParadoxReplacement&) = delete;
    ParadoxReplacement& operator=(const ParadoxReplacement&) = delete;

    // Where the new table is to be written, whole, under its own name.
    std::filesystem::path stagingFolder() const { return paths_.staging(); }

    // Throws what complete() would about the table now in the folder under the name: an
    // expected problem when the table exists and is not to be replaced, or when two files that
    // differ only in letter case hold it. For a check before the new table is written.
    void checkTarget() const;

    // Puts the staged table in place of any old one. Throws std::runtime_error when the new
    // table is not in the staging folder, when a file will not move (the old table is put back
    // first) or when the table exists and is not to be replaced.
    void complete();

private:
    void checkOldFamily(const std::vector<std::string>& oldNames) const;
    void recordFamilies();
    void undoAfterFailure();
    // Removes the staging folder and the journal: abandon() under the folder's lock, discard()
    // where the caller holds it.
    void abandon() noexcept;
    void discard() noexcept;

    JournalPaths paths_;
    TableJournal journal_;
    Existing existing_;
    FolderWriteLock::WhileBusy whileBusy_;
    std::optional<OwnerLock> lock_;
    bool settled_ = false; // nothing is left for the destructor to undo
};

} // namespace quintabel
