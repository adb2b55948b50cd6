#include "maintenance/table_list_edits.h"

#include "catalogue/table_name_list.h"
#include "maintenance/maintenance_messages.h"

#include <QListWidget>

namespace quintabel {

int SelectedItemCount(const QListWidget& list)
{
    int count = 0;
    for (int index = 0; index < list.count(); ++index) {
        if (list.item(index)->isSelected())
            ++count;
    }
    return count;
}

std::optional<QString> RenameSelectionProblem(const QListWidget& list)
{
    if (ListIndex(list) == -1)
        return QString::fromLatin1(kSelectTableToRename);
    if (SelectedItemCount(list) != 1)
        return QString::fromLatin1(kSelectJustOneTable);
    return std::nullopt;
}

int LastSelectedIndex(const QListWidget& list)
{
    for (int index = list.count() - 1; index >= 0; --index) {
        if (list.item(index)->isSelected())
            return index;
    }
    return -1;
}

void RemoveItemAt(QListWidget& list, int index)
{
    if (index >= 0 && index < list.count())
        delete list.takeItem(index);
}

void ReplaceRenamedItem(QListWidget& list, int index, const QString& newName)
{
    RemoveItemAt(list, index);
    AddTableName(list, newName);
    if (list.count() >= 1)
        SetListIndex(list, 0);
}

QString NewNamePrompt(const QString& oldName)
{
    return QString::fromLatin1(kNewNamePromptStart) + oldName + QLatin1Char(':');
}

} // namespace quintabel
