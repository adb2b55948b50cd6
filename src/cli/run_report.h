#pragma once
// What became of every table of one command-line run: gathered from the engine's events as
// the run goes, turned into the exit status, and written as JSON for --report.

#include "frontend/front_end.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quintabel::cli {

// One table's line in the report.
struct TableRecord {
    QString sourceName;
    QString targetName;
    std::optional<TableOutcome> outcome; // nothing while the table is in hand, or never reached
    std::vector<RefusedRow> refusedRows;
    // Set when the table failed before the engine took it up (not found, its chosen types
    // refused), or when the run ended before it.
    std::optional<QString> failureBeforeRun;
    QStringList errorReports; // the error reports shown while it was in hand
    std::vector<TableNotice> notices; // values that arrived changed, rows its header promised
};

// SourceDamaged: written whole from a source whose header promised another number of rows.
enum class TableStatus { Complete, RowsRefused, SourceDamaged, Skipped, Failed };

TableStatus statusOf(const TableRecord& table);

class RunReport {
public:
    // The engine's events, in the order it gives them.
    void tableStarted(const QString& sourceName, const QString& targetName);
    void rowRefused(const RefusedRow& row);
    void tableNotice(const TableNotice& notice);
    void tableFinished(const TableOutcome& outcome);

    // A table given on the command line that never reached the engine: `message` says why.
    void tableFailedBeforeRun(const QString& sourceName, const QString& message);

    // Every table of `sourceNames` that has no record yet failed: the run ended before it.
    void markUnreached(const QStringList& sourceNames, const QString& message);

    // An error report the run showed: it belongs to the table in hand, or to the run when no
    // table is in hand (an open connection that failed, for example).
    void errorReportShown(const QString& text);
    // A failure of the run itself, outside any table (a side that could not be listed).
    void runFailed(const QString& text) { runErrors_ << text; }

    const std::vector<TableRecord>& tables() const { return tables_; }

    // kExitComplete, kExitRowsRefused or kExitTableFailed: a failed table, or an error report
    // that belongs to no table, outweighs refused rows (or a damaged source's rows). A table
    // skipped by an answer to a question counts as neither.
    int exitStatus() const;

    // The report as JSON: the command, the exit status, every table and the run's own errors.
    QJsonObject toJson(const QString& command) const;

private:
    TableRecord& recordFor(const QString& sourceName, const QString& targetName);
    TableRecord* inHand();

    std::vector<TableRecord> tables_;
    std::optional<std::size_t> inHand_;
    QStringList runErrors_;
};

// Whether `path` can take the report: a file there can be made (a trial file is made and
// removed again). The reason when it cannot.
std::optional<QString> reportFileProblem(const QString& path);

// Writes `report` to `path` whole or not at all (a half-written report would read as a short
// run). The reason when it could not be written.
std::optional<QString> writeReportFile(const QString& path, const QJsonObject& report);

} // namespace quintabel::cli
