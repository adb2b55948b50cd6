#pragma once
// The journal of one replacement of a Paradox table: a small text file in the Paradox folder
// that says how far the replacement got and which files belong to the old and the new table.
// It is rewritten before each step, atomically (draft, fsync, rename, fsync of the folder), so
// after a kill it tells the recovery exactly what it may find. Format and steps:
// docs/crash-safety.md.

#include "maintenance/durable_files.h"
#include "maintenance/working_names.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel {

// How far a replacement got. Each value is written before the work it names begins.
enum class ReplaceStep {
    WritingNew,  // the new table is being written into the staging folder; nothing else touched
    NewComplete, // the new table is whole; the old one's files are being set aside
    OldSetAside, // the old table is wholly aside; the new one's files are moving in
    NewMovedIn,  // the new table is in place; the old one is being deleted
};

struct RecordedFile {
    std::string name; // the file name, as it is spelt
    FileIdentity identity;

    bool operator==(const RecordedFile&) const = default;
};

struct ReplaceJournal {
    std::string table; // the table's name, as its new files are called
    ReplaceStep step = ReplaceStep::WritingNew;
    std::vector<RecordedFile> oldFamily; // the old table's files; its .DB first
    std::vector<RecordedFile> newFamily; // the new table's files; its .DB first

    bool operator==(const ReplaceJournal&) const = default;
};

class JournalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string FormatJournal(const ReplaceJournal& journal);
// Throws JournalError when the text is not a whole journal.
ReplaceJournal ParseJournal(std::string_view text);

// Writes the journal in its place, durably; a kill point follows the draft and the rename.
// Throws std::runtime_error.
void WriteJournal(const ReplacementPaths& paths, const ReplaceJournal& journal);

// The journal of `paths`; nothing when there is none. Throws JournalError when it cannot be
// read or parsed.
std::optional<ReplaceJournal> ReadJournal(const ReplacementPaths& paths);

} // namespace quintabel
