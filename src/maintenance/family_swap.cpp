#include "maintenance/family_swap.h"

#include "base/kill_points.h"
#include "paradoxfile/table_family.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace quintabel {

namespace fs = std::filesystem;

namespace {

std::pair<std::string, std::string> splitAtLastDot(const std::string& name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string::npos)
        return {name, std::string()};
    return {name.substr(0, dot), name.substr(dot + 1)};
}

bool isTableFile(const std::string& name)
{
    return paradox::equalIgnoringCase(splitAtLastDot(name).second, "db");
}

bool matches(const fs::path& path, const RecordedFile& record)
{
    const auto identity = identityOf(path);
    return identity && *identity == record.identity;
}

// Companions first and the .DB last, so that a table appears only with everything it needs.
std::vector<std::string> dbLast(std::vector<std::string> names)
{
    std::stable_partition(names.begin(), names.end(), [](const std::string& name) { return !isTableFile(name); });
    return names;
}

void advanceTo(const JournalPaths& paths, TableJournal& journal, JournalStep step)
{
    journal.step = step;
    writeJournal(paths, journal);
}

} // namespace

std::vector<RecordedFile> recordFiles(const fs::path& folder, const std::vector<std::string>& names)
{
    std::vector<RecordedFile> files;
    for (const std::string& name : names) {
        const auto identity = identityOf(folder / name);
        if (!identity)
            throw std::runtime_error("The file '" + (folder / name).string() + "' vanished while it was being recorded.");
        files.push_back({name, *identity});
    }
    return files;
}

bool isSameFile(const fs::path& path, const RecordedFile& record)
{
    const auto identity = identityOf(path);
    return identity && identity->device == record.identity.device && identity->inode == record.identity.inode;
}

std::vector<std::string> tableFamilyFilesIn(const fs::path& folder, const std::string& table)
{
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error)
        throw std::runtime_error("Cannot read the folder '" + folder.string() + "': " + error.message() + ".");
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        if (error)
            throw std::runtime_error("Cannot read the folder '" + folder.string() + "': " + error.message() + ".");
        std::error_code ignored;
        if (!entries->is_regular_file(ignored))
            continue;
        const std::string name = entries->path().filename().string();
        const auto [stem, extension] = splitAtLastDot(name);
        if (paradox::equalIgnoringCase(stem, table)
            && (paradox::equalIgnoringCase(extension, "db") || paradox::isCompanionExtension(extension)))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    std::stable_partition(names.begin(), names.end(), isTableFile);
    return names;
}

std::vector<std::string> leftOverParts(const fs::path& folder, const std::string& table)
{
    std::vector<std::string> names = tableFamilyFilesIn(folder, table);
    if (!names.empty() && isTableFile(names.front()))
        names.clear();
    return names;
}

FamilyWhereabouts locateFamilies(const JournalPaths& paths, const TableJournal& journal)
{
    FamilyWhereabouts where;
    std::vector<const RecordedFile*> seenInFolder;
    for (const RecordedFile& file : journal.oldFamily) {
        if (matches(paths.folder / file.name, file)) {
            where.oldInFolder.push_back(file.name);
            seenInFolder.push_back(&file);
        } else if (matches(paths.aside() / file.name, file)) {
            where.oldAside.push_back(file.name);
        } else {
            ++where.oldMissing;
        }
    }
    for (const RecordedFile& file : journal.newFamily) {
        if (matches(paths.staging() / file.name, file)) {
            where.newStaged.push_back(file.name);
        } else if (matches(paths.folder / file.name, file)) {
            where.newInFolder.push_back(file.name);
            seenInFolder.push_back(&file);
        } else {
            ++where.newMissing;
        }
    }
    for (const std::string& name : tableFamilyFilesIn(paths.folder, journal.table)) {
        const bool ours = std::any_of(seenInFolder.begin(), seenInFolder.end(),
                                      [&](const RecordedFile* file) { return file->name == name; });
        if (!ours)
            where.foreign.push_back(name);
    }
    return where;
}

void finishReplacement(const JournalPaths& paths, TableJournal& journal)
{
    const FamilyWhereabouts where = locateFamilies(paths, journal);
    if (!where.foreign.empty())
        throw std::runtime_error("The Paradox folder '" + paths.folder.string() + "' holds '" + where.foreign.front()
                                 + "', which Quintabel did not expect there; table '" + journal.table
                                 + "' was not replaced.");
    if (!where.newWhole())
        throw std::runtime_error("The new table '" + journal.table + "' is no longer whole in '"
                                 + paths.staging().string() + "'; it was not moved into the Paradox folder.");

    if (journal.step < JournalStep::OldSetAside) {
        if (!where.oldInFolder.empty())
            durableMakeFolder(paths.aside(), "set-aside folder made");
        // The .DB first: the old table stops being a table before its memos leave it.
        for (const std::string& name : where.oldInFolder)
            durableMove(paths.folder / name, paths.aside() / name, "old table file set aside");
        advanceTo(paths, journal, JournalStep::OldSetAside);
    }
    if (journal.step < JournalStep::NewMovedIn) {
        for (const std::string& name : dbLast(where.newStaged))
            durableMove(paths.staging() / name, paths.folder / name, "new table file moved in");
        advanceTo(paths, journal, JournalStep::NewMovedIn);
    }
    // Only now, with the new table whole in its place, does the old one go.
    for (const RecordedFile& file : journal.oldFamily) {
        const fs::path aside = paths.aside() / file.name;
        if (matches(aside, file))
            durableRemove(aside, "old table file deleted");
    }
    std::error_code error;
    if (fs::remove(paths.aside(), error))
        killPoint("set-aside folder removed");
    removeJournal(paths);
    if (fs::remove_all(paths.staging(), error) > 0)
        killPoint("staging folder removed");
}

bool putOldTableBack(const JournalPaths& paths, const TableJournal& journal)
{
    const FamilyWhereabouts where = locateFamilies(paths, journal);
    if (!where.newInFolder.empty())
        durableMakeFolder(paths.staging(), "staging folder made again");
    // The .DB first, so that no table of mixed files ever shows under the table's name.
    for (const std::string& name : where.newInFolder)
        durableMove(paths.folder / name, paths.staging() / name, "new table file taken back");
    if (!where.foreign.empty())
        return false;
    for (const std::string& name : dbLast(where.oldAside))
        durableMove(paths.aside() / name, paths.folder / name, "old table file put back");
    return where.oldMissing == 0;
}

void removeJournal(const JournalPaths& paths)
{
    std::error_code error;
    fs::remove(paths.journalDraft(), error);
    if (!fs::remove(paths.journal(), error) && error)
        throw std::runtime_error("Cannot remove the journal '" + paths.journal().string() + "': " + error.message()
                                 + ".");
    syncFolder(paths.folder);
    killPoint("journal removed");
}

} // namespace quintabel
