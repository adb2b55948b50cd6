#include "catalogue/window/mysql_table_list.h"

#include "catalogue/mysql_table_names.h"
#include "catalogue/window/table_name_list.h"

#include <QCoreApplication>
#include <QListWidget>

namespace quintabel {

void ListMySQLTables(QListWidget& list, const ConnectionFields& fields)
{
    VisitMySqlTableNames(
        fields,
        [&](const QString& name) {
            QCoreApplication::processEvents(); // a long listing keeps the windows responsive
            AddTableName(list, name);
        },
        [&] { list.clear(); });
    if (list.count() > 0)
        SetListIndex(list, 0);
}

} // namespace quintabel
