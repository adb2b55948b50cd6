#pragma once
// The MySQL side's catalogue in the tables window's list box: the tables and views of the
// database in the login fields.

#include "catalogue/mysql_table_names.h"

class QListWidget;

namespace quintabel {

// ListMySQLTables: connects with the MySQL login of `fields`, runs "SHOW TABLES;" and puts
// every name it returns (base tables and views alike, exactly as the server spells them)
// into `list`, which is cleared once the statement has answered. When names were listed the
// first becomes the current item, without being selected. A failure throws: before the
// statement answers the list keeps its earlier items; after, it keeps the items added so far.
// Yields to the window system once per name.
void ListMySQLTables(QListWidget& list, const ConnectionFields& fields);

} // namespace quintabel
