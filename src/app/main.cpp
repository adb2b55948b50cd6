// Quintabel: copies whole tables between a MySQL/MariaDB database and a folder of Paradox
// tables. The program starts on the connection window; closing it ends the program.

#include "shell/form1.h"
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

    // Attach here the work of the connection window's buttons as it arrives:
    //   connectionWindow.setNextBody(...);              "Next >", opening the tables window
    //   connectionWindow.setStartupContinuation(...);   the start-up that runs "Next >" by itself
    //   connectionWindow.setParadoxTestBody(...);       Paradox "Test Connection"
    //   connectionWindow.setMySqlTestBody(...);         MySQL "Test Connection"
    //   connectionWindow.setBrowseBody(...);            "..."
    //   connectionWindow.setLoadSampleBody(...);        "Load Sample/Example Database"

    connectionWindow.loadAndShow();
    return QApplication::exec();
}
