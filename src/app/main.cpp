// Quintabel: copies whole tables between a MySQL/MariaDB database and a folder of Paradox
// tables. The program starts on the connection window; closing it ends the program.

#include "base/path_helpers.h"
#include "catalogue/window/tables_window_opening.h"
#include "connections/window/folder_browser.h"
#include "customise/window/form3.h"
#include "drivers/scratch/scratch_folder.h"
#include "maintenance/window/table_maintenance.h"
#include "shell/form1.h"
#include "shell/qt_message_boxes.h"
#include "transfer/window/attach_transfers.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The settings store names its own organisation and application ("Corvandel"); these
    // names are for Qt's other per-user folders.
    QCoreApplication::setOrganizationName(QStringLiteral("Corvandel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quintabel"));
    // The desktop's menu entry, so that the window is matched with its entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.corvandel.Quintabel"));

    // This program's own scratch database, made when a transfer to Paradox first needs it and
    // removed when the program ends; it outlives the windows that use it.
    quintabel::db::scratch::ScratchFolder scratchFolder;
    const auto scratchFolderPath = [&scratchFolder] {
        return QString::fromStdString(scratchFolder.path().string());
    };

    quintabel::QtMessageBoxes boxes;
    quintabel::MessageBoxesInstallation installedBoxes(boxes);

    quintabel::Form1 connectionWindow(quintabel::Form1::Environment::production());

    // "Next >", the start-up that runs it by itself, and both "Test Connection" buttons.
    quintabel::Form2& tablesWindow = quintabel::attachTablesWindow(connectionWindow);
    // "..." and "Load Sample/Example Database".
    quintabel::attachFolderChoice(connectionWindow, quintabel::folderOfProgram());
    // "Delete Table/s" and "Rename Table" on both sides.
    quintabel::attachTableMaintenance(tablesWindow, connectionWindow);
    // Both "Send Table/s" buttons, with the data type customisation window when a box is
    // ticked. Every connection reads the connection window's fields at that moment.
    const auto connectionFields = [&connectionWindow] { return connectionWindow.fields(); };
    quintabel::Form3 customisationWindow(quintabel::Form3::Environment::production(connectionFields),
                                         &tablesWindow);
    quintabel::attachTransfers(tablesWindow,
                               {connectionFields, scratchFolderPath, &customisationWindow});

    connectionWindow.loadAndShow();
    return QApplication::exec();
}
