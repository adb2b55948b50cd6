#pragma once
// A database of its own on the tests' private MariaDB server, created for one test and
// dropped after it, so that tests never see each other's tables.

#include "connections/connection.h"
#include "connections/connection_string.h"

#include <string>

namespace quintabel::testing {

// The sandbox server's login, at the port this build folder's tests use.
std::string sandboxPort();
// The connection window's fields for the sandbox server and `database`.
connections::LoginFields sandboxLogin(const std::string& database);
std::string sandboxConnectionString(const std::string& database);

class MariaDbTestDatabase {
public:
    MariaDbTestDatabase();
    ~MariaDbTestDatabase();
    MariaDbTestDatabase(const MariaDbTestDatabase&) = delete;
    MariaDbTestDatabase& operator=(const MariaDbTestDatabase&) = delete;

    const std::string& name() const { return name_; }
    std::string connectionString() const { return sandboxConnectionString(name_); }
    // Runs one statement in this database on a connection of its own.
    void run(const std::string& statement);

private:
    std::string name_;
};

} // namespace quintabel::testing
