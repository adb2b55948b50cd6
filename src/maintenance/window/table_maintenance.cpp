#include "maintenance/window/table_maintenance.h"

#include "catalogue/window/form2.h"
#include "catalogue/window/list_box_front_end.h"
#include "maintenance/mysql_table_maintenance.h"
#include "maintenance/paradox_table_maintenance.h"
#include "shell/form1.h"

namespace quintabel {

namespace {

// The list box a delete or rename button works on, and the window's pointer.
ListBoxParts listParts(Form2& window, QListWidget& list)
{
    return {list, nullptr, nullptr, nullptr, &window.pointer(), {}};
}

} // namespace

void attachTableMaintenance(Form2& tablesWindow, std::function<ConnectionFields()> currentFields)
{
    Form2* const window = &tablesWindow;
    tablesWindow.setDeleteMySqlTablesBody([window, currentFields](StepGuard& guard) {
        ListBoxFrontEnd frontEnd(listParts(*window, *window->List1));
        deleteMySqlTables(guard, frontEnd, currentFields());
    });
    tablesWindow.setDeleteParadoxTablesBody([window, currentFields](StepGuard& guard) {
        ListBoxFrontEnd frontEnd(listParts(*window, *window->List2));
        deleteParadoxTables(guard, frontEnd, currentFields().paradoxFolder);
    });
    tablesWindow.setRenameMySqlTableBody([window, currentFields](StepGuard& guard) {
        ListBoxFrontEnd frontEnd(listParts(*window, *window->List1));
        renameMySqlTable(guard, frontEnd, currentFields());
    });
    tablesWindow.setRenameParadoxTableBody([window, currentFields](StepGuard& guard) {
        ListBoxFrontEnd frontEnd(listParts(*window, *window->List2));
        renameParadoxTable(guard, frontEnd, currentFields().paradoxFolder);
    });
}

void attachTableMaintenance(Form2& tablesWindow, const Form1& connectionWindow)
{
    const Form1* const fieldsWindow = &connectionWindow;
    attachTableMaintenance(tablesWindow, [fieldsWindow] { return fieldsWindow->fields(); });
}

} // namespace quintabel
