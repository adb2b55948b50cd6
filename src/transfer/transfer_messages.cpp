#include "transfer/transfer_messages.h"

#include "transfer/row_copy.h"

namespace quintabel {

std::optional<QString> IncompleteTableReason(const RowCopyOutcome& rows)
{
    if (!rows.counted)
        return QStringLiteral("its source table could not be read");
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

QString CutShortMessage(const QString& tableName, const RowsCutShort& cut, bool overwrite,
                        const std::optional<QString>& leftover)
{
    QString text = QString::fromStdString(cut.description)
        + QStringLiteral("\r\rThe table %1 was not sent, because this failure would repeat for every row after it.")
              .arg(tableName);
    if (overwrite)
        text += QStringLiteral(" The existing table is unchanged.");
    if (leftover)
        text += QStringLiteral(" Its unfinished copy %1 could not be deleted now; the next transfer to MySQL deletes it.")
                    .arg(*leftover);
    if (cut.reach == transfer::FailureReach::Run)
        text += QStringLiteral(" No table after it could be sent either, so the transfer ended here.");
    return text;
}

} // namespace quintabel
