#pragma once
// The MySQL side's catalogue without a window: the tables and views of the database in the
// login fields, as "SHOW TABLES;" names them.

#include "base/connection_fields.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace quintabel {

// Connects with the MySQL login of `fields`, runs "SHOW TABLES;", calls `answered` once the
// statement has answered, and then `visit` with every name in the server's order (base tables
// and views alike, exactly as the server spells them). A failure throws; the names visited
// before it stay visited.
void visitMySqlTableNames(const ConnectionFields& fields, const std::function<void(const QString& name)>& visit,
                          const std::function<void()>& answered = {});

// The names in the order the table lists show them (frontend/table_name_order.h).
QStringList mySqlTableNames(const ConnectionFields& fields);

} // namespace quintabel
