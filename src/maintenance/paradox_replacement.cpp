#include "maintenance/paradox_replacement.h"

#include "base/kill_points.h"
#include "base/expected_problem.h"
#include "maintenance/family_swap.h"
#include "maintenance/paradox_table_name.h"
#include "paradoxfile/table_family.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace quintabel {

namespace fs = std::filesystem;

ParadoxReplacement::ParadoxReplacement(const fs::path& paradoxFolder, std::string table, Existing existing,
                                       FolderWriteLock::WhileBusy whileBusy)
    : existing_(existing), whileBusy_(std::move(whileBusy))
{
    if (paradoxFolder.empty())
        throw std::runtime_error("No Paradox folder is given.");
    checkParadoxTableName(table);
    // Made under the folder's lock, so that the recovery of another program never finds the
    // staging folder before it is locked and its journal written.
    const FolderWriteLock folderLock = FolderWriteLock::take(paradoxFolder, whileBusy_);
    std::string pattern = (paradoxFolder / (std::string(kStagingPrefix) + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw Expected<std::runtime_error>("Cannot write in the Paradox folder '" + paradoxFolder.string()
                                           + "' (" + std::strerror(errno) + "): nothing was written there. "
                                           + "Choose a folder you may write in, or ask for the right to write in this one.");
    killPoint("staging folder made");
    paths_.folder = paradoxFolder;
    paths_.id = fs::path(pattern).filename().string().substr(kStagingPrefix.size());
    journal_.table = std::move(table);
    try {
        lock_ = OwnerLock::take(paths_.staging());
        writeJournal(paths_, journal_);
    } catch (...) {
        discard();
        throw;
    }
}

ParadoxReplacement::~ParadoxReplacement()
{
    if (!settled_)
        abandon();
}

void ParadoxReplacement::checkTarget() const
{
    const std::vector<std::string> oldNames = tableFamilyFilesIn(paths_.folder, journal_.table);
    checkOldFamily(oldNames);
}

void ParadoxReplacement::checkOldFamily(const std::vector<std::string>& oldNames) const
{
    // Two tables whose names differ only in letter case: which one is meant cannot be told,
    // and replacing both would delete a table nobody asked to replace.
    if (oldNames.size() > 1 && paradox::equalIgnoringCase(oldNames[1], journal_.table + ".db"))
        throw Expected<std::runtime_error>("Paradox table '" + journal_.table + "' is in folder '"
                                           + paths_.folder.string()
                                           + "' more than once, in files that differ only in letter case ('"
                                           + oldNames[0] + "', '" + oldNames[1]
                                           + "'); Quintabel will not guess which one is meant.");
    if (existing_ == Existing::Refuse && !oldNames.empty())
        throw Expected<std::runtime_error>("Paradox table '" + journal_.table + "' already exists in folder '"
                                           + paths_.folder.string() + "' ('" + oldNames.front()
                                           + "'); Quintabel never replaces a table.");
}

void ParadoxReplacement::recordFamilies()
{
    const std::vector<std::string> newNames = tableFamilyFilesIn(paths_.staging(), journal_.table);
    if (newNames.empty() || !paradox::equalIgnoringCase(newNames.front(), journal_.table + ".db"))
        throw std::runtime_error("The new table '" + journal_.table + "' was not written into '"
                                 + paths_.staging().string() + "'.");
    const std::vector<std::string> oldNames = tableFamilyFilesIn(paths_.folder, journal_.table);
    checkOldFamily(oldNames);
    journal_.newFamily = recordFiles(paths_.staging(), newNames);
    journal_.oldFamily = recordFiles(paths_.folder, oldNames);
}

void ParadoxReplacement::complete()
{
    if (settled_)
        throw std::logic_error("This replacement is already settled.");
    // Every step from here to the end under the folder's lock: another program's replacement,
    // rename or delete of the same table waits, rather than moving files between these steps.
    const FolderWriteLock folderLock = FolderWriteLock::take(paths_.folder, whileBusy_);
    recordFamilies(); // a failure here leaves the old table untouched, for the destructor
    journal_.step = JournalStep::NewComplete;
    writeJournal(paths_, journal_);
    try {
        finishReplacement(paths_, journal_);
        settled_ = true;
    } catch (const std::exception& problem) {
        if (journal_.step == JournalStep::NewMovedIn) {
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
        if (!putOldTableBack(paths_, journal_) && !journal_.oldFamily.empty())
            return; // the journal stays for the recovery at the next start
        std::error_code ignored;
        fs::remove_all(paths_.staging(), ignored);
        killPoint("new table discarded");
        fs::remove(paths_.aside(), ignored);
        removeJournal(paths_);
    } catch (const std::exception&) {
        // The journal still says what is where; the next start puts it right.
    }
}

void ParadoxReplacement::abandon() noexcept
{
    try {
        const FolderWriteLock folderLock = FolderWriteLock::take(paths_.folder);
        discard();
    } catch (const std::exception&) {
        discard(); // the folder cannot be locked (it is gone?): the working files go all the same
    }
}

void ParadoxReplacement::discard() noexcept
{
    settled_ = true;
    if (paths_.id.empty())
        return;
    // Nothing but the staging folder and the journal was touched: the old table is as it was.
    std::error_code ignored;
    fs::remove_all(paths_.staging(), ignored);
    killPoint("new table discarded");
    try {
        removeJournal(paths_);
    } catch (const std::exception&) {
        // A journal left at its first step only makes the next start remove it.
    }
}

} // namespace quintabel
