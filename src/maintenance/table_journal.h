#pragma once
// The journal of one change of a Paradox table (a replacement, a rename or a delete): a small
// text file in the Paradox folder that says which change it is, how far it got and which files
// belong to the table. It is written before the first file moves and rewritten before each
// later step, atomically (draft, fsync, rename, fsync of the folder), so after a kill it tells
// the recovery exactly what it may find. Format and steps: docs/crash-safety.md.

#include "maintenance/durable_files.h"
#include "maintenance/working_names.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel {

// Which change the journal is of and how far it got. Each value is written before the work it
// names begins. A replacement goes through the first four; a rename and a delete have one step
// each, since where the table's .DB is tells how far they got.
enum class JournalStep {
    WritingNew,  // the new table is being written into the staging folder; nothing else touched
    NewComplete, // the new table is whole; the old one's files are being set aside
    OldSetAside, // the old table is wholly aside; the new one's files are moving in
    NewMovedIn,  // the new table is in place; the old one is being deleted
    Renaming,    // the old family's files are taking the new name, companions first, .DB last
    Deleting,    // the old family's files are being deleted, .DB first
};

struct RecordedFile {
    std::string name; // the file name, as it is spelt
    FileIdentity identity;

    bool operator==(const RecordedFile&) const = default;
};

struct TableJournal {
    std::string table; // the table's name, as its new files are called (a rename: the old name)
    JournalStep step = JournalStep::WritingNew;
    std::string newName; // a rename's new name; empty otherwise
    // Where a renamed or deleted table lies, relative to the Paradox folder: empty for the
    // folder itself, else a folder below it (never "..", never absolute).
    std::filesystem::path tableFolder;
    std::vector<RecordedFile> oldFamily; // the old table's files (the renamed or deleted one's); its .DB first
    std::vector<RecordedFile> newFamily; // the new table's files; its .DB first

    bool operator==(const TableJournal&) const = default;
};

class JournalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string formatJournal(const TableJournal& journal);
// Throws JournalError when the text is not a whole journal.
TableJournal parseJournal(std::string_view text);

// Writes the journal in its place, durably; a kill point follows the draft and the rename.
// Throws std::runtime_error.
void writeJournal(const JournalPaths& paths, const TableJournal& journal);

// The journal of `paths`; nothing when there is none. Throws JournalError when it cannot be
// read or parsed.
std::optional<TableJournal> readJournal(const JournalPaths& paths);

} // namespace quintabel
