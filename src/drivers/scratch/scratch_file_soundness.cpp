#include "drivers/scratch/scratch_file_soundness.h"

#include "base/kill_points.h"
#include "drivers/database_error.h"
#include "drivers/scratch/sqlite_database.h"

#include <sqlite3.h>

#include <fstream>
#include <system_error>

namespace quintabel::db::scratch {

namespace fs = std::filesystem;

namespace {

// SQLite's words for a file whose content is wrong, as against one it could not get at.
bool isDamage(const DatabaseError& error)
{
    const int primaryCode = error.number() & 0xff;
    return primaryCode == SQLITE_CORRUPT || primaryCode == SQLITE_NOTADB;
}

fs::path withSuffix(const fs::path& file, const char* suffix)
{
    fs::path named = file;
    named += suffix;
    return named;
}

void removeIfPresent(const fs::path& file)
{
    std::error_code error;
    fs::remove(file, error);
    if (error)
        throw DatabaseError("Could not remove '" + file.string() + "': " + error.message());
}

} // namespace

bool isSoundScratchFile(const fs::path& file)
{
    try {
        // Opened for writing, so that SQLite can roll back a transaction a kill left behind
        // before the check reads the file.
        SqliteDatabase database(file, false);
        // Stops at the first fault; a sound file answers a single "ok".
        auto check = database.prepare("PRAGMA quick_check(1)");
        return check.step() && check.columnText(0) == "ok";
    } catch (const DatabaseError& error) {
        if (isDamage(error))
            return false;
        throw;
    }
}

void remakeEmptyScratchFile(const fs::path& file)
{
    // The rollback journal of the damaged file first: applied to the new file it would bring
    // the damaged pages back.
    for (const char* companion : {"-journal", "-wal", "-shm"}) {
        removeIfPresent(withSuffix(file, companion));
        killPoint("a companion of the damaged scratch file removed");
    }
    const fs::path fresh = withSuffix(file, ".new");
    {
        std::ofstream empty(fresh, std::ios::binary | std::ios::trunc);
        if (!empty)
            throw DatabaseError("Could not create '" + fresh.string() + "'.");
    }
    killPoint("an empty scratch file made beside the damaged one");
    std::error_code error;
    fs::rename(fresh, file, error);
    if (error)
        throw DatabaseError("Could not replace the damaged scratch database '" + file.string()
                            + "': " + error.message());
    killPoint("the damaged scratch file replaced by an empty one");
}

std::string scratchFileRemadeNotice(const fs::path& file)
{
    return "The scratch database '" + file.string()
        + "' was damaged, probably by an interrupted run, and has been made anew. No table was "
          "lost: it only holds copies while they are sent.";
}

} // namespace quintabel::db::scratch
