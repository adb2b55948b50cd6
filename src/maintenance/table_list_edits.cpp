#include "maintenance/table_list_edits.h"

#include "catalogue/table_name_list.h"

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

int LastSelectedIndex(const QListWidget& list)
{
    for (int index = list.count() - 1; index >= 0; --index) {
        if (list.item(index)->isSelected())
            return index;
    }
    return -1;
}

void ForEachSelectedFromBottom(QListWidget& list, const std::function<void(int index, const QString& name)>& visit)
{
    const int count = list.count();
    for (int index = count - 1; index >= 0; --index) {
        if (index < list.count() && list.item(index)->isSelected())
            visit(index, list.item(index)->text());
    }
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

} // namespace quintabel
