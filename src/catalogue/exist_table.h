#pragma once
// ExistTable: whether a database already holds a table of a given name.

#include <QString>

namespace quintabel {

namespace connections {
class Connection;
}

// True when the tables schema of the open `connection` lists a table of type "TABLE" whose
// name equals `tableName` when a to z are upper-cased in both, as the scratch database
// matches names. Views and system tables never match.
// Failures (a closed connection, a driver without the tables schema) throw.
bool ExistTable(connections::Connection& connection, const QString& tableName);

} // namespace quintabel
