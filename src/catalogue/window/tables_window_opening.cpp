#include "catalogue/window/tables_window_opening.h"

#include "base/message_boxes.h"
#include "base/path_helpers.h"
#include "base/settings_store.h"
#include "catalogue/window/customisation_boxes.h"
#include "catalogue/mysql_connection_check.h"
#include "catalogue/window/mysql_connection_button.h"
#include "catalogue/window/mysql_table_list.h"
#include "catalogue/window/paradox_connection_button.h"
#include "catalogue/window/paradox_table_list.h"
#include "maintenance/paradox_recovery_notice.h"
#include "shell/form1.h"

#include <QCheckBox>

namespace quintabel {

namespace {

// Whether "Next >" may list the Paradox folder: any folder that is there, tables or not (a new
// folder is where a user sends MySQL tables to make its first ones). An empty field does
// nothing, as before; a folder that is not there is named.
bool ParadoxFolderIsThere(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    if (IsFolder(folder).value_or(false))
        return true;
    showMessage(QStringLiteral("There is no folder '%1'. Check the Paradox folder field, or choose the folder with the "
                               "button beside it.")
                    .arg(folder));
    return false;
}

} // namespace

void openTablesWindow(StepGuard& guard, Form1& connectionWindow, Form2& tablesWindow)
{
    using namespace settings_keys;
    // The fields are read at each use: they are the one source of connection data.
    guard.step(100, [&] { connectionWindow.pointer().setShape(PointerShape::Busy); });
    // An interrupted replacement is put right before the folder is looked at: its table may
    // be the folder's only one, and its working files must never be listed.
    recoverParadoxFolderAndTell(connectionWindow.fields().paradoxFolder);
    const bool bothSidesReachable =
        guard.test(102, [&] { return ParadoxFolderIsThere(connectionWindow.fields().paradoxFolder); }) &&
        guard.test(104, [&] { return TestMySQLConnection(connectionWindow.fields()); });
    if (bothSidesReachable) {
        guard.step(106, [&] {
            tablesWindow.ensureLoaded();
            ListMySQLTables(*tablesWindow.List1, connectionWindow.fields());
        });
        guard.step(108, [&] {
            tablesWindow.ensureLoaded();
            ListParadoxTables(*tablesWindow.List2, connectionWindow.fields().paradoxFolder);
        });
        guard.step(110, [&] { setCustomisationBoxFromSetting(*tablesWindow.Check15, QLatin1String(kWithDataTypeChange1)); });
        guard.step(112, [&] { setCustomisationBoxFromSetting(*tablesWindow.Check16, QLatin1String(kWithDataTypeChange2)); });
        guard.step(114, [&] {
            tablesWindow.show();
            tablesWindow.raise();
            tablesWindow.activateWindow();
        });
        guard.step(116, [&] { connectionWindow.hide(); });
    }
    guard.step(118, [&] { connectionWindow.pointer().setShape(PointerShape::Default); });
}

void continueStartup(StepGuard& guard, Form1& connectionWindow)
{
    recoverParadoxFolderAndTell(connectionWindow.fields().paradoxFolder);
    if (!guard.test(140, [&] { return ParadoxFolderHasTables(connectionWindow.fields().paradoxFolder); }))
        return;
    if (!guard.test(142, [&] { return TestMySQLConnection(connectionWindow.fields()); }))
        return;
    guard.step(144, [&] { connectionWindow.PushButton2_Click(); });
}

Form2& attachTablesWindow(Form1& connectionWindow)
{
    return attachTablesWindow(connectionWindow, Form2::Environment::production());
}

Form2& attachTablesWindow(Form1& connectionWindow, Form2::Environment environment)
{
    auto* tablesWindow = new Form2(std::move(environment), connectionWindow);
    QObject::connect(&connectionWindow, &QObject::destroyed, [tablesWindow] { delete tablesWindow; });

    Form1* const form1 = &connectionWindow;
    // "Next >" and the MySQL test yield to the window system while they work; a click that
    // arrives meanwhile must not start the same work again inside it (a second listing would
    // fill the lists twice).
    const auto unlessBusy = [form1](auto body) {
        return [form1, body](StepGuard& guard) {
            if (form1->pointer().shape() != PointerShape::Busy)
                body(guard);
        };
    };
    connectionWindow.setNextBody(unlessBusy([form1, tablesWindow](StepGuard& guard) {
        openTablesWindow(guard, *form1, *tablesWindow);
    }));
    connectionWindow.setParadoxTestBody(unlessBusy([form1](StepGuard& guard) {
        testParadoxConnectionButton(guard, form1->fields().paradoxFolder, form1->pointer());
    }));
    connectionWindow.setMySqlTestBody(unlessBusy([form1](StepGuard& guard) {
        testMySqlConnectionButton(guard, form1->fields(), form1->pointer());
    }));
    connectionWindow.setStartupContinuation([form1](StepGuard& guard) { continueStartup(guard, *form1); });
    return *tablesWindow;
}

} // namespace quintabel
