#pragma once
// Moving and deleting single files: the table files of the Paradox folder.

#include <QString>

namespace quintabel {

// Copies the source file onto the target path (replacing a target file), then removes the
// source: a rename that also works across folders and file systems. Guarded as
// "Main.RenameFile": a failing step shows the error report. After a failed copy the source is
// never removed, so the table's only copy is not lost; a copy of a file onto itself (the same
// path, or the same file under another spelling) fails and leaves the file untouched.
void RenameFile(const QString& source, const QString& target);

// Copies the source file to the target path, replacing a target file. The copy is written
// beside the target under a temporary name, flushed to disk and then renamed into place, so
// the target is never left half written. Throws std::runtime_error with the reason.
void CopyFileReplacing(const QString& source, const QString& target);

// Deletes a file, by the plain delete and, when that fails, by ForceDeleteFile; every failure
// is absorbed and the caller learns nothing. Lets the window process its pending events first.
void RemoveFile(const QString& path);

// Deletes a file even when it is read-only. Throws std::runtime_error when it cannot.
void ForceDeleteFile(const QString& path);

} // namespace quintabel
