#include "maintenance/folder_recovery.h"

#include "base/kill_points.h"
#include "base/no_replace_move.h"
#include "maintenance/durable_files.h"
#include "maintenance/family_changes.h"
#include "maintenance/family_swap.h"
#include "maintenance/table_journal.h"
#include "maintenance/working_names.h"
#include "paradoxfile/table_family.h"

#include <algorithm>
#include <optional>
#include <set>
#include <system_error>

namespace quintabel {

namespace fs = std::filesystem;

namespace {

using What = RecoveryNote::What;

struct FolderScan {
    std::set<std::string> replacementIds;
    std::vector<fs::path> unfinishedTableFiles;
};

FolderScan scanFolder(const fs::path& folder)
{
    FolderScan scan;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::error_code ignored;
        const bool isFolder = entries->is_directory(ignored) && !entries->is_symlink(ignored);
        const WorkingName working = classifyWorkingName(entries->path().filename().string(), isFolder);
        if (working.kind == WorkingKind::UnfinishedTable)
            scan.unfinishedTableFiles.push_back(entries->path());
        else if (working.kind != WorkingKind::None)
            scan.replacementIds.insert(working.id);
    }
    std::sort(scan.unfinishedTableFiles.begin(), scan.unfinishedTableFiles.end());
    return scan;
}

// The table of a table writer's unfinished file: ".quintabel-ORDERS-k3j9x2aa.db-tmp" is ORDERS.
std::string tableOfUnfinishedFile(const fs::path& file)
{
    std::string name = file.filename().string().substr(kWorkingNamePrefix.size());
    name.resize(name.size() - std::string_view(".db-tmp").size());
    const auto dash = name.rfind('-');
    return dash == std::string::npos ? name : name.substr(0, dash);
}

void removeUnfinishedTables(const FolderScan& scan, std::vector<RecoveryNote>& notes)
{
    for (const fs::path& file : scan.unfinishedTableFiles) {
        // The writer holds its .db-tmp locked while it writes the whole table: a table being
        // written right now stays, its memo and index files with it.
        fs::path tableFile = file;
        tableFile.replace_extension(".db-tmp");
        const auto lock = OwnerLock::tryTake(fs::exists(tableFile) ? tableFile : file);
        if (!lock)
            continue;
        std::error_code error;
        if (!fs::remove(file, error))
            continue;
        killPoint("unfinished table file removed");
        // One note for the table, whether its .DB or its .MB was left.
        const std::string table = tableOfUnfinishedFile(file);
        const bool told = std::any_of(notes.begin(), notes.end(), [&](const RecoveryNote& note) {
            return note.what == What::UnfinishedTableRemoved && note.table == table;
        });
        if (!told)
            notes.push_back({What::UnfinishedTableRemoved, table, {}, {}, {}});
    }
}

bool holdsAnything(const fs::path& folder)
{
    std::error_code error;
    return fs::is_directory(folder, error) && !fs::is_empty(folder, error);
}

// A visible folder beside the tables, for files Quintabel will not delete and cannot put
// back: the user sees it, and the note names it.
fs::path keepInSight(const fs::path& working, const JournalPaths& paths, const std::string& table,
                     std::string_view role)
{
    const fs::path visible = paths.folder / ("Quintabel kept " + table + " " + std::string(role) + " " + paths.id);
    moveFileWithoutReplacing(working, visible);
    syncFolder(paths.folder);
    killPoint("working folder kept in sight");
    return visible;
}

void removeWorkingFolder(const fs::path& folder)
{
    std::error_code error;
    if (fs::remove_all(folder, error) > 0)
        killPoint("working folder removed");
}

RecoveryNote settleJournal(const JournalPaths& paths, TableJournal& journal)
{
    if (journal.step == JournalStep::Renaming)
        return settleRename(paths, journal);
    if (journal.step == JournalStep::Deleting)
        return settleDeletion(paths, journal);
    if (journal.step == JournalStep::WritingNew) {
        // Nothing but the staging folder was touched yet.
        removeWorkingFolder(paths.staging());
        removeJournal(paths);
        return {What::OverwriteUndone, journal.table, {}, {}, {}};
    }
    const FamilyWhereabouts where = locateFamilies(paths, journal);
    if (where.foreign.empty() && where.newWhole()) {
        finishReplacement(paths, journal);
        return {What::OverwriteFinished, journal.table, {}, {}, {}};
    }
    // The new table is not whole, or another program put files of the table's name in the
    // folder: the old table comes back if it can, and nothing of either table is deleted
    // unless the old one is whole in its place again.
    const bool oldWhole = putOldTableBack(paths, journal);
    RecoveryNote note{What::OldTableRestored, journal.table, {}, {}, {}};
    if (oldWhole) {
        removeWorkingFolder(paths.staging());
        if (journal.oldFamily.empty())
            note.what = What::UnfinishedTableRemoved;
    } else {
        if (holdsAnything(paths.aside()))
            note.kept.push_back(keepInSight(paths.aside(), paths, journal.table, "old"));
        if (holdsAnything(paths.staging()))
            note.kept.push_back(keepInSight(paths.staging(), paths, journal.table, "new"));
        note.what = note.kept.empty() ? What::NothingLeft : What::FilesKept;
    }
    std::error_code ignored;
    fs::remove(paths.aside(), ignored);
    fs::remove(paths.staging(), ignored);
    removeJournal(paths);
    return note;
}

// The names of the .DB files directly in `folder`, without their extension.
std::vector<std::string> tablesIn(const fs::path& folder)
{
    std::vector<std::string> tables;
    std::error_code error;
    for (fs::directory_iterator entries(folder, error); !error && entries != fs::directory_iterator();
         entries.increment(error)) {
        const fs::path name = entries->path().filename();
        std::error_code ignored;
        if (entries->is_regular_file(ignored) && paradox::equalIgnoringCase(name.extension().string(), ".db"))
            tables.push_back(name.stem().string());
    }
    std::sort(tables.begin(), tables.end());
    return tables;
}

// A staging or set-aside folder without a journal: the journalled sequence never leaves one
// holding a table, so this comes from an older Quintabel or from someone's hand. A table in it
// whose name is free in the folder is put back; a set-aside table whose name is taken may be
// the only copy of its rows and is kept in sight; a staged one is a copy of the source and goes.
void settleLeftoverFolder(const JournalPaths& paths, const fs::path& folder, bool setAside,
                          std::vector<RecoveryNote>& notes)
{
    bool keep = false;
    std::string keptTable;
    for (const std::string& table : tablesIn(folder)) {
        const std::vector<std::string> family = tableFamilyFilesIn(folder, table);
        if (tableFamilyFilesIn(paths.folder, table).empty()) {
            std::vector<std::string> dbLast = family;
            std::rotate(dbLast.begin(), dbLast.begin() + 1, dbLast.end());
            for (const std::string& name : dbLast) {
                moveFileWithoutReplacing(folder / name, paths.folder / name);
                killPoint("left-over table file put back");
            }
            syncFolder(paths.folder);
            notes.push_back({What::TablePutBack, table, {}, {}, {}});
        } else if (setAside) {
            keep = true;
            keptTable = table;
        } else {
            notes.push_back({What::OverwriteUndone, table, {}, {}, {}});
        }
    }
    if (keep)
        notes.push_back({What::FilesKept, keptTable, {keepInSight(folder, paths, keptTable, "old")}, {}, {}});
    else
        removeWorkingFolder(folder);
}

void settleReplacement(const JournalPaths& paths, std::vector<RecoveryNote>& notes)
{
    std::error_code error;
    std::optional<OwnerLock> lock;
    if (fs::exists(paths.staging(), error)) {
        lock = OwnerLock::tryTake(paths.staging());
        if (!lock)
            return; // a running Quintabel is in the middle of this replacement
    }
    std::string table = paths.id;
    try {
        if (std::optional<TableJournal> journal = readJournal(paths)) {
            table = journal->table;
            notes.push_back(settleJournal(paths, *journal));
            return;
        }
        // No journal: at most a draft of the first one, and working folders of no record.
        if (fs::remove(paths.journalDraft(), error))
            killPoint("journal draft removed");
        if (fs::exists(paths.aside(), error))
            settleLeftoverFolder(paths, paths.aside(), true, notes);
        if (fs::exists(paths.staging(), error))
            settleLeftoverFolder(paths, paths.staging(), false, notes);
    } catch (const std::exception& problem) {
        notes.push_back({What::NotSettled, table, {}, problem.what(), {}});
    }
}

} // namespace

std::vector<RecoveryNote> recoverParadoxFolder(const fs::path& paradoxFolder,
                                               const FolderWriteLock::WhileBusy& whileBusy)
{
    std::vector<RecoveryNote> notes;
    std::error_code error;
    if (paradoxFolder.empty() || !fs::is_directory(paradoxFolder, error))
        return notes;
    try {
        // No other program changes the folder while it is looked at: whatever working files
        // are found then, no running program is in the middle of its steps with them.
        if (const FolderScan glance = scanFolder(paradoxFolder);
            glance.replacementIds.empty() && glance.unfinishedTableFiles.empty())
            return notes;
        const FolderWriteLock lock = FolderWriteLock::take(paradoxFolder, whileBusy);
        const FolderScan scan = scanFolder(paradoxFolder);
        for (const std::string& id : scan.replacementIds)
            settleReplacement({paradoxFolder, id}, notes);
        removeUnfinishedTables(scan, notes);
    } catch (const std::exception& problem) {
        notes.push_back({What::NotSettled, std::string(), {}, problem.what(), {}});
    }
    return notes;
}

} // namespace quintabel
