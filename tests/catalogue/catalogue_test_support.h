#pragma once
// What the catalogue tests share: windows that record instead of acting, folders of table
// files, the sandbox server's login, and the items of a list.

#include "catalogue/window/form2.h"
#include "base/connection_fields.h"
#include "shell/form1.h"
#include "shell/support/qstring_printer.h"

#include <QStringList>

class QListWidget;

namespace quintabel::testing {

// Windows that open no web site and count in `programEnds` instead of ending the program.
Form1::Environment QuietConnectionWindow(const QString& programFolder, int& programEnds);
Form2::Environment QuietTablesWindow(const QString& programFolder, int& programEnds);

// Creates empty files (and the folders they need) below `root`.
void CreateFiles(const QString& root, const QStringList& relativePaths);

ConnectionFields SandboxFields(const std::string& database, const QString& paradoxFolder = QString());
// A login on a loopback port nobody listens on: refused at once, no time-out to wait for.
ConnectionFields UnreachableFields();
void TypeFields(Form1& window, const ConnectionFields& fields);

QStringList ItemTexts(const QListWidget& list);
// The texts of the selected items, top to bottom.
QStringList SelectedTexts(const QListWidget& list);

} // namespace quintabel::testing
