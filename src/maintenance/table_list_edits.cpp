#include "maintenance/table_list_edits.h"

#include "frontend/front_end.h"

namespace quintabel {

int selectedItemCount(const TableListView& list)
{
    int count = 0;
    for (int index = 0; index < list.count(); ++index) {
        if (list.isSelected(index))
            ++count;
    }
    return count;
}

int lastSelectedIndex(const TableListView& list)
{
    for (int index = list.count() - 1; index >= 0; --index) {
        if (list.isSelected(index))
            return index;
    }
    return -1;
}

void forEachSelectedFromBottom(TableListView& list, const std::function<void(int index, const QString& name)>& visit)
{
    const int count = list.count();
    for (int index = count - 1; index >= 0; --index) {
        if (index < list.count() && list.isSelected(index))
            visit(index, list.nameAt(index));
    }
}

} // namespace quintabel
