#include "catalogue/window/paradox_table_list.h"

#include "catalogue/window/table_name_list.h"

#include <QListWidget>

namespace quintabel {

void ListParadoxTables(QListWidget& list, const QString& folder)
{
    list.clear();
    visitParadoxTableNames(folder, [&](const QString& name) { addTableName(list, name); });
}

} // namespace quintabel
