#pragma once
// A Paradox table is a family of files with one base name: the .DB, and companions that must
// travel with it when the table is deleted or renamed (a memo must never be separated from
// its table). Names are matched without regard to letter case (ASCII letters), on every file
// system, as the Paradox driver did on Windows.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel::paradox {

struct TableFamily {
    std::filesystem::path table;                   // the .DB file
    std::vector<std::filesystem::path> companions; // .MB, .PX, .VAL, .Xnn, ... sorted by name
};

// Compares file names the way Paradox does: ASCII letters without regard to case.
bool equalIgnoringCase(std::string_view a, std::string_view b);

// Whether an extension (without the dot, any case) names a file of a table's family other
// than the .DB: MB (blobs), PX (primary index), Xnn / Ynn (secondary index, nn hexadecimal),
// XGn / YGn (composite secondary index), VAL (validity checks), TV / TVF (table view),
// FAM (family list), SET (Paradox for DOS image settings). Lock files are not companions.
bool isCompanionExtension(std::string_view extension);

// The file in `folder` called `fileName`, letter case ignored. Nothing when there is none;
// AmbiguousTableError when several differ only in case and none matches exactly.
std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view fileName);

// The .DB file of table `tableName` (its base name, without ".DB") in `folder`.
// Throws TableNotFoundError ("Paradox table 'ORDERS' was not found in folder '…'.") or
// AmbiguousTableError, or IoError when the folder cannot be read.
std::filesystem::path resolveTable(const std::filesystem::path& folder, std::string_view tableName);

// The .DB of `tableName` and all its companions present in `folder`.
TableFamily findTableFamily(const std::filesystem::path& folder, std::string_view tableName);

// The companions of a .DB file: files beside it with the same base name (letter case
// ignored) and a companion extension.
std::vector<std::filesystem::path> findCompanions(const std::filesystem::path& dbPath);

// The .MB file of a .DB file, if there is one.
std::optional<std::filesystem::path> findBlobFile(const std::filesystem::path& dbPath);

} // namespace quintabel::paradox
