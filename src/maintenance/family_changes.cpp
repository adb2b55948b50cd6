#include "maintenance/family_changes.h"

#include "maintenance/durable_files.h"
#include "maintenance/family_swap.h"
#include "maintenance/working_names.h"

#include <algorithm>
#include <random>
#include <stdexcept>
#include <system_error>

namespace quintabel {

namespace fs = std::filesystem;

namespace {

using What = RecoveryNote::What;

// "orders.mb" renamed to SALES is "SALES.mb": the extension keeps its spelling.
std::string renamedFile(const std::string& fileName, const std::string& newName)
{
    const auto dot = fileName.rfind('.');
    return newName + (dot == std::string::npos ? std::string() : fileName.substr(dot));
}

TableJournal journalOf(JournalStep step, const fs::path& paradoxFolder, const fs::path& tableFolder,
                       const std::string& table, const std::vector<std::string>& family)
{
    if (family.empty())
        throw std::logic_error("A table's family holds its .DB at least.");
    TableJournal journal;
    journal.table = table;
    journal.step = step;
    journal.tableFolder = tableFolder;
    journal.oldFamily = recordFiles(paradoxFolder / tableFolder, family);
    return journal;
}

// Moves the family's files that are under one name to the other: `forward` from the old names
// to the new. Only files that are still the recorded ones move.
void moveFamily(const fs::path& folder, const TableJournal& journal, bool forward, const FileMove& move,
                std::size_t& moved)
{
    for (const RecordedFile& file : journal.oldFamily) {
        const fs::path oldPath = folder / file.name;
        const fs::path newPath = folder / renamedFile(file.name, journal.newName);
        const fs::path& from = forward ? oldPath : newPath;
        if (!isSameFile(from, file))
            continue;
        durableMove(from, forward ? newPath : oldPath, forward ? "table file renamed" : "table file renamed back",
                    move);
        ++moved;
    }
}

// Companions first and the .DB last: until the .DB has its new name the table is whole under
// its old one, and once it has, its memos are already beside it.
std::vector<RecordedFile> dbLast(std::vector<RecordedFile> family)
{
    std::rotate(family.begin(), family.begin() + 1, family.end());
    return family;
}

} // namespace

JournalPaths newJournalPaths(const fs::path& paradoxFolder)
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device device;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    for (;;) {
        JournalPaths paths{paradoxFolder, {}};
        for (int i = 0; i < 6; ++i)
            paths.id += letters[pick(device)];
        std::error_code error;
        if (!fs::exists(paths.journal(), error) && !fs::exists(paths.journalDraft(), error)
            && !fs::exists(paths.staging(), error) && !fs::exists(paths.aside(), error))
            return paths;
    }
}

void renameFamily(const fs::path& paradoxFolder, const fs::path& tableFolder, const std::string& table,
                  const std::vector<std::string>& family, const std::string& newName, const FileMove& move)
{
    const JournalPaths paths = newJournalPaths(paradoxFolder);
    TableJournal journal = journalOf(JournalStep::Renaming, paradoxFolder, tableFolder, table, family);
    journal.newName = newName;
    writeJournal(paths, journal);
    const fs::path folder = paradoxFolder / tableFolder;
    TableJournal inOrder = journal;
    inOrder.oldFamily = dbLast(journal.oldFamily);
    std::size_t moved = 0;
    try {
        moveFamily(folder, inOrder, true, move, moved);
    } catch (const std::exception& failure) {
        std::string message = failure.what();
        // Back the way they came, whatever the failure left where.
        std::string notPutBack;
        try {
            std::size_t movedBack = 0;
            moveFamily(folder, journal, false, move, movedBack);
        } catch (const std::exception& undoFailure) {
            notPutBack = undoFailure.what();
        }
        if (notPutBack.empty()) {
            removeJournal(paths);
            throw std::runtime_error(message + " Nothing was renamed: table '" + journal.table
                                     + "' keeps its old name and all its files.");
        }
        std::string stranded;
        for (const RecordedFile& file : journal.oldFamily)
            if (isSameFile(folder / renamedFile(file.name, newName), file))
                stranded += " File '" + (folder / renamedFile(file.name, newName)).string()
                            + "' keeps its new name and belongs to table '" + journal.table + "'.";
        throw std::runtime_error(message + " Putting back the files already renamed failed: " + notPutBack + stranded
                                 + " Quintabel puts them back at its next start.");
    }
    removeJournal(paths);
}

void deleteFamily(const fs::path& paradoxFolder, const fs::path& tableFolder, const std::string& table,
                  const std::vector<std::string>& family)
{
    const JournalPaths paths = newJournalPaths(paradoxFolder);
    const TableJournal journal = journalOf(JournalStep::Deleting, paradoxFolder, tableFolder, table, family);
    writeJournal(paths, journal);
    const fs::path folder = paradoxFolder / tableFolder;
    const fs::path tableFile = folder / journal.oldFamily.front().name;
    try {
        // The .DB first: the table stops being a table before any of its files goes.
        durableRemove(tableFile, "table file deleted");
    } catch (const std::exception&) {
        removeJournal(paths);
        throw std::runtime_error("Could not delete Paradox table file '" + tableFile.string()
                                 + "'; the table and its other files were left as they were.");
    }
    std::string leftBehind;
    for (std::size_t i = 1; i < journal.oldFamily.size(); ++i) {
        const fs::path companion = folder / journal.oldFamily[i].name;
        try {
            durableRemove(companion, "table file deleted");
        } catch (const std::exception&) {
            leftBehind += (leftBehind.empty() ? "'" : ", '") + companion.string() + "'";
        }
    }
    if (!leftBehind.empty())
        throw std::runtime_error("Deleted Paradox table file '" + tableFile.string() + "', but could not delete its files "
                                 + leftBehind + "; Quintabel deletes them at its next start.");
    removeJournal(paths);
}

RecoveryNote settleRename(const JournalPaths& paths, const TableJournal& journal)
{
    const fs::path folder = paths.folder / journal.tableFolder;
    const RecordedFile& table = journal.oldFamily.front();
    // The .DB moves last: once it has its new name, every companion was on its way there.
    const bool finish = isSameFile(folder / renamedFile(table.name, journal.newName), table);
    std::size_t moved = 0;
    moveFamily(folder, journal, finish, moveFileWithoutReplacing, moved);
    removeJournal(paths);
    return {finish ? What::RenameFinished : What::RenameUndone, journal.table, {}, {}, journal.newName};
}

RecoveryNote settleDeletion(const JournalPaths& paths, const TableJournal& journal)
{
    const fs::path folder = paths.folder / journal.tableFolder;
    // The .DB goes first: while it is there, nothing of the table was deleted.
    const bool finish = !isSameFile(folder / journal.oldFamily.front().name, journal.oldFamily.front());
    if (finish) {
        for (const RecordedFile& file : journal.oldFamily)
            if (isSameFile(folder / file.name, file))
                durableRemove(folder / file.name, "table file deleted");
    }
    removeJournal(paths);
    return {finish ? What::DeleteFinished : What::DeleteUndone, journal.table, {}, {}, {}};
}

} // namespace quintabel
