#include "catalogue/mysql_table_names.h"

#include "catalogue/login_fields.h"
#include "connections/connection.h"
#include "frontend/table_name_order.h"

#include <algorithm>
#include <variant>

namespace quintabel {

namespace {

// A name as the server sent it. A server may hand a name over as binary text; its bytes are
// UTF-8 all the same (the connection runs in utf8mb4).
QString nameOfValue(const db::Value& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return QString::fromStdString(*text);
    if (const auto* bytes = std::get_if<db::Bytes>(&value))
        return QString::fromUtf8(reinterpret_cast<const char*>(bytes->data()),
                                 static_cast<qsizetype>(bytes->size()));
    return QString::fromStdString(db::toText(value));
}

} // namespace

void visitMySqlTableNames(const ConnectionFields& fields, const std::function<void(const QString& name)>& visit,
                          const std::function<void()>& answered)
{
    connections::Connection connection;
    // The client-side cursor fetches the whole answer, so the record count is exact.
    connection.setCursorLocation(connections::adUseClient);
    connection.Open(mySqlConnectionStringOf(fields));
    connections::Recordset tables = connection.Execute("SHOW TABLES;");
    if (answered)
        answered();
    const std::int64_t count = tables.RecordCount();
    for (std::int64_t row = 0; row < count; ++row) {
        visit(nameOfValue(tables.Fields(0).Value()));
        tables.MoveNext();
    }
    tables.Close();
}

QStringList mySqlTableNames(const ConnectionFields& fields)
{
    QStringList names;
    visitMySqlTableNames(fields, [&](const QString& name) { names.append(name); });
    std::stable_sort(names.begin(), names.end(), tableNameOrderLess);
    return names;
}

} // namespace quintabel
