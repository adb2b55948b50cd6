#pragma once
// The folder walk (module "AddFolder"): extends a collection of folders with every folder
// below them, level by level, for the Paradox table list.
//
// On this platform: a folder reached through a symbolic link is not walked (so a link loop
// cannot make the walk endless), a name that is not valid UTF-8 or that holds control
// characters or "?" is passed over with its whole subtree, and subfolders come in name order
// (letter case ignored), as the Windows file system lists them.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <exception>
#include <functional>

namespace quintabel {

struct Subfolder {
    QByteArray rawName;      // as the file system stores it
    bool reachedThroughLink; // the entry is a symbolic link to a folder
};

using SubfolderVisitor = std::function<void(const Subfolder&)>;
// Calls the visitor for each subfolder of a folder; throws FileSystemError when the folder
// cannot be listed.
using SubfolderLister = std::function<void(const QString& folder, const SubfolderVisitor& visit)>;

// The subfolders of a folder on disk, in name order, letter case ignored.
void listSubfoldersOnDisk(const QString& folder, const SubfolderVisitor& visit);

// A failure of the walk outside the listing of a folder, handed to whoever asked for the walk,
// with the label of the step that met it; the walk then goes on with its next step. The walk
// itself shows nothing: the caller decides how the failure is told (the tables window shows
// the error report under FolderWalkLocation).
using FolderWalkFailure = std::function<void(std::exception_ptr failure, int label)>;

// "AddFolder" and "GetSubDirectories2016", the module and procedure a walk's failure is told
// under, with the Fernwick prefix.
inline constexpr char kFolderWalkModule[] = "AddFolder";
inline constexpr char kFolderWalkProcedure[] = "GetSubDirectories2016";

// GetSubDirectories2016: appends to `folders` all subfolders of its entries (each entry and
// each appended path ends with "/"), breadth first: the entries' children, then their
// children's children when `recurse` is true, and so on. A folder that cannot be listed
// (permission denied, or gone) is removed from the collection without a message; other
// listing failures keep the folder and skip the rest of its subfolders. Entries that are not
// folders, and paths of 260 characters or more, stay in the collection but are not walked.
// A failure outside the listing goes to `failed` (when given) and the walk goes on.
void GetSubDirectories2016(QStringList& folders, bool recurse,
                           const SubfolderLister& listSubfolders = listSubfoldersOnDisk,
                           const FolderWalkFailure& failed = {});

} // namespace quintabel
