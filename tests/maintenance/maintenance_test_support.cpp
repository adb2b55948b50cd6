#include "maintenance_test_support.h"

#include "catalogue/window/table_name_list.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>

namespace quintabel::testing {

void FillTableList(QListWidget& list, const QStringList& names)
{
    list.clear();
    for (const QString& name : names)
        addTableName(list, name);
    setListIndex(list, -1);
    list.clearSelection();
}

void SelectTables(QListWidget& list, const QStringList& names, const QString& current)
{
    for (int index = 0; index < list.count(); ++index) {
        QListWidgetItem* item = list.item(index);
        item->setSelected(names.contains(item->text()));
        if (item->text() == current)
            setListIndex(list, index);
    }
}

std::map<QString, QByteArray> FolderContents(const QString& folder)
{
    std::map<QString, QByteArray> contents;
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    const QDir root(folder);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            contents[root.relativeFilePath(path)] = file.readAll();
    }
    return contents;
}

QStringList FileNamesIn(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort(Qt::CaseSensitive); // by character codes, the same on every machine
    return names;
}

QString ReportedStep(const QString& procedure, int label)
{
    return QStringLiteral("in Tabulex2021/08/31.Form2.%1 at line %2").arg(procedure).arg(label);
}

QStringList ShownTexts(const ScriptedMessageBoxes& boxes)
{
    QStringList texts;
    for (const ShownBox& box : boxes.shown())
        texts.append(box.text);
    return texts;
}

} // namespace quintabel::testing
