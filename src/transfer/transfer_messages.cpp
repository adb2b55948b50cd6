#include "transfer/transfer_messages.h"

#include "base/message_boxes.h"
#include "base/step_guard.h"
#include "transfer/row_copy.h"

#include <QStringList>

namespace quintabel {

std::optional<QString> incompleteTableReason(const RowCopyOutcome& rows)
{
    if (!rows.counted)
        return QStringLiteral("its source table could not be read");
    if (rows.rowsFailed > 0)
        return QStringLiteral("%1 of its %2 rows could not be copied").arg(rows.rowsFailed).arg(rows.rowCount);
    if (rows.stoppedByClose)
        return QStringLiteral("the window was closed");
    return std::nullopt;
}

QString notOverwrittenMessage(const QString& tableName, const QString& reason)
{
    return QStringLiteral("The table %1 was not overwritten, because %2. The existing table is unchanged.")
        .arg(tableName, reason);
}

QString tableNotWrittenMessage(const QString& failure, const QString& tableName, bool existingKept)
{
    QString text = failure + QStringLiteral("\r\rThe table %1 was not written.").arg(tableName);
    if (existingKept)
        text += QStringLiteral(" The existing table %1 is untouched.").arg(tableName);
    return text;
}

QString cutShortMessage(const QString& tableName, const RowsCutShort& cut, bool overwrite,
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
    if (cut.reach == FailureReach::Run)
        text += QStringLiteral(" No table after it could be sent either, so the transfer ended here.");
    return text;
}

void reportCutShort(StepGuard& guard, const RowsCutShort& cut, const QString& text)
{
    if (cut.userCanPutRight)
        showMessage(text);
    else
        guard.report(cut.label, text);
}

QString rowCountDiffersMessage(const QString& tableName, std::int64_t promised, std::int64_t read)
{
    return QStringLiteral("The header of the Paradox table %1 says it holds %2 rows, but its file holds %3, and "
                          "those are the rows that were read. The file may be damaged: check the table in Paradox, "
                          "or compare it with a backup.")
        .arg(tableName)
        .arg(promised)
        .arg(read);
}

std::optional<QString> zeroDatesBlankedMessage(const QString& sourceName, const QString& targetName,
                                               const std::vector<std::string>& columnNames,
                                               const std::vector<std::int64_t>& counts)
{
    QStringList columns;
    for (std::size_t column = 0; column < counts.size() && column < columnNames.size(); ++column) {
        if (counts[column] == 0)
            continue;
        columns << QStringLiteral("column '%1' in %2 %3")
                       .arg(QString::fromStdString(columnNames[column]))
                       .arg(counts[column])
                       .arg(counts[column] == 1 ? QStringLiteral("row") : QStringLiteral("rows"));
    }
    if (columns.isEmpty())
        return std::nullopt;
    return QStringLiteral("The MySQL table %1 holds zero dates (such as 0000-00-00), which a Paradox date cannot hold. "
                          "They were left blank in the Paradox table %2: %3.")
        .arg(sourceName, targetName, columns.join(QStringLiteral(", ")));
}

QString keysNotKeptMessage(const QString& tableName, const QString& problem)
{
    QString why = problem.trimmed();
    if (!why.endsWith(QLatin1Char('.')))
        why += QLatin1Char('.');
    return QStringLiteral("%1 arrived with every row, but without some of its keys: %2 Add them by hand once the "
                          "rows are as they should be.")
        .arg(tableName, why);
}

} // namespace quintabel
