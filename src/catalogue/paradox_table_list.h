#pragma once
// The Paradox side's catalogue: a folder is the database, and every "*.db" file in it or in
// any folder below it is a table.

#include <QString>

class QListWidget;

namespace quintabel {

// The name under which a table file is listed: the file name with a to z upper-cased (the
// letters the Paradox folder's lookup folds), and every ".DB" removed: "orders.db" and
// "Orders.DB" are both ORDERS, "MY.DBASE.db" is MYASE.
QString ParadoxTableNameOfFile(const QString& fileName);

// ParadoxFolderHasTables: true when `folder` is not empty and the folder itself (not a folder
// below it) holds a "*.db" file; a name beginning with "~" counts. A folder that does not
// exist answers false; one that cannot be read throws.
bool ParadoxFolderHasTables(const QString& folder);

// ListParadoxTables: fills `list` with the listed names of the "*.db" files in `folder` and
// in every folder below it that the folder walk admits, without the folder (two tables of
// one name in different folders give two equal items). Files whose names begin with "~" are
// left out, and so is everything under Quintabel's own working names (".quintabel-…"). The list is cleared first, also when `folder` is empty; no current item is set.
// A failure to search a folder throws; the items added before it stay.
void ListParadoxTables(QListWidget& list, const QString& folder);

} // namespace quintabel
