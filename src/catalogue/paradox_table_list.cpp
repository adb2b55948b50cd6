#include "catalogue/paradox_table_list.h"

#include "catalogue/table_name_case.h"
#include "catalogue/table_name_list.h"
#include "fsutil/file_search.h"
#include "fsutil/folder_walk.h"
#include "shell/path_helpers.h"

#include <QListWidget>

namespace quintabel {

namespace {

const QString kTablePattern = QStringLiteral("*.db");

// By the common convention a name beginning with "~" marks a temporary file: not listed.
bool isTemporaryFile(const QString& fileName)
{
    return fileName.startsWith(QLatin1Char('~'));
}

} // namespace

QString ParadoxTableNameOfFile(const QString& fileName)
{
    // Upper-cased first, so that the extension goes whatever its case; every ".DB" goes, not
    // only the last.
    return AsciiUpperCase(fileName).remove(QStringLiteral(".DB"), Qt::CaseSensitive);
}

bool ParadoxFolderHasTables(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    return !FindFiles(folder, kTablePattern).isEmpty();
}

void ListParadoxTables(QListWidget& list, const QString& folder)
{
    list.clear();
    if (folder.isEmpty())
        return;
    QStringList folders{folder + QLatin1Char('/')};
    GetSubDirectories2016(folders, true);
    for (const QString& entry : folders) {
        const QString folderPath = entry.chopped(1); // every entry ends with its "/"
        for (const QString& fileName : FindFiles(folderPath, kTablePattern)) {
            if (isTemporaryFile(fileName))
                continue;
            const QString path = folderPath + QLatin1Char('/') + fileName;
            AddTableName(list, ParadoxTableNameOfFile(FileNameOfPath(path)));
        }
    }
}

} // namespace quintabel
