#pragma once
// The file moves of a journalled replacement, shared by the replacement itself and by the
// recovery that finishes or undoes one after a kill. Every move first looks where each
// recorded file is now, so a step that was half done when the program died is simply done
// again from where it stopped. docs/crash-safety.md describes the sequence.

#include "maintenance/table_journal.h"

#include <string>
#include <vector>

namespace quintabel {

// Where the recorded files of a replacement are now, by name.
struct FamilyWhereabouts {
    std::vector<std::string> oldInFolder; // old files still in the Paradox folder, .DB first
    std::vector<std::string> oldAside;    // old files in the set-aside folder, .DB first
    std::vector<std::string> newStaged;   // new files still in the staging folder, .DB first
    std::vector<std::string> newInFolder; // new files already in the Paradox folder, .DB first
    std::size_t oldMissing = 0;
    std::size_t newMissing = 0;
    // Files of the table's name in the Paradox folder that match no record: another program
    // made or changed them since the journal was written.
    std::vector<std::string> foreign;

    bool newWhole() const { return newMissing == 0; }
};

FamilyWhereabouts locateFamilies(const JournalPaths& paths, const TableJournal& journal);

// The identities of the files `names` in `folder`, for the journal. Throws std::runtime_error
// when one is not there.
std::vector<RecordedFile> recordFiles(const std::filesystem::path& folder, const std::vector<std::string>& names);

// Whether `path` is the file `record` names, wherever it has moved since: the same device and
// inode, whatever was written to it meanwhile.
bool isSameFile(const std::filesystem::path& path, const RecordedFile& record);

// The files in `folder` that belong to table `table` (same base name, letter case ignored; the
// .DB and its companions), sorted by name with any .DB first.
std::vector<std::string> tableFamilyFilesIn(const std::filesystem::path& folder, const std::string& table);

// The files in `folder` of table `table` when its .DB is not among them: companions that a
// table left behind (a memo, an index), which hold its name although no table is listed under
// it. Empty when there is a .DB of the name, or nothing of it.
std::vector<std::string> leftOverParts(const std::filesystem::path& folder, const std::string& table);

// Takes a replacement whose new table is whole from the journal's step to its end: old files
// aside, new files in, old files deleted, the journal and the staging folder removed. The
// journal is rewritten before each step. Throws std::runtime_error when a file will not move,
// or when the folder holds files of the table that are not the replacement's (nothing is
// moved then).
void finishReplacement(const JournalPaths& paths, TableJournal& journal);

// Undoes the moves of a replacement: its new files go back into the staging folder, and,
// unless other files of the table's name are in the Paradox folder, the old files come back
// from the set-aside folder. True when the old table is then whole in the Paradox folder.
bool putOldTableBack(const JournalPaths& paths, const TableJournal& journal);

// Removes a replacement's journal (and a draft of it) durably.
void removeJournal(const JournalPaths& paths);

} // namespace quintabel
