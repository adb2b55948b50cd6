#include "catalogue/window/mysql_table_list.h"

#include "catalogue/mysql_table_names.h"
#include "catalogue/window/table_name_list.h"

#include <QCoreApplication>
#include <QListWidget>

namespace quintabel {

void ListMySQLTables(QListWidget& list, const ConnectionFields& fields)
{
    visitMySqlTableNames(
        fields,
        [&](const QString& name) {
            QCoreApplication::processEvents(); // a long listing keeps the windows responsive
            addTableName(list, name);
        },
        [&] { list.clear(); });
    if (list.count() > 0)
        setListIndex(list, 0);
}

} // namespace quintabel
