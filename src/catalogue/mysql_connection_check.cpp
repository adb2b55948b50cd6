#include "catalogue/mysql_connection_check.h"

#include "catalogue/login_fields.h"
#include "connections/connection.h"

namespace quintabel {

bool TestMySQLConnection(const ConnectionFields& fields)
{
    connections::Connection connection;
    try {
        connection.Open(mySqlConnectionStringOf(fields));
    } catch (...) {
        // Whatever keeps the connection from opening means the same here: not reachable.
        return false;
    }
    return true; // the connection closes as it goes out of scope
}

} // namespace quintabel
