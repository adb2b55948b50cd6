#pragma once
// The "MySQL ODBC 5.1 Driver" of the connection strings, on MariaDB Connector/C.

#include "drivers/driver.h"

#include <memory>

namespace quintabel::db::mysql {

// The driver name as connection strings give it (without braces).
inline constexpr const char* driverName = "MySQL ODBC 5.1 Driver";

// Connects as the attributes say: TCP to SERVER and PORT (also for "localhost"; an empty
// SERVER means "localhost", an empty PORT 3306), as USER with PASSWORD, to DATABASE when it
// is not empty. One statement per call, utf8mb4, and a strict sql_mode, so that a value a
// column cannot hold is refused instead of changed. A connection that fails is a
// DatabaseError with MariaDB's own message.
std::unique_ptr<Session> openSession(const ConnectionAttributes& attributes,
                                     const SessionOptions& options);

// The sql_mode every session runs with.
extern const char* const sessionSqlMode;

} // namespace quintabel::db::mysql
