#pragma once
// quintabel-cli's work: reads the command line, gathers the connection data, and runs the
// engine's own listing, transfers, deleting and renaming through the command-line front end.

#include <QStringList>

namespace quintabel::cli {

// Runs the command that `arguments` (without the program name) give and returns the exit
// status (command_line.h). Needs a QCoreApplication.
int runCommandLine(const QStringList& arguments);

} // namespace quintabel::cli
