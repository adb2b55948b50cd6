#pragma once
// What the maintenance tests share: table lists set up as the tables window shows them, the
// contents of a folder of table files, and where an error report says it came from.

#include "shell/support/qstring_printer.h"
#include "shell/support/scripted_message_boxes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>

class QListWidget;

namespace quintabel::testing {

// Clears `list` and puts `names` in it as the listing does (sorted, nothing selected, no
// current item).
void FillTableList(QListWidget& list, const QStringList& names);
// Selects the items with these texts, and makes the item `current` the current one ("" for
// none), as a click of the user would leave them.
void SelectTables(QListWidget& list, const QStringList& names, const QString& current);

// Every file below `folder`, by its path relative to it, with its contents.
std::map<QString, QByteArray> FolderContents(const QString& folder);
// The names of the files directly in `folder`, sorted by character codes.
QStringList FileNamesIn(const QString& folder);

// "in Tabulex2021/08/31.Form2.<procedure> at line <label>", as an error report names a step.
QString ReportedStep(const QString& procedure, int label);

// The texts of the boxes shown, in order (input boxes show their prompt).
QStringList ShownTexts(const ScriptedMessageBoxes& boxes);

} // namespace quintabel::testing
