#pragma once
// The Paradox side's catalogue without a window: a folder is the database, and every "*.db"
// file in it or in any folder below it is a table.

#include <QString>
#include <QStringList>

#include <functional>

namespace quintabel {

// The name under which a table file is listed: the file name with a to z upper-cased (the
// letters the Paradox folder's lookup folds), and every ".DB" removed: "orders.db" and
// "Orders.DB" are both ORDERS, "MY.DBASE.db" is MYASE.
QString paradoxTableNameOfFile(const QString& fileName);

// ParadoxFolderHasTables: true when `folder` is not empty and the folder itself (not a folder
// below it) holds a "*.db" file; a name beginning with "~" counts. A folder that does not
// exist answers false; one that cannot be read throws.
bool ParadoxFolderHasTables(const QString& folder);

// Calls `visit` with the listed name of every "*.db" file in `folder` and in every folder
// below it that the folder walk admits, folder by folder (two tables of one name in different
// folders give the name twice). Files whose names begin with "~" are left out, and so is
// everything under Quintabel's own working names (".quintabel-…"). An empty `folder` visits
// nothing. A failure to search a folder throws; the names visited before it stay visited. A
// failure of the walk itself is shown as the error report of the folder walk, and the walk
// goes on.
void visitParadoxTableNames(const QString& folder, const std::function<void(const QString& name)>& visit);

// The names in the order the table lists show them (frontend/table_name_order.h).
QStringList paradoxTableNames(const QString& folder);

} // namespace quintabel
