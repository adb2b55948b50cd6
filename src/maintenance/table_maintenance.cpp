#include "maintenance/table_maintenance.h"

#include "catalogue/form2.h"
#include "maintenance/mysql_table_maintenance.h"
#include "maintenance/paradox_table_maintenance.h"
#include "shell/form1.h"

namespace quintabel {

void attachTableMaintenance(Form2& tablesWindow, std::function<ConnectionFields()> currentFields)
{
    Form2* const window = &tablesWindow;
    tablesWindow.setDeleteMySqlTablesBody([window, currentFields](StepGuard& guard) {
        DeleteMySqlTables(guard, *window->List1, currentFields(), window->pointer());
    });
    tablesWindow.setDeleteParadoxTablesBody([window, currentFields](StepGuard& guard) {
        DeleteParadoxTables(guard, *window->List2, currentFields().paradoxFolder, window->pointer());
    });
    tablesWindow.setRenameMySqlTableBody([window, currentFields](StepGuard& guard) {
        RenameMySqlTable(guard, *window->List1, currentFields(), window->pointer());
    });
    tablesWindow.setRenameParadoxTableBody([window, currentFields](StepGuard& guard) {
        RenameParadoxTable(guard, *window->List2, currentFields().paradoxFolder, window->pointer());
    });
}

void attachTableMaintenance(Form2& tablesWindow, const Form1& connectionWindow)
{
    const Form1* const fieldsWindow = &connectionWindow;
    attachTableMaintenance(tablesWindow, [fieldsWindow] { return fieldsWindow->fields(); });
}

} // namespace quintabel
