#include "connections/connection.h"

#include "connections/connection_string.h"
#include "connections/driver_choice.h"
#include "drivers/database_error.h"

namespace quintabel::connections {

namespace {

void requireCursorLocation(int location)
{
    if (location != adUseServer && location != adUseClient)
        throw db::DatabaseError("The cursor location " + std::to_string(location)
                                + " is not 2 (server side) or 3 (client side).");
}

void requireTimeout(int seconds)
{
    if (seconds < 0)
        throw db::DatabaseError("A time-out cannot be negative (" + std::to_string(seconds) + ").");
}

} // namespace

void Connection::setCursorLocation(int location)
{
    requireCursorLocation(location);
    cursorLocation_ = location;
}

void Connection::setMode(int mode)
{
    if (session_)
        throw db::DatabaseError("The mode of an open connection cannot change.");
    if (mode < adModeUnknown || mode > adModeReadWrite)
        throw db::DatabaseError("The connection mode " + std::to_string(mode)
                                + " is not one of 0 to 3.");
    mode_ = mode;
}

void Connection::setCommandTimeout(int seconds)
{
    requireTimeout(seconds);
    commandTimeout_ = seconds;
}

void Connection::setConnectionTimeout(int seconds)
{
    if (session_)
        throw db::DatabaseError("The connection time-out of an open connection cannot change.");
    requireTimeout(seconds);
    connectionTimeout_ = seconds;
}

void Connection::Open(const std::string& connectionString)
{
    if (session_)
        throw db::DatabaseError("The connection is already open.");
    const db::ConnectionAttributes attributes = parseConnectionString(connectionString);
    db::SessionOptions options;
    options.connectionTimeoutSeconds = connectionTimeout_;
    options.commandTimeoutSeconds = commandTimeout_;
    options.readOnly = mode_ == adModeRead;
    session_ = openDriverSession(attributes, options);
}

const std::shared_ptr<db::Session>& Connection::openSession(const char* operation) const
{
    if (!session_)
        throw db::DatabaseError(std::string(operation) + " needs an open connection.");
    return session_;
}

Recordset Connection::Execute(const std::string& statement)
{
    const auto& session = openSession("Execute");
    auto rows = session->execute(statement);
    if (!rows)
        return Recordset{};
    return Recordset::fromRows(std::move(rows), session, cursorLocation_ == adUseClient);
}

db::LoadedRows Connection::LoadFromMemory(const std::string& statement, const std::string& fileName,
                                          const std::string& content)
{
    return openSession("LoadFromMemory")->loadFromMemory(statement, fileName, content);
}

void Connection::InsertRow(const std::string& table, std::vector<db::Value> values)
{
    openSession("InsertRow")->insertRow(table, std::move(values));
}

void Connection::ExpectWriteOutFields(const std::string& table, const std::vector<paradox::Field>& fields,
                                      std::uint64_t rows)
{
    openSession("ExpectWriteOutFields")->expectWriteOutFields(table, fields, rows);
}

Recordset Connection::OpenSchema(int schema)
{
    if (schema != adSchemaTables)
        throw db::DatabaseError("The schema " + std::to_string(schema)
                                + " is not supported; only the tables schema (20) is.");
    const auto& session = openSession("OpenSchema");
    return Recordset::fromRows(session->tablesSchema(), session, true);
}

std::optional<std::string> Connection::OpeningNotice() const
{
    return session_ ? session_->openingNotice() : std::nullopt;
}

void Connection::Close()
{
    if (!session_)
        throw db::DatabaseError("The connection is already closed.");
    // A record set still streaming rows keeps the session until it is done.
    session_.reset();
}

} // namespace quintabel::connections
