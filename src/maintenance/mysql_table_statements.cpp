#include "maintenance/mysql_table_statements.h"

#include "transfer/sql_names.h"

namespace quintabel {

namespace {

// The name as every statement of the program quotes it (transfer/sql_names.h).
QString quoted(const QString& name)
{
    return QString::fromStdString(backtickQuoted(name.toStdString()));
}

} // namespace

QString dropTableStatement(const QString& tableName)
{
    return QStringLiteral("DROP TABLE ") + quoted(tableName);
}

QString renameTableStatement(const QString& oldName, const QString& newName)
{
    return QStringLiteral("RENAME TABLE ") + quoted(oldName) + QStringLiteral(" TO ") +
           quoted(newName);
}

} // namespace quintabel
