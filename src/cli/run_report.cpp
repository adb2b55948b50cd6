#include "cli/run_report.h"

#include "cli/command_line.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <algorithm>

namespace quintabel::cli {

namespace {

QString statusText(TableStatus status)
{
    switch (status) {
    case TableStatus::Complete:
        return QStringLiteral("complete");
    case TableStatus::RowsRefused:
        return QStringLiteral("rows refused");
    case TableStatus::SourceDamaged:
        return QStringLiteral("source damaged");
    case TableStatus::Skipped:
        return QStringLiteral("skipped");
    case TableStatus::Failed:
        return QStringLiteral("failed");
    }
    return QString();
}

QJsonObject refusedRowJson(const RefusedRow& row)
{
    QJsonObject json;
    json.insert(QStringLiteral("row"), static_cast<qint64>(row.row));
    json.insert(QStringLiteral("column"), row.column ? QJsonValue(*row.column) : QJsonValue());
    json.insert(QStringLiteral("reason"), row.reason);
    return json;
}

QJsonObject noticeJson(const TableNotice& notice)
{
    QJsonObject json;
    const bool countDiffers = notice.kind == TableNotice::Kind::RowCountDiffers;
    const QString kind = countDiffers                                     ? QStringLiteral("row count differs")
                         : notice.kind == TableNotice::Kind::KeyNotKept ? QStringLiteral("key not kept")
                                                                          : QStringLiteral("values changed");
    json.insert(QStringLiteral("kind"), kind);
    json.insert(QStringLiteral("column"), notice.column ? QJsonValue(*notice.column) : QJsonValue());
    json.insert(QStringLiteral("rows"), static_cast<qint64>(notice.rows));
    if (countDiffers)
        json.insert(QStringLiteral("rowsPromised"), static_cast<qint64>(notice.rowsPromised));
    json.insert(QStringLiteral("message"), notice.message);
    return json;
}

QJsonObject tableJson(const TableRecord& table)
{
    QJsonObject json;
    json.insert(QStringLiteral("source"), table.sourceName);
    json.insert(QStringLiteral("target"), table.targetName.isEmpty() ? QJsonValue() : QJsonValue(table.targetName));
    const TableStatus status = statusOf(table);
    json.insert(QStringLiteral("status"), statusText(status));
    const std::int64_t sent = table.outcome ? table.outcome->rowsSent : 0;
    // The engine counts the refused rows; the rows it named are the ones listed below. Either
    // may be the larger (rows a failure cut short are counted, not named).
    const std::int64_t refused =
        std::max<std::int64_t>(table.outcome ? table.outcome->rowsRefused : 0,
                               static_cast<std::int64_t>(table.refusedRows.size()));
    json.insert(QStringLiteral("rowsSent"), static_cast<qint64>(sent));
    json.insert(QStringLiteral("rowsRefused"), static_cast<qint64>(refused));
    QJsonArray rows;
    for (const RefusedRow& row : table.refusedRows)
        rows.append(refusedRowJson(row));
    json.insert(QStringLiteral("refusedRows"), rows);
    QJsonArray notices;
    for (const TableNotice& notice : table.notices)
        notices.append(noticeJson(notice));
    json.insert(QStringLiteral("notices"), notices);
    QString message;
    if (table.failureBeforeRun)
        message = *table.failureBeforeRun;
    else if (table.outcome)
        message = table.outcome->message;
    else
        message = QStringLiteral("The run ended while this table was in hand.");
    if (!message.isEmpty())
        json.insert(QStringLiteral("message"), message);
    if (!table.errorReports.isEmpty())
        json.insert(QStringLiteral("errorReports"), QJsonArray::fromStringList(table.errorReports));
    return json;
}

} // namespace

TableStatus statusOf(const TableRecord& table)
{
    if (table.failureBeforeRun || !table.outcome)
        return TableStatus::Failed;
    switch (table.outcome->end) {
    case TableEnd::Skipped:
        return TableStatus::Skipped;
    case TableEnd::Written:
        if (table.outcome->rowsRefused > 0 || !table.refusedRows.empty())
            return TableStatus::RowsRefused;
        for (const TableNotice& notice : table.notices) {
            if (notice.kind == TableNotice::Kind::RowCountDiffers)
                return TableStatus::SourceDamaged;
        }
        return TableStatus::Complete;
    case TableEnd::NotWritten:
    case TableEnd::CutShort:
    case TableEnd::Cancelled:
        return TableStatus::Failed;
    }
    return TableStatus::Failed;
}

TableRecord& RunReport::recordFor(const QString& sourceName, const QString& targetName)
{
    for (TableRecord& table : tables_) {
        if (table.sourceName == sourceName && !table.outcome && !table.failureBeforeRun) {
            if (!targetName.isEmpty())
                table.targetName = targetName;
            return table;
        }
    }
    tables_.push_back(TableRecord{sourceName, targetName, std::nullopt, {}, std::nullopt, {}, {}});
    return tables_.back();
}

TableRecord* RunReport::inHand()
{
    return inHand_ ? &tables_[*inHand_] : nullptr;
}

void RunReport::tableStarted(const QString& sourceName, const QString& targetName)
{
    TableRecord& table = recordFor(sourceName, targetName);
    inHand_ = static_cast<std::size_t>(&table - tables_.data());
}

void RunReport::rowRefused(const RefusedRow& row)
{
    TableRecord* table = inHand();
    // A row is always refused inside its table's run; should the events ever come without
    // one, the row still goes into the report under its table's name.
    if (table == nullptr)
        table = &recordFor(row.table, row.table);
    table->refusedRows.push_back(row);
}

void RunReport::tableNotice(const TableNotice& notice)
{
    TableRecord* table = inHand();
    if (table == nullptr)
        table = &recordFor(notice.table, notice.table);
    table->notices.push_back(notice);
}

void RunReport::tableFinished(const TableOutcome& outcome)
{
    TableRecord* table = inHand();
    if (table == nullptr || table->sourceName != outcome.sourceName)
        table = &recordFor(outcome.sourceName, outcome.targetName);
    if (!outcome.targetName.isEmpty())
        table->targetName = outcome.targetName;
    table->outcome = outcome;
    inHand_.reset();
}

void RunReport::tableFailedBeforeRun(const QString& sourceName, const QString& message)
{
    tables_.push_back(TableRecord{sourceName, QString(), std::nullopt, {}, message, {}, {}});
}

void RunReport::markUnreached(const QStringList& sourceNames, const QString& message)
{
    for (const QString& name : sourceNames) {
        bool recorded = false;
        for (TableRecord& table : tables_) {
            if (table.sourceName != name)
                continue;
            recorded = true;
            if (!table.outcome && !table.failureBeforeRun)
                table.failureBeforeRun = message;
        }
        if (!recorded)
            tableFailedBeforeRun(name, message);
    }
}

void RunReport::errorReportShown(const QString& text)
{
    if (TableRecord* table = inHand())
        table->errorReports << text;
    else
        runErrors_ << text;
}

int RunReport::exitStatus() const
{
    bool rowsRefused = false;
    for (const TableRecord& table : tables_) {
        const TableStatus status = statusOf(table);
        if (status == TableStatus::Failed)
            return kExitTableFailed;
        rowsRefused = rowsRefused || status == TableStatus::RowsRefused || status == TableStatus::SourceDamaged;
    }
    if (!runErrors_.isEmpty())
        return kExitTableFailed;
    return rowsRefused ? kExitRowsRefused : kExitComplete;
}

QJsonObject RunReport::toJson(const QString& command) const
{
    QJsonObject json;
    json.insert(QStringLiteral("command"), command);
    json.insert(QStringLiteral("exitStatus"), exitStatus());
    QJsonArray tables;
    for (const TableRecord& table : tables_)
        tables.append(tableJson(table));
    json.insert(QStringLiteral("tables"), tables);
    json.insert(QStringLiteral("errors"), QJsonArray::fromStringList(runErrors_));
    return json;
}

std::optional<QString> reportFileProblem(const QString& path)
{
    QSaveFile trial(path);
    if (!trial.open(QIODevice::WriteOnly))
        return trial.errorString();
    // Nothing replaces an existing report yet: the trial file goes again.
    trial.cancelWriting();
    return std::nullopt;
}

std::optional<QString> writeReportFile(const QString& path, const QJsonObject& report)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray bytes = QJsonDocument(report).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace quintabel::cli
