#pragma once
// Deleting single files: the table files of the Paradox folder.

#include <QString>

namespace quintabel {

// Deletes a file, by the plain delete and, when that fails, by ForceDeleteFile; every failure
// is absorbed and the caller learns nothing. Lets the window process its pending events first.
void RemoveFile(const QString& path);

// Deletes a file even when it is read-only. Throws std::runtime_error when it cannot.
void ForceDeleteFile(const QString& path);

} // namespace quintabel
