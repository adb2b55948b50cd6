#pragma once
// What the catalogue tests share: windows whose environment records instead of acting,
// folders of table files, the sandbox server's login, and the items of a list.

#include "catalogue/form2.h"
#include "shell/connection_fields.h"
#include "shell/form1.h"
#include "shell/support/qstring_printer.h"

#include <QStringList>
#include <QTemporaryDir>

class QListWidget;

namespace quintabel::testing {

// A connection window whose program folder is `programFolder`, that opens no web site and
// counts in `programEnds` instead of ending the program.
Form1::Environment QuietConnectionWindow(const QString& programFolder, int& programEnds);
Form2::Environment QuietTablesWindow(const QString& programFolder, int& programEnds);

// Creates empty files (and the folders they need) below `root`, one per relative path.
void CreateFiles(const QString& root, const QStringList& relativePaths);

// The sandbox server's login for `database`, with the Paradox folder `paradoxFolder`.
ConnectionFields SandboxFields(const std::string& database, const QString& paradoxFolder = QString());
// A login that no server answers: a loopback port on which nothing listens.
ConnectionFields UnreachableFields();

// Puts the fields into the connection window's six text boxes.
void TypeFields(Form1& window, const ConnectionFields& fields);

QStringList ItemTexts(const QListWidget& list);

} // namespace quintabel::testing
