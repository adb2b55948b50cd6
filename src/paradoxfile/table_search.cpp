#include "paradoxfile/table_search.h"

#include "paradoxfile/detail/utf8.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_family.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

namespace quintabel::paradox {

namespace fs = std::filesystem;

namespace {

bool isTableFileOf(const std::string& fileName, std::string_view tableName)
{
    const auto dot = fileName.rfind('.');
    return dot != std::string::npos && equalIgnoringCase(std::string_view(fileName).substr(dot + 1), "db")
        && equalIgnoringCase(std::string_view(fileName).substr(0, dot), tableName);
}

// The table list's folder walk passes over these names with everything below them: a name
// that cannot be shown as text, or holds characters that stand for ones that could not be.
bool isSearchedFolderName(std::string_view name)
{
    if (name.starts_with(workingNamePrefix))
        return false;
    std::size_t pos = 0;
    char32_t character = 0;
    while (pos < name.size()) {
        if (!detail::nextCodePoint(name, pos, character))
            return false;
        if (character < 32 || (character >= 127 && character <= 159) || character == '?')
            return false;
    }
    return true;
}

// In the order the table list walks them: letter case ignored, then as spelt.
bool folderOrderLess(const fs::path& left, const fs::path& right)
{
    const std::string leftName = left.filename().string();
    const std::string rightName = right.filename().string();
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    const bool lessIgnoringCase = std::lexicographical_compare(
        leftName.begin(), leftName.end(), rightName.begin(), rightName.end(),
        [&](char a, char b) { return lower(static_cast<unsigned char>(a)) < lower(static_cast<unsigned char>(b)); });
    if (lessIgnoringCase || !equalIgnoringCase(leftName, rightName))
        return lessIgnoringCase;
    return leftName < rightName;
}

// Adds the folder's tables called `tableName` to `tables` and the subfolders to search to
// `subfolders`. The failure to read the folder, if any.
std::error_code scanFolder(const fs::path& folder, std::string_view tableName, std::vector<fs::path>& tables,
                           std::vector<fs::path>& subfolders)
{
    std::error_code error;
    fs::directory_iterator it(folder, error);
    std::vector<fs::path> foundTables;
    std::vector<fs::path> foundFolders;
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code statError;
        if (it->is_symlink(statError) && it->is_directory(statError))
            continue; // never walked, so that a link loop cannot make the search endless
        if (it->is_directory(statError)) {
            if (isSearchedFolderName(it->path().filename().native()))
                foundFolders.push_back(it->path());
        } else if (it->is_regular_file(statError) && isTableFileOf(it->path().filename().string(), tableName)) {
            foundTables.push_back(it->path());
        }
    }
    if (error)
        return error;
    std::sort(foundTables.begin(), foundTables.end());
    std::sort(foundFolders.begin(), foundFolders.end(), folderOrderLess);
    tables.insert(tables.end(), foundTables.begin(), foundTables.end());
    subfolders.insert(subfolders.end(), foundFolders.begin(), foundFolders.end());
    return {};
}

std::string quotedList(const std::vector<fs::path>& files)
{
    std::string list;
    for (const fs::path& file : files)
        list += (list.empty() ? "'" : ", '") + file.string() + "'";
    return list;
}

} // namespace

std::vector<fs::path> tablesNamedInTree(const fs::path& folder, std::string_view tableName)
{
    std::vector<fs::path> tables;
    std::vector<fs::path> level;
    if (const std::error_code error = scanFolder(folder, tableName, tables, level))
        throw IoError("Cannot read folder '" + folder.string() + "': " + error.message() + ".");
    // Level by level, as the table list walks; a folder below that cannot be read is left out,
    // as the list leaves it out.
    while (!level.empty()) {
        std::vector<fs::path> nextLevel;
        for (const fs::path& subfolder : level)
            scanFolder(subfolder, tableName, tables, nextLevel);
        level = std::move(nextLevel);
    }
    return tables;
}

fs::path locateTable(const fs::path& folder, std::string_view tableName)
{
    std::optional<TableNotFoundError> notInFolder;
    try {
        return resolveTable(folder, tableName);
    } catch (const TableNotFoundError& notFound) {
        notInFolder = notFound;
    }
    const std::vector<fs::path> below = tablesNamedInTree(folder, tableName);
    if (below.empty())
        throw *notInFolder;
    if (below.size() == 1)
        return below.front();
    throw AmbiguousTableError("Paradox table '" + std::string(tableName) + "' is not in folder '" + folder.string()
                              + "' itself, and several files below it hold a table of that name: " + quotedList(below)
                              + ". Quintabel will not guess which one is meant: rename or move all but one of them.");
}

} // namespace quintabel::paradox
