#include "catalogue/window/paradox_table_list.h"

#include "catalogue/window/table_name_list.h"

#include <QListWidget>

namespace quintabel {

void ListParadoxTables(QListWidget& list, const QString& folder)
{
    list.clear();
    VisitParadoxTableNames(folder, [&](const QString& name) { AddTableName(list, name); });
}

} // namespace quintabel
