#include "maintenance/paradox_table_files.h"

#include "base/expected_problem.h"
#include "base/file_operations.h"
#include "base/path_helpers.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_family.h"
#include "paradoxfile/table_search.h"

#include <QFile>

#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

namespace quintabel {

namespace fs = std::filesystem;

namespace {

// The name as the file system spells it: the bytes of a file name.
std::string fileSystemName(const QString& name)
{
    return ToFileSystemPath(name).string();
}

QString qtPath(const fs::path& path)
{
    return QFile::decodeName(path.c_str());
}

bool stillThere(const fs::path& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error)) || (error && error != std::errc::no_such_file_or_directory);
}

// "name.ext" -> {"name", ".ext"}; no dot -> {"name", ""}.
std::pair<std::string, std::string> splitAtExtension(const std::string& fileName)
{
    const auto dot = fileName.rfind('.');
    if (dot == std::string::npos)
        return {fileName, std::string()};
    return {fileName.substr(0, dot), fileName.substr(dot)};
}

// A table name becomes the base name of files in the folder: it must stay one name in it.
void checkUsableTableName(const QString& newName)
{
    const std::string name = fileSystemName(newName);
    if (name == "." || name == "..")
        throw std::runtime_error("'" + name + "' cannot be the name of a Paradox table.");
    if (name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
        throw std::runtime_error("'" + name +
                                 "' cannot be the name of a Paradox table: a table name cannot hold '/' or a NUL "
                                 "character.");
}

// A rename onto a taken name is the user's choice of name, not a fault: refused with a plain
// message that says what to do instead.
[[noreturn]] void refuseTakenName(const std::string& taken, const std::string& oldName, const std::string& newName)
{
    throw Expected<std::runtime_error>(taken + "; renaming Paradox table '" + oldName + "' to '" + newName
                                       + "' would replace it, so nothing was renamed. Choose another name, or delete "
                                         "or rename that table first.");
}

// Refuses when a file in the table's own folder already belongs to a table called `newName`:
// its .DB, or a companion that the renamed table would otherwise replace or silently take over.
void checkNameIsFreeBeside(const fs::path& tableFolder, const std::string& newName, const std::string& oldName)
{
    std::string takenTable;     // the other table's .DB
    std::string takenCompanion; // a companion of that name, with or without its .DB
    std::error_code error;
    fs::directory_iterator it(tableFolder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string fileName = it->path().filename().string();
        const auto [stem, extension] = splitAtExtension(fileName);
        if (extension.empty() || !paradox::equalIgnoringCase(stem, newName))
            continue;
        if (paradox::equalIgnoringCase(extension, ".db"))
            takenTable = fileName;
        else if (paradox::isCompanionExtension(extension.substr(1)))
            takenCompanion = fileName;
    }
    if (error)
        throw std::runtime_error("Cannot read folder '" + tableFolder.string() + "': " + error.message() + ".");
    if (!takenTable.empty())
        refuseTakenName("Paradox table '" + splitAtExtension(takenTable).first + "' already exists in folder '"
                            + tableFolder.string() + "' (file '" + takenTable + "')",
                        oldName, newName);
    if (!takenCompanion.empty())
        refuseTakenName("File '" + takenCompanion + "' already exists in folder '" + tableFolder.string() + "'",
                        oldName, newName);
}

// The table list shows every table of the Paradox folder and of the folders below it by its
// bare name, and a name finds the folder's own table before any below it: a second table of
// the new name anywhere in the tree would hide one of the two behind the other.
void checkNameIsFreeInTree(const fs::path& paradoxFolder, const std::string& newName, const std::string& oldName)
{
    const std::vector<fs::path> taken = paradox::tablesNamedInTree(paradoxFolder, newName);
    if (!taken.empty())
        refuseTakenName("Paradox table '" + taken.front().stem().string() + "' already exists in folder '"
                            + taken.front().parent_path().string() + "' (file '" + taken.front().filename().string()
                            + "')",
                        oldName, newName);
}

struct PlannedMove {
    fs::path from;
    fs::path to;
};

// Companions first and the .DB last: until the .DB moves, the table is whole under its old
// name, and once it has moved, its memos are already beside it.
std::vector<PlannedMove> planMoves(const ParadoxTableFiles& files, const std::string& newName)
{
    std::vector<PlannedMove> moves;
    const auto movedTo = [&](const fs::path& file) {
        return file.parent_path() / (newName + splitAtExtension(file.filename().string()).second);
    };
    for (const fs::path& companion : files.companions)
        moves.push_back({companion, movedTo(companion)});
    moves.push_back({files.table, movedTo(files.table)});
    return moves;
}

void moveAllOrNone(const std::vector<PlannedMove>& moves, const FileMove& move, const std::string& oldName)
{
    std::size_t done = 0;
    try {
        for (; done < moves.size(); ++done)
            move(moves[done].from, moves[done].to);
    } catch (const std::exception& failure) {
        std::string message = failure.what();
        std::string notPutBack;
        while (done > 0) {
            --done;
            try {
                move(moves[done].to, moves[done].from);
            } catch (const std::exception& undoFailure) {
                notPutBack += " " + std::string(undoFailure.what()) + " File '" + moves[done].to.string() +
                              "' keeps its new name and belongs to table '" + oldName + "'.";
            }
        }
        if (notPutBack.empty())
            message += " Nothing was renamed: table '" + oldName + "' keeps its old name and all its files.";
        else
            message += " Putting back the files already renamed failed:" + notPutBack;
        throw std::runtime_error(message);
    }
}

} // namespace

std::optional<ParadoxTableFiles> FindParadoxTableFiles(const QString& folder, const QString& tableName)
{
    const fs::path folderPath = ToFileSystemPath(folder);
    std::error_code error;
    if (folder.isEmpty() || !fs::is_directory(folderPath, error))
        return std::nullopt;
    try {
        fs::path table = paradox::locateTable(folderPath, fileSystemName(tableName));
        std::vector<fs::path> companions = paradox::findCompanions(table);
        return ParadoxTableFiles{std::move(table), std::move(companions)};
    } catch (const paradox::TableNotFoundError&) {
        return std::nullopt;
    }
}

void DeleteParadoxTableFiles(const ParadoxTableFiles& files)
{
    RemoveFile(qtPath(files.table));
    if (stillThere(files.table))
        throw std::runtime_error("Could not delete Paradox table file '" + files.table.string() +
                                 "'; the table and its other files were left as they were.");
    std::string leftBehind;
    for (const fs::path& companion : files.companions) {
        RemoveFile(qtPath(companion));
        if (stillThere(companion))
            leftBehind += (leftBehind.empty() ? "'" : ", '") + companion.string() + "'";
    }
    if (!leftBehind.empty())
        throw std::runtime_error("Deleted Paradox table file '" + files.table.string() +
                                 "', but could not delete its files " + leftBehind + ".");
}

ParadoxRenameOutcome RenameParadoxTableFiles(const QString& folder, const QString& oldName,
                                             const QString& newName, const FileMove& move)
{
    const std::string oldFileName = fileSystemName(oldName);
    const std::string newFileName = fileSystemName(newName);
    if (paradox::equalIgnoringCase(oldFileName, newFileName))
        return ParadoxRenameOutcome::OwnName;
    checkUsableTableName(newName);
    const std::optional<ParadoxTableFiles> files = FindParadoxTableFiles(folder, oldName);
    if (!files)
        return ParadoxRenameOutcome::NotFound;
    checkNameIsFreeBeside(files->table.parent_path(), newFileName, oldFileName);
    checkNameIsFreeInTree(ToFileSystemPath(folder), newFileName, oldFileName);
    moveAllOrNone(planMoves(*files, newFileName), move, oldFileName);
    return ParadoxRenameOutcome::Renamed;
}

} // namespace quintabel
