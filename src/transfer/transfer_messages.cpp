#include "transfer/transfer_messages.h"

#include "transfer/row_copy.h"

namespace quintabel {

std::optional<QString> IncompleteTableReason(bool sourceOpened, bool created, const RowCopyOutcome& rows)
{
    if (!sourceOpened || !rows.counted)
        return QStringLiteral("its source table could not be read");
    if (!created)
        return QStringLiteral("its CREATE TABLE statement failed");
    if (rows.rowsFailed > 0)
        return QStringLiteral("%1 of its %2 rows could not be copied").arg(rows.rowsFailed).arg(rows.rowCount);
    if (rows.stoppedByClose)
        return QStringLiteral("the window was closed");
    return std::nullopt;
}

QString NotOverwrittenMessage(const QString& tableName, const QString& reason)
{
    return QStringLiteral("The table %1 was not overwritten, because %2. The existing table is unchanged.")
        .arg(tableName, reason);
}

} // namespace quintabel
