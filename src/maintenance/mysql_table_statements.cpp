#include "maintenance/mysql_table_statements.h"

namespace quintabel {

QString BacktickQuoted(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('`'), QLatin1String("``"));
    return QLatin1Char('`') + quoted + QLatin1Char('`');
}

QString DropTableStatement(const QString& tableName)
{
    return QStringLiteral("DROP TABLE ") + BacktickQuoted(tableName);
}

QString RenameTableStatement(const QString& oldName, const QString& newName)
{
    return QStringLiteral("RENAME TABLE ") + BacktickQuoted(oldName) + QStringLiteral(" TO ") +
           BacktickQuoted(newName);
}

} // namespace quintabel
