#pragma once
// Path texts and path tests shared by the windows. Paths use this platform's separator "/"
// wherever the program's own rules speak of a backslash.

#include <QString>

#include <filesystem>
#include <optional>

namespace quintabel {

// The text after the last "/" (the whole path when it has none; empty when it ends in "/").
QString FileNameOfPath(const QString& path);

// True when the platform can tell the path's last-modified time; false for any failure,
// including an empty path.
bool PathExists(const QString& path);

// Whether the path names a folder (links followed); no value when it cannot be examined,
// which callers count as false.
std::optional<bool> IsFolder(const QString& path);

// The folder that holds the running program.
QString folderOfProgram();

// Where an installed program's data lies: share/quintabel beside the folder that holds the
// program (bin/), as `cmake --install` and the Debian package lay it out.
QString installedDataFolder(const QString& programFolder);

// The path in the file system's own encoding, byte for byte as the platform spells it.
std::filesystem::path toFileSystemPath(const QString& path);

} // namespace quintabel
