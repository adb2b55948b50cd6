#include "paradoxfile/table_family.h"

#include "base/ascii_case.h"
#include "paradoxfile/errors.h"

#include <algorithm>
#include <system_error>

namespace quintabel::paradox {

namespace fs = std::filesystem;

namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The regular files (or links to them) directly in `folder`, by name.
std::vector<fs::path> filesIn(const fs::path& folder)
{
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error)
        throw IoError("Cannot read folder '" + folder.string() + "': " + error.message() + ".");
    std::vector<fs::path> files;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            throw IoError("Cannot read folder '" + folder.string() + "': " + error.message() + ".");
        std::error_code statError;
        if (it->is_regular_file(statError))
            files.push_back(it->path());
    }
    if (error)
        throw IoError("Cannot read folder '" + folder.string() + "': " + error.message() + ".");
    std::sort(files.begin(), files.end());
    return files;
}

// Splits "name.ext" at its last dot.
std::pair<std::string, std::string> splitName(const std::string& fileName)
{
    const auto dot = fileName.rfind('.');
    if (dot == std::string::npos)
        return {fileName, std::string()};
    return {fileName.substr(0, dot), fileName.substr(dot + 1)};
}

} // namespace

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

bool isCompanionExtension(std::string_view extension)
{
    static constexpr std::string_view named[] = {"mb", "px", "val", "tv", "tvf", "fam", "set"};
    for (const auto name : named)
        if (equalIgnoringCase(extension, name))
            return true;
    if (extension.size() == 3) {
        const char first = asciiLower(extension[0]);
        if (first != 'x' && first != 'y')
            return false;
        if (asciiLower(extension[1]) == 'g' && isHexDigit(extension[2]))
            return true; // XGn, YGn
        return isHexDigit(extension[1]) && isHexDigit(extension[2]); // Xnn, Ynn
    }
    return false;
}

std::optional<fs::path> findFileIgnoringCase(const fs::path& folder, std::string_view fileName)
{
    std::vector<fs::path> matches;
    for (const auto& file : filesIn(folder)) {
        const std::string name = file.filename().string();
        if (name == fileName)
            return file;
        if (equalIgnoringCase(name, fileName))
            matches.push_back(file);
    }
    if (matches.empty())
        return std::nullopt;
    if (matches.size() > 1)
        throw AmbiguousTableError("Several files in folder '" + folder.string() + "' are called '"
                                  + std::string(fileName) + "' when letter case is ignored ('"
                                  + matches[0].filename().string() + "', '"
                                  + matches[1].filename().string() + "'); Quintabel will not guess which one is meant.");
    return matches.front();
}

fs::path resolveTable(const fs::path& folder, std::string_view tableName)
{
    std::vector<fs::path> matches;
    for (const auto& file : filesIn(folder)) {
        const auto [stem, extension] = splitName(file.filename().string());
        if (equalIgnoringCase(extension, "db") && equalIgnoringCase(stem, tableName))
            matches.push_back(file);
    }
    if (matches.empty())
        throw TableNotFoundError("Paradox table '" + std::string(tableName) + "' was not found in folder '"
                                 + folder.string() + "'.");
    if (matches.size() > 1)
        throw AmbiguousTableError("Paradox table '" + std::string(tableName) + "' is in folder '" + folder.string()
                                  + "' more than once, in files that differ only in letter case ('"
                                  + matches[0].filename().string() + "', '" + matches[1].filename().string()
                                  + "'); Quintabel will not guess which one is meant.");
    return matches.front();
}

std::vector<fs::path> findCompanions(const fs::path& dbPath)
{
    const fs::path folder = dbPath.has_parent_path() ? dbPath.parent_path() : fs::path(".");
    const auto [dbStem, dbExtension] = splitName(dbPath.filename().string());
    std::vector<fs::path> companions;
    for (const auto& file : filesIn(folder)) {
        const auto [stem, extension] = splitName(file.filename().string());
        if (equalIgnoringCase(stem, dbStem) && isCompanionExtension(extension))
            companions.push_back(file);
    }
    return companions;
}

TableFamily findTableFamily(const fs::path& folder, std::string_view tableName)
{
    TableFamily family;
    family.table = resolveTable(folder, tableName);
    family.companions = findCompanions(family.table);
    return family;
}

std::optional<fs::path> findBlobFile(const fs::path& dbPath)
{
    const fs::path folder = dbPath.has_parent_path() ? dbPath.parent_path() : fs::path(".");
    const std::string dbStem = splitName(dbPath.filename().string()).first;
    std::vector<fs::path> matches;
    for (const auto& file : filesIn(folder)) {
        const auto [stem, extension] = splitName(file.filename().string());
        if (equalIgnoringCase(extension, "mb") && equalIgnoringCase(stem, dbStem))
            matches.push_back(file);
    }
    if (matches.size() > 1) {
        // Prefer the one whose base name is spelt exactly like the table's.
        std::vector<fs::path> exact;
        for (const auto& match : matches)
            if (splitName(match.filename().string()).first == dbStem)
                exact.push_back(match);
        if (exact.size() == 1)
            return exact.front();
        throw AmbiguousTableError("Table '" + dbPath.string() + "' has more than one blob file ('"
                                  + matches[0].filename().string() + "', '" + matches[1].filename().string()
                                  + "'); Quintabel will not guess which one holds its memos.");
    }
    if (matches.empty())
        return std::nullopt;
    return matches.front();
}

} // namespace quintabel::paradox
