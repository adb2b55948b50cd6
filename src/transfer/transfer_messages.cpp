#include "transfer/transfer_messages.h"

namespace quintabel {

QString NotOverwrittenMessage(const QString& tableName, bool created, std::int64_t rowsFailed,
                              std::int64_t rowCount)
{
    const QString why = created
        ? QStringLiteral("%1 of its %2 rows could not be copied").arg(rowsFailed).arg(rowCount)
        : QStringLiteral("its CREATE TABLE statement failed");
    return QStringLiteral("The table %1 was not overwritten, because %2. The existing table is unchanged.")
        .arg(tableName, why);
}

} // namespace quintabel
