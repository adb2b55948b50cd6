// Quintabel: copies whole tables between a MySQL/MariaDB database and a folder of Paradox
// tables. The program starts on the connection window; closing it ends the program.

#include "catalogue/tables_window_opening.h"
#include "connections/folder_browser.h"
#include "maintenance/table_maintenance.h"
#include "shell/form1.h"
#include "shell/path_helpers.h"
#include "shell/qt_message_boxes.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The settings store names its own organisation and application ("Corvandel"); these
    // names are for Qt's other per-user folders.
    QCoreApplication::setOrganizationName(QStringLiteral("Corvandel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quintabel"));

    quintabel::QtMessageBoxes boxes;
    quintabel::MessageBoxesInstallation installedBoxes(boxes);

    quintabel::Form1 connectionWindow(quintabel::Form1::Environment::production());

    // "Next >", the start-up that runs it by itself, and both "Test Connection" buttons.
    quintabel::Form2& tablesWindow = quintabel::attachTablesWindow(connectionWindow);
    // "..." and "Load Sample/Example Database".
    quintabel::attachFolderChoice(connectionWindow, quintabel::ProgramFolder());
    // "Delete Table/s" and "Rename Table" on both sides.
    quintabel::attachTableMaintenance(tablesWindow, connectionWindow);

    connectionWindow.loadAndShow();
    return QApplication::exec();
}
