#include "transfer/row_copy.h"

#include "base/kill_points.h"
#include "catalogue/progress_bar.h"
#include "connections/connection.h"
#include "connections/recordset.h"
#include "drivers/database_error.h"
#include "shell/event_pacer.h"
#include "shell/step_guard.h"
#include "transfer/row_fit_check.h"
#include "transfer/row_insert_statement.h"

#include <QString>

#include <vector>

namespace quintabel {

namespace {

// Reads the current row's values into `row`, yielding before each field. False when a value
// could not be read (reported): such a row is not sent, since a stand-in would change it.
bool readCurrentRow(StepGuard& guard, const RowCopyLabels& labels, const connections::Recordset& source,
                    EventPacer& pacer, std::vector<db::Value>& row)
{
    int fieldCount = 0;
    guard.step(labels.fieldLoop, [&] { fieldCount = source.FieldCount(); });
    row.assign(static_cast<std::size_t>(fieldCount), db::Null{});
    bool complete = true;
    for (int index = 0; index < fieldCount; ++index) {
        guard.step(labels.fieldRepaint, [&] { pacer.yield(); });
        complete = guard.step(labels.valueText, [&] { row[static_cast<std::size_t>(index)] = source.Fields(index).Value(); })
            && complete;
    }
    return complete;
}

// Runs one row's statement. A failure that every later row would meet as well is kept in
// `cutShort` rather than thrown, so that the table gets one report instead of one per row.
void executeRow(connections::Connection& target, const std::string& statement, transfer::TargetKind kind,
                int label, std::optional<RowsCutShort>& cutShort)
{
    try {
        target.Execute(statement);
    } catch (const db::DatabaseError& failure) {
        const transfer::FailureReach reach = transfer::failureReach(kind, failure.number());
        if (reach == transfer::FailureReach::Row)
            throw;
        cutShort = RowsCutShort{reach, failure.what(), label};
    }
}

// Counts, per column, the row's blanks that stand for a zero date.
void countZeroDates(const std::vector<db::Value>& row, std::vector<std::int64_t>& counts)
{
    for (std::size_t column = 0; column < row.size(); ++column) {
        const auto* null = std::get_if<db::Null>(&row[column]);
        if (null == nullptr || !null->wasZeroDate)
            continue;
        if (counts.size() < row.size())
            counts.resize(row.size(), 0);
        ++counts[column];
    }
}

} // namespace

RowCopyOutcome copyRows(StepGuard& guard, const RowCopyLabels& labels, connections::Recordset& source,
                        connections::Connection& target, const std::string& tableName,
                        transfer::TargetKind kind, RowFitCheck* fit, ProgressBar& progressBar,
                        const QString& shownName, const std::function<bool()>& endRequested)
{
    RowCopyOutcome outcome;
    outcome.counted = guard.step(labels.rowCount, [&] { outcome.rowCount = source.RecordCount(); });
    std::vector<db::Value> row;
    std::string statement;
    // Every move of the progress bar is shown (and lets the window act on it); between
    // moves the pacer yields often enough for the window to stay responsive.
    EventPacer pacer;
    int shownProgress = -1;
    for (std::int64_t index = 0; index < outcome.rowCount; ++index) {
        guard.step(labels.repaint, [&] {
            pacer.yield(progressBar.value() != shownProgress);
            shownProgress = progressBar.value();
        });
        if (endRequested && endRequested()) {
            outcome.stoppedByClose = true;
            break;
        }
        guard.step(labels.progress, [&] { progressBar.showRowProgress(shownName, index + 1, outcome.rowCount); });

        bool sent = readCurrentRow(guard, labels, source, pacer, row);
        guard.step(labels.statementStart, [&] {
            statement = transfer::RowInsertStatement(tableName, row, kind);
            guard.setStatement(QString::fromStdString(statement));
        });
        if (sent && fit != nullptr) {
            if (auto reason = fit->misfit(row, static_cast<std::size_t>(index + 1))) {
                guard.report(labels.execute, QString::fromStdString(*reason));
                sent = false;
            }
        }
        if (sent) {
            sent = guard.step(labels.execute, [&] { executeRow(target, statement, kind, labels.execute, outcome.cutShort); });
            KillPoint("row statement executed");
        }
        if (outcome.cutShort) {
            outcome.rowsFailed += outcome.rowCount - index;
            break;
        }
        if (!sent)
            ++outcome.rowsFailed;
        else
            countZeroDates(row, outcome.zeroDatesBlanked);
        try {
            source.MoveNext();
        } catch (...) {
            // A source that cannot reach its next row cannot reach any row after it.
            outcome.rowsFailed += outcome.rowCount - index - 1;
            outcome.cutShort = RowsCutShort{transfer::FailureReach::Table,
                                            "The source table could not be read past row " + std::to_string(index + 1)
                                                + ": " + DescriptionOfCurrentException().toStdString(),
                                            labels.moveNext};
            break;
        }
    }
    return outcome;
}

} // namespace quintabel
