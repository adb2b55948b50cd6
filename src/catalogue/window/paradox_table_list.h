#pragma once
// The Paradox side's catalogue in the tables window's list box.

#include "catalogue/paradox_table_names.h"

#include <QString>

class QListWidget;

namespace quintabel {

// ListParadoxTables: fills `list` with the names visitParadoxTableNames visits, each at its
// alphabetical place, without the folder (two tables of one name in different folders give
// two equal items). The list is cleared first, also when `folder` is empty; no current item
// is set. A failure to search a folder throws; the items added before it stay.
void ListParadoxTables(QListWidget& list, const QString& folder);

} // namespace quintabel
