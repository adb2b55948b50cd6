#include "catalogue/paradox_table_names.h"

#include "base/path_helpers.h"
#include "base/step_guard.h"
#include "catalogue/table_name_case.h"
#include "frontend/table_name_order.h"
#include "fsutil/file_search.h"
#include "fsutil/folder_walk.h"
#include "maintenance/working_names.h"

#include <algorithm>

namespace quintabel {

namespace {

const QString kTablePattern = QStringLiteral("*.db");

// By the common convention a name beginning with "~" marks a temporary file: not listed.
bool isTemporaryFile(const QString& fileName)
{
    return fileName.startsWith(QLatin1Char('~'));
}

// Quintabel's own working files and folders (a table being written, a replacement's staging
// and set-aside folders) hold no table of the user's: a table in them is listed only once the
// recovery has put it back. The walk itself still enters hidden folders, as the folder walk's
// rules say; they are left out here.
bool isWorkingFile(const QString& name)
{
    return isWorkingName(name.toStdString());
}

bool liesInWorkingFolder(const QString& entry, qsizetype rootLength)
{
    const QStringList below = entry.mid(rootLength).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return std::any_of(below.begin(), below.end(), isWorkingFile);
}

// The walk's own failures are told as the error report of the walk, which then goes on.
void showWalkFailure(std::exception_ptr failure, int label)
{
    StepGuard guard(QString::fromLatin1(kFolderWalkModule), QString::fromLatin1(kFolderWalkProcedure),
                    LocationPrefix::Fernwick);
    try {
        std::rethrow_exception(failure);
    } catch (...) {
        guard.reportCurrentException(label);
    }
}

} // namespace

QString paradoxTableNameOfFile(const QString& fileName)
{
    // Upper-cased first, so that the extension goes whatever its case; every ".DB" goes, not
    // only the last.
    return asciiUpperCase(fileName).remove(QStringLiteral(".DB"), Qt::CaseSensitive);
}

bool ParadoxFolderHasTables(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    return !FindFiles(folder, kTablePattern).isEmpty();
}

void visitParadoxTableNames(const QString& folder, const std::function<void(const QString& name)>& visit)
{
    if (folder.isEmpty())
        return;
    QStringList folders{folder + QLatin1Char('/')};
    const qsizetype rootLength = folders.constFirst().size(); // taken before the walk may drop it
    GetSubDirectories2016(folders, true, listSubfoldersOnDisk, showWalkFailure);
    for (const QString& entry : folders) {
        if (liesInWorkingFolder(entry, rootLength))
            continue;
        const QString folderPath = entry.chopped(1); // every entry ends with its "/"
        for (const QString& fileName : FindFiles(folderPath, kTablePattern)) {
            if (isTemporaryFile(fileName) || isWorkingFile(fileName))
                continue;
            const QString path = folderPath + QLatin1Char('/') + fileName;
            visit(paradoxTableNameOfFile(FileNameOfPath(path)));
        }
    }
}

QStringList paradoxTableNames(const QString& folder)
{
    QStringList names;
    visitParadoxTableNames(folder, [&](const QString& name) { names.append(name); });
    std::stable_sort(names.begin(), names.end(), tableNameOrderLess);
    return names;
}

} // namespace quintabel
