#include "transfer/mysql_row_sending.h"

#include "connections/connection.h"
#include "drivers/database_error.h"
#include "transfer/mysql_row_batch.h"
#include "transfer/mysql_swap_statements.h"

#include <charconv>
#include <exception>

namespace quintabel {

namespace {

std::optional<std::int64_t> wholeNumber(const db::Value& value)
{
    const std::string text = db::toText(value);
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

bool keepsTransactions(connections::Connection& mysql, const std::string& table)
{
    connections::Recordset answer = mysql.Execute(
        "SELECT e.TRANSACTIONS FROM information_schema.TABLES t JOIN information_schema.ENGINES e "
        "ON e.ENGINE = t.ENGINE WHERE t.TABLE_SCHEMA = DATABASE() AND t.TABLE_NAME = "
        + mysqlTextLiteral(table));
    bool transactional = false;
    for (; !answer.Eof(); answer.MoveNext())
        transactional = db::toText(answer.Fields(0).Value()) == "YES";
    return transactional;
}

std::optional<std::int64_t> maxAllowedPacket(connections::Connection& mysql)
{
    connections::Recordset answer = mysql.Execute("SELECT @@max_allowed_packet");
    std::optional<std::int64_t> bytes;
    for (; !answer.Eof(); answer.MoveNext())
        bytes = wholeNumber(answer.Fields(0).Value());
    return bytes;
}

} // namespace

RowCopyOptions mySqlRowSending(connections::Connection& mysql, const std::string& table)
{
    RowCopyOptions options;
    try {
        const std::optional<std::int64_t> packet = maxAllowedPacket(mysql);
        if (!packet || !keepsTransactions(mysql, table))
            return options;
        options.batchBytes = batchBytesFor(*packet);
        options.sending = RowSending::Batched;
    } catch (const std::exception&) {
        // Unasked, the rows go one at a time, as every server takes them.
    }
    return options;
}

} // namespace quintabel
