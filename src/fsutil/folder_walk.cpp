#include "fsutil/folder_walk.h"

#include "base/path_helpers.h"
#include "fsutil/file_system_error.h"
#include "fsutil/unusual_characters.h"

#include <QCoreApplication>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace quintabel {

namespace {

// Windows cannot use a path or a name this long; the walk keeps that limit, which also bounds
// the depth of any walk.
constexpr qsizetype kPathLimit = 260;

bool nameOrderLess(const Subfolder& left, const Subfolder& right)
{
    const QString leftName = QString::fromUtf8(left.rawName);
    const QString rightName = QString::fromUtf8(right.rawName);
    const int ignoringCase = leftName.compare(rightName, Qt::CaseInsensitive);
    if (ignoringCase != 0)
        return ignoringCase < 0;
    return left.rawName < right.rawName;
}

// Throws FileSystemError when the folder cannot be examined (for example when it has gone
// since the walk saw it).
void examineFolder(const QString& folder)
{
    std::error_code reason;
    [[maybe_unused]] const auto status = std::filesystem::status(toFileSystemPath(folder), reason);
    if (reason)
        throw FileSystemError(QStringLiteral("Could not examine the folder"), folder, reason);
}

} // namespace

void listSubfoldersOnDisk(const QString& folder, const SubfolderVisitor& visit)
{
    const auto failure = [&](std::error_code reason) {
        return FileSystemError(QStringLiteral("Could not list the subfolders of"), folder, reason);
    };
    std::error_code reason;
    std::filesystem::directory_iterator entries(toFileSystemPath(folder), reason);
    if (reason)
        throw failure(reason);
    std::vector<Subfolder> subfolders;
    for (; entries != std::filesystem::directory_iterator(); entries.increment(reason)) {
        if (reason)
            throw failure(reason);
        std::error_code ignored;
        if (!entries->is_directory(ignored))
            continue; // a file, or a link to something that is no folder (or to nothing)
        const std::string name = entries->path().filename().native();
        subfolders.push_back({QByteArray(name.data(), static_cast<qsizetype>(name.size())),
                              entries->is_symlink(ignored)});
    }
    if (reason)
        throw failure(reason);
    std::sort(subfolders.begin(), subfolders.end(), nameOrderLess);
    for (const Subfolder& subfolder : subfolders)
        visit(subfolder);
}

void GetSubDirectories2016(QStringList& folders, bool recurse, const SubfolderLister& listSubfolders,
                           const FolderWalkFailure& failed)
{
    // A step outside the folder rule: its failure is handed over and the walk goes on.
    const auto guardedStep = [&](int label, const std::function<void()>& action) {
        try {
            action();
        } catch (...) {
            if (failed)
                failed(std::current_exception(), label);
        }
    };
    QStringList newFolders;
    // Until the first listing begins a failure is reported; from then on until the deeper
    // levels are done, a failure only drops the folder in hand (the folder rule).
    bool folderRuleInForce = false;

    const QStringList entries = folders; // entries removed below are still visited once
    for (const QString& folder : entries) {
        // Runs one step under the rule in force; false when the rest of this folder is skipped.
        const auto runStep = [&](int label, const std::function<void()>& action) {
            if (!folderRuleInForce) {
                guardedStep(label, action);
                return true;
            }
            try {
                action();
                return true;
            } catch (const FileSystemError& failure) {
                if (failure.isDeniedOrMissing())
                    folders.removeOne(folder);
                return false;
            } catch (...) {
                return false;
            }
        };

        if (IsFolder(folder) != true) // [108]
            continue;
        if (folder.size() >= kPathLimit) // [110]
            continue;
        if (!runStep(112, [&] { examineFolder(folder); }))
            continue;
        QCoreApplication::processEvents(); // [114]
        // [116] Windows passes over hidden system folders here; this platform has no system
        // attribute, so no folder is passed over for its attributes.

        folderRuleInForce = true;
        runStep(118, [&] {
            listSubfolders(folder, [&](const Subfolder& subfolder) {
                QCoreApplication::processEvents(); // [120]
                if (subfolder.reachedThroughLink)
                    return;
                // [122]-[130] An unusual name (invalid UTF-8, control characters, "?") is
                // passed over with its subtree; the listing never yields "." or "..".
                const std::optional<QString> name = nameFromFileSystem(subfolder.rawName);
                if (!name || name->size() >= kPathLimit || HasUnusualCharacters(*name))
                    return;
                newFolders.append(folder + *name + QLatin1Char('/')); // [132]-[134]
            });
        });
    }

    if (recurse && !newFolders.isEmpty()) // [150]
        GetSubDirectories2016(newFolders, true, listSubfolders, failed);
    folderRuleInForce = false;

    for (const QString& newFolder : newFolders) { // [152]
        if (IsFolder(newFolder) == true) {        // [154]
            QCoreApplication::processEvents();    // [156]
            folders.append(newFolder);            // [158]-[160]
        }
    }
}

} // namespace quintabel
