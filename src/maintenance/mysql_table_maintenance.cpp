#include "maintenance/mysql_table_maintenance.h"

#include "catalogue/login_fields.h"
#include "catalogue/table_name_list.h"
#include "connections/connection.h"
#include "maintenance/maintenance_messages.h"
#include "maintenance/mysql_table_statements.h"
#include "maintenance/table_list_edits.h"
#include "shell/message_boxes.h"
#include "shell/pointer_rules.h"

#include <QListWidget>

namespace quintabel {

void DeleteMySqlTables(StepGuard& guard, QListWidget& list, const ConnectionFields& fields,
                       PointerRules& pointer)
{
    connections::Connection connection;
    guard.step(102, [&] { pointer.setShape(PointerShape::Busy); });
    // The connection opens before the selection is looked at; when it cannot, every DROP
    // below fails with a report of its own.
    guard.step(104, [&] { connection.Open(MySqlConnectionStringOf(fields)); });
    if (ListIndex(list) == -1) {
        guard.step(118, [&] { ShowMessage(QString::fromLatin1(kSelectTableMySql)); });
    } else {
        // From the last item to the first, so that removing an item does not move the items
        // still to be visited.
        const int count = list.count();
        for (int index = count - 1; index >= 0; --index) {
            if (index >= list.count() || !list.item(index)->isSelected())
                continue;
            const QString tableName = list.item(index)->text();
            guard.step(112, [&] { connection.Execute(DropTableStatement(tableName).toStdString()); });
            guard.step(114, [&] { RemoveItemAt(list, index); });
        }
    }
    guard.step(120, [&] { pointer.setShape(PointerShape::Default); });
}

void RenameMySqlTable(StepGuard& guard, QListWidget& list, const ConnectionFields& fields,
                      PointerRules& pointer)
{
    connections::Connection connection;
    guard.step(102, [&] { pointer.setShape(PointerShape::Busy); });
    guard.step(104, [&] { connection.Open(MySqlConnectionStringOf(fields)); });
    if (ListIndex(list) == -1) {
        guard.step(132, [&] { ShowMessage(QString::fromLatin1(kSelectTableToRename)); });
    } else if (SelectedItemCount(list) != 1) {
        guard.step(130, [&] { ShowMessage(QString::fromLatin1(kSelectJustOneTable)); });
    } else {
        const int index = LastSelectedIndex(list);
        const QString oldName = list.item(index)->text();
        QString newName;
        guard.step(116, [&] { newName = InputBox(NewNamePrompt(oldName), oldName); });
        if (!newName.isEmpty()) {
            guard.step(120, [&] {
                connection.Execute(RenameTableStatement(oldName, newName).toStdString());
            });
            guard.step(122, [&] { ReplaceRenamedItem(list, index, newName); });
        }
    }
    guard.step(134, [&] { pointer.setShape(PointerShape::Default); });
}

} // namespace quintabel
