#include "maintenance/mysql_table_maintenance.h"

#include "catalogue/login_fields.h"
#include "catalogue/table_name_list.h"
#include "connections/ado_constants.h"
#include "connections/connection.h"
#include "maintenance/maintenance_messages.h"
#include "maintenance/mysql_table_statements.h"
#include "maintenance/rename_request.h"
#include "maintenance/table_list_edits.h"
#include "shell/message_boxes.h"
#include "shell/pointer_rules.h"
#include "transfer/mysql_swap_recovery.h"

#include <QListWidget>

namespace quintabel {

namespace {

// An interrupted transfer's leftovers are settled before a table is dropped or renamed: the
// table swapped in may be the one the user deletes or renames, and its mark is what leads the
// recovery to the old table it replaced.
void recoverBeforeChanging(StepGuard& guard, connections::Connection& connection)
{
    if (connection.State() != connections::adStateClosed)
        recoverInterruptedSwaps(guard, 104, connection);
}

} // namespace

void DeleteMySqlTables(StepGuard& guard, QListWidget& list, const ConnectionFields& fields,
                       PointerRules& pointer)
{
    connections::Connection connection;
    guard.step(102, [&] { pointer.setShape(PointerShape::Busy); });
    // The connection opens before the selection is looked at; when it cannot, every DROP
    // below fails with a report of its own.
    guard.step(104, [&] { connection.Open(MySqlConnectionStringOf(fields)); });
    recoverBeforeChanging(guard, connection);
    if (ListIndex(list) == -1) {
        guard.step(118, [&] { ShowMessage(QString::fromLatin1(kSelectTableMySql)); });
    } else {
        ForEachSelectedFromBottom(list, [&](int index, const QString& tableName) {
            guard.step(112, [&] { connection.Execute(DropTableStatement(tableName).toStdString()); });
            guard.step(114, [&] { RemoveItemAt(list, index); });
        });
    }
    guard.step(120, [&] { pointer.setShape(PointerShape::Default); });
}

void RenameMySqlTable(StepGuard& guard, QListWidget& list, const ConnectionFields& fields,
                      PointerRules& pointer)
{
    connections::Connection connection;
    guard.step(102, [&] { pointer.setShape(PointerShape::Busy); });
    guard.step(104, [&] { connection.Open(MySqlConnectionStringOf(fields)); });
    recoverBeforeChanging(guard, connection);
    if (const auto request = AskForNewName(guard, list, {132, 130})) {
        guard.step(120, [&] {
            connection.Execute(RenameTableStatement(request->oldName, request->newName).toStdString());
        });
        // Edited even when the server refused: the next listing shows the truth.
        guard.step(122, [&] { ReplaceRenamedItem(list, request->index, request->newName); });
    }
    guard.step(134, [&] { pointer.setShape(PointerShape::Default); });
}

} // namespace quintabel
