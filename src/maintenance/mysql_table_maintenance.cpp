#include "maintenance/mysql_table_maintenance.h"

#include "base/expected_problem.h"
#include "base/message_boxes.h"
#include "catalogue/login_fields.h"
#include "connections/ado_constants.h"
#include "connections/connection.h"
#include "drivers/database_error.h"
#include "frontend/front_end.h"
#include "maintenance/maintenance_messages.h"
#include "maintenance/mysql_table_statements.h"
#include "maintenance/rename_request.h"
#include "maintenance/table_list_edits.h"
#include "transfer/mysql_swap_recovery.h"

#include <stdexcept>

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

// MariaDB's ER_TABLE_EXISTS_ERROR: the new name is taken.
constexpr int kTableExistsError = 1050;

// Renames the table; a new name that is taken is the user's choice, not a fault, and is told
// as such (with `nameTaken` set).
void renameTable(connections::Connection& connection, const RenameRequest& request, bool& nameTaken)
{
    try {
        connection.Execute(renameTableStatement(request.oldName, request.newName).toStdString());
    } catch (const db::DatabaseError& refusal) {
        if (refusal.number() != kTableExistsError)
            throw;
        nameTaken = true;
        throw Expected<std::runtime_error>("A MySQL table called '" + request.newName.toStdString()
                                           + "' already exists, so table '" + request.oldName.toStdString()
                                           + "' was not renamed. Choose another name, or delete or rename that "
                                             "table first.");
    }
}

} // namespace

void deleteMySqlTables(StepGuard& guard, FrontEnd& frontEnd, const ConnectionFields& fields)
{
    TableListView& list = frontEnd.sourceList();
    connections::Connection connection;
    guard.step(102, [&] { frontEnd.showBusy(true); });
    // The connection opens before the selection is looked at; when it cannot, every DROP
    // below fails with a report of its own.
    guard.step(104, [&] { connection.Open(mySqlConnectionStringOf(fields)); });
    recoverBeforeChanging(guard, connection);
    if (list.currentIndex() == -1) {
        guard.step(118, [&] { showMessage(QString::fromLatin1(kSelectTableMySql)); });
    } else {
        forEachSelectedFromBottom(list, [&](int index, const QString& tableName) {
            guard.step(112, [&] { connection.Execute(dropTableStatement(tableName).toStdString()); });
            guard.step(114, [&] { list.removeAt(index); });
        });
    }
    guard.step(120, [&] { frontEnd.showBusy(false); });
}

void renameMySqlTable(StepGuard& guard, FrontEnd& frontEnd, const ConnectionFields& fields)
{
    TableListView& list = frontEnd.sourceList();
    connections::Connection connection;
    guard.step(102, [&] { frontEnd.showBusy(true); });
    guard.step(104, [&] { connection.Open(mySqlConnectionStringOf(fields)); });
    recoverBeforeChanging(guard, connection);
    if (const auto request = askForNewName(guard, list, {132, 130})) {
        bool nameTaken = false;
        guard.step(120, [&] { renameTable(connection, *request, nameTaken); });
        // Edited even when the server refused for another reason (the next listing shows the
        // truth); a taken name was told to be left as it was, and so is the list.
        if (!nameTaken)
            guard.step(122, [&] { list.replaceRenamed(request->index, request->newName); });
    }
    guard.step(134, [&] { frontEnd.showBusy(false); });
}

} // namespace quintabel
