#include "catalogue/window/table_name_list.h"

#include "frontend/table_name_order.h"

#include <QListWidget>

namespace quintabel {

namespace {

// An item that orders by its text as every table list does (frontend/table_name_order.h).
class TableNameItem final : public QListWidgetItem {
public:
    explicit TableNameItem(const QString& name) : QListWidgetItem(name) {}

    bool operator<(const QListWidgetItem& other) const override
    {
        return tableNameOrderLess(text(), other.text());
    }
};

void setEverySelection(QListWidget& list, bool selected)
{
    const int count = list.count(); // read once: the loop does not change the number of items
    for (int index = 0; index < count; ++index)
        list.item(index)->setSelected(selected);
}

} // namespace

void prepareTableList(QListWidget& list)
{
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.setSortingEnabled(true);
    list.sortItems(Qt::AscendingOrder);
}

void addTableName(QListWidget& list, const QString& name)
{
    list.addItem(new TableNameItem(name));
}

int listIndex(const QListWidget& list)
{
    return list.currentRow();
}

void setListIndex(QListWidget& list, int index)
{
    list.setCurrentRow(index, QItemSelectionModel::NoUpdate);
}

void selectAllItems(QListWidget& list)
{
    setEverySelection(list, true);
}

void deselectAllItems(QListWidget& list)
{
    setEverySelection(list, false);
}


} // namespace quintabel
