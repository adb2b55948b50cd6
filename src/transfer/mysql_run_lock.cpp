#include "transfer/mysql_run_lock.h"

#include "connections/connection.h"
#include "connections/recordset.h"
#include "transfer/mysql_swap_marker.h"
#include "transfer/mysql_swap_statements.h"

#include <string>

namespace quintabel {

namespace {

std::string lockLiteral(std::uint64_t runConnection)
{
    return mysqlTextLiteral(runLockName(runConnection));
}

// The text of the first field of a one-row answer ("" for NULL).
std::string firstValue(connections::Connection& mysql, const std::string& select)
{
    connections::Recordset answer = mysql.Execute(select);
    const std::string value = answer.Eof() ? std::string() : db::toText(answer.Fields(0).Value());
    answer.Close();
    return value;
}

} // namespace

std::optional<std::uint64_t> holdRunLock(connections::Connection& mysql)
{
    const std::uint64_t id = std::stoull(firstValue(mysql, "SELECT CONNECTION_ID()"));
    if (firstValue(mysql, "SELECT GET_LOCK(" + lockLiteral(id) + ", 0)") != "1")
        return std::nullopt;
    return id;
}

bool takeEndedRunLock(connections::Connection& mysql, std::uint64_t runConnection, int waitSeconds)
{
    return firstValue(mysql, "SELECT GET_LOCK(" + lockLiteral(runConnection) + ", " + std::to_string(waitSeconds) + ")")
        == "1";
}

void releaseRunLock(connections::Connection& mysql, std::uint64_t runConnection)
{
    firstValue(mysql, "SELECT RELEASE_LOCK(" + lockLiteral(runConnection) + ")");
}

} // namespace quintabel
