#include "mariadb_test_database.h"

#include "connections/connection_string.h"

#include <atomic>
#include <unistd.h>

namespace quintabel::testing {

std::string sandboxPort()
{
    return std::to_string(QUINTABEL_TEST_MARIADB_PORT);
}

connections::LoginFields sandboxLogin(const std::string& database)
{
    connections::LoginFields login;
    login.server = "127.0.0.1";
    login.port = sandboxPort();
    login.user = "quintabel";
    login.password = "quintabel-sandbox";
    login.database = database;
    return login;
}

std::string sandboxConnectionString(const std::string& database)
{
    return connections::mySqlConnectionString(sandboxLogin(database));
}

namespace {

void runOnServer(const std::string& statement)
{
    connections::Connection connection;
    connection.Open(sandboxConnectionString(""));
    connection.Execute(statement);
}

} // namespace

MariaDbTestDatabase::MariaDbTestDatabase()
{
    static std::atomic<int> counter{0};
    name_ = "qtest_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    runOnServer("DROP DATABASE IF EXISTS `" + name_ + "`");
    runOnServer("CREATE DATABASE `" + name_ + "` CHARACTER SET utf8mb4");
}

MariaDbTestDatabase::~MariaDbTestDatabase()
{
    try {
        runOnServer("DROP DATABASE IF EXISTS `" + name_ + "`");
    } catch (...) {
        // A server that went away takes its databases with it.
    }
}

void MariaDbTestDatabase::run(const std::string& statement)
{
    connections::Connection connection;
    connection.Open(connectionString());
    connection.Execute(statement);
}

} // namespace quintabel::testing
