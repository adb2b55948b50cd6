#include "maintenance/paradox_table_files.h"

#include "base/expected_problem.h"
#include "base/path_helpers.h"
#include "maintenance/family_changes.h"
#include "maintenance/paradox_table_name.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_family.h"
#include "paradoxfile/table_search.h"

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
    return toFileSystemPath(name).string();
}

// "name.ext" -> {"name", ".ext"}; no dot -> {"name", ""}.
std::pair<std::string, std::string> splitAtExtension(const std::string& fileName)
{
    const auto dot = fileName.rfind('.');
    if (dot == std::string::npos)
        return {fileName, std::string()};
    return {fileName.substr(0, dot), fileName.substr(dot)};
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
        throw Expected<std::runtime_error>(
            "File '" + takenCompanion + "' in folder '" + tableFolder.string() + "' is left over from a table "
            + newName + " whose .DB is no longer there; renaming Paradox table '" + oldName + "' to '" + newName
            + "' would take it over, so nothing was renamed. Choose another name, or send a table called "
            + newName + " into the folder, which replaces the left-over files.");
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

// The family's file names, the .DB first, as the journal records them.
std::vector<std::string> familyNames(const ParadoxTableFiles& files)
{
    std::vector<std::string> names{files.table.filename().string()};
    for (const fs::path& companion : files.companions)
        names.push_back(companion.filename().string());
    return names;
}

// Where the table lies, relative to the Paradox folder: empty for the folder itself.
fs::path folderBelow(const fs::path& paradoxFolder, const fs::path& tableFolder)
{
    const fs::path below = tableFolder.lexically_normal().lexically_relative(paradoxFolder.lexically_normal());
    return below == "." ? fs::path() : below;
}

} // namespace

std::optional<ParadoxTableFiles> findParadoxTableFiles(const QString& folder, const QString& tableName)
{
    const fs::path folderPath = toFileSystemPath(folder);
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

void deleteParadoxTableFiles(const QString& paradoxFolder, const QString& tableName,
                             const FolderWriteLock::WhileBusy& whileBusy)
{
    const fs::path root = toFileSystemPath(paradoxFolder);
    const FolderWriteLock lock = FolderWriteLock::take(root, whileBusy);
    // Looked for under the lock: what another program did before it counts, nothing after.
    const std::optional<ParadoxTableFiles> files = findParadoxTableFiles(paradoxFolder, tableName);
    if (!files)
        return;
    deleteFamily(root, folderBelow(root, files->table.parent_path()), fileSystemName(tableName),
                 familyNames(*files));
}

ParadoxRenameOutcome renameParadoxTableFiles(const QString& folder, const QString& oldName,
                                             const QString& newName, const FileMove& move,
                                             const FolderWriteLock::WhileBusy& whileBusy)
{
    const std::string oldFileName = fileSystemName(oldName);
    const std::string newFileName = fileSystemName(newName);
    if (paradox::equalIgnoringCase(oldFileName, newFileName))
        return ParadoxRenameOutcome::OwnName;
    checkParadoxTableName(newFileName);
    const fs::path root = toFileSystemPath(folder);
    const FolderWriteLock lock = FolderWriteLock::take(root, whileBusy);
    const std::optional<ParadoxTableFiles> files = findParadoxTableFiles(folder, oldName);
    if (!files)
        return ParadoxRenameOutcome::NotFound;
    checkNameIsFreeBeside(files->table.parent_path(), newFileName, oldFileName);
    checkNameIsFreeInTree(root, newFileName, oldFileName);
    renameFamily(root, folderBelow(root, files->table.parent_path()), oldFileName, familyNames(*files), newFileName,
                 move);
    return ParadoxRenameOutcome::Renamed;
}

} // namespace quintabel
