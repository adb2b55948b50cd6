// quintabel-cli: the tables, transfers, deleting and renaming of the Quintabel windows from a
// command line, with no window system at all.

#include "cli/command_line_run.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    // The settings store names its own organisation and application; these are for Qt's
    // other per-user folders, as in the windows.
    QCoreApplication::setOrganizationName(QStringLiteral("Corvandel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quintabel"));
    return quintabel::cli::runCommandLine(QCoreApplication::arguments().mid(1));
}
