#pragma once
// The file search of one folder (module "AddFolder"): the names of its files that match a
// wildcard pattern.

#include <QString>
#include <QStringList>

namespace quintabel {

// FindFiles: the names (without folder) of the files in `folder` that match `pattern` ("*"
// any run of characters, "?" one character, letter case ignored), hidden files included,
// folders excluded, in name order. `folder` may end with "/" or not. A folder that does not
// exist gives no names; a folder that cannot be read throws FileSystemError. A name that is
// not valid UTF-8 is left out: it could not be reached again through its text.
QStringList FindFiles(QString folder, const QString& pattern);

// FileExistsStrict: true when the path names an existing file that is no folder (links
// followed); false for folders, missing paths and any failure.
bool FileExistsStrict(const QString& path);

// Whether `name` matches the wildcard `pattern`, letter case ignored.
bool wildcardMatches(const QString& pattern, const QString& name);

} // namespace quintabel
