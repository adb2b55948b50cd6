#pragma once
// The silent MySQL connection check that the opening of the tables window asks before it
// lists anything.

#include "base/connection_fields.h"

namespace quintabel {

// TestMySQLConnection: true when a connection with the MySQL connection string of `fields`
// opens (no property set first). A connection that cannot be opened answers false and shows
// nothing. The connection is closed again before the answer returns.
bool TestMySQLConnection(const ConnectionFields& fields);

} // namespace quintabel
