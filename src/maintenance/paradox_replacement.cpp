#include "maintenance/paradox_replacement.h"

#include "base/kill_points.h"
#include "maintenance/family_swap.h"
#include "paradoxfile/table_family.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace quintabel {

namespace fs = std::filesystem;

namespace {

std::vector<RecordedFile> recordFiles(const fs::path& folder, const std::vector<std::string>& names)
{
    std::vector<RecordedFile> files;
    for (const std::string& name : names) {
        const auto identity = IdentityOf(folder / name);
        if (!identity)
            throw std::runtime_error("The file '" + (folder / name).string() + "' vanished while it was being recorded.");
        files.push_back({name, *identity});
    }
    return files;
}

} // namespace

ParadoxReplacement::ParadoxReplacement(const fs::path& paradoxFolder, std::string table, Existing existing)
    : existing_(existing)
{
    if (paradoxFolder.empty())
        throw std::runtime_error("No Paradox folder is given.");
    if (table.empty() || table.find('/') != std::string::npos)
        throw std::runtime_error("'" + table + "' cannot be the name of a Paradox table.");
    std::string pattern = (paradoxFolder / (std::string(kStagingPrefix) + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("Cannot make a folder for the new table in '" + paradoxFolder.string()
                                 + "': " + std::strerror(errno));
    KillPoint("staging folder made");
    paths_.folder = paradoxFolder;
    paths_.id = fs::path(pattern).filename().string().substr(kStagingPrefix.size());
    journal_.table = std::move(table);
    try {
        lock_ = OwnerLock::take(paths_.staging());
        WriteJournal(paths_, journal_);
    } catch (...) {
        abandon();
        throw;
    }
}

ParadoxReplacement::~ParadoxReplacement()
{
    if (!settled_)
        abandon();
}

void ParadoxReplacement::recordFamilies()
{
    const std::vector<std::string> newNames = TableFamilyFilesIn(paths_.staging(), journal_.table);
    if (newNames.empty() || !paradox::equalIgnoringCase(newNames.front(), journal_.table + ".db"))
        throw std::runtime_error("The new table '" + journal_.table + "' was not written into '"
                                 + paths_.staging().string() + "'.");
    const std::vector<std::string> oldNames = TableFamilyFilesIn(paths_.folder, journal_.table);
    // Two tables whose names differ only in letter case: which one is meant cannot be told,
    // and replacing both would delete a table nobody asked to replace.
    if (oldNames.size() > 1 && paradox::equalIgnoringCase(oldNames[1], journal_.table + ".db"))
        throw std::runtime_error("Paradox table '" + journal_.table + "' is in folder '" + paths_.folder.string()
                                 + "' more than once, in files that differ only in letter case ('" + oldNames[0]
                                 + "', '" + oldNames[1] + "'); Quintabel will not guess which one is meant.");
    if (existing_ == Existing::Refuse && !oldNames.empty())
        throw std::runtime_error("Paradox table '" + journal_.table + "' already exists in folder '"
                                 + paths_.folder.string() + "' ('" + oldNames.front()
                                 + "'); Quintabel never replaces a table.");
    journal_.newFamily = recordFiles(paths_.staging(), newNames);
    journal_.oldFamily = recordFiles(paths_.folder, oldNames);
}

void ParadoxReplacement::complete()
{
    if (settled_)
        throw std::logic_error("This replacement is already settled.");
    recordFamilies(); // a failure here leaves the old table untouched, for the destructor
    journal_.step = ReplaceStep::NewComplete;
    WriteJournal(paths_, journal_);
    try {
        FinishReplacement(paths_, journal_);
        settled_ = true;
    } catch (const std::exception& problem) {
        if (journal_.step == ReplaceStep::NewMovedIn) {
            // The new table is in place: the replacement has happened, only its tidying up
            // failed. The recovery at the next start finishes it.
            settled_ = true;
            throw std::runtime_error(std::string(problem.what())
                                     + " The new table is in place; Quintabel removes the old one's files at its next start.");
        }
        undoAfterFailure();
        throw;
    }
}

void ParadoxReplacement::undoAfterFailure()
{
    settled_ = true; // whatever happens below, the destructor must not remove the journal
    try {
        if (!PutOldTableBack(paths_, journal_) && !journal_.oldFamily.empty())
            return; // the journal stays for the recovery at the next start
        std::error_code ignored;
        fs::remove_all(paths_.staging(), ignored);
        KillPoint("new table discarded");
        fs::remove(paths_.aside(), ignored);
        RemoveJournal(paths_);
    } catch (const std::exception&) {
        // The journal still says what is where; the next start puts it right.
    }
}

void ParadoxReplacement::abandon() noexcept
{
    settled_ = true;
    if (paths_.id.empty())
        return;
    // Nothing but the staging folder and the journal was touched: the old table is as it was.
    std::error_code ignored;
    fs::remove_all(paths_.staging(), ignored);
    KillPoint("new table discarded");
    try {
        RemoveJournal(paths_);
    } catch (const std::exception&) {
        // A journal left at its first step only makes the next start remove it.
    }
}

} // namespace quintabel
