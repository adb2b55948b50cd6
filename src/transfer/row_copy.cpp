#include "transfer/row_copy.h"

#include "base/kill_points.h"
#include "catalogue/progress_bar.h"
#include "connections/connection.h"
#include "connections/recordset.h"
#include "shell/event_pacer.h"
#include "shell/step_guard.h"
#include "transfer/row_fit_check.h"
#include "transfer/row_insert_statement.h"

#include <cmath>
#include <vector>

namespace quintabel {

namespace {

int percentDone(std::int64_t rowsDone, std::int64_t rowCount)
{
    return static_cast<int>(std::floor(static_cast<double>(rowsDone) / static_cast<double>(rowCount) * 100.0));
}

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

} // namespace

RowCopyOutcome copyRows(StepGuard& guard, const RowCopyLabels& labels, connections::Recordset& source,
                        connections::Connection& target, const std::string& tableName,
                        transfer::TargetKind kind, RowFitCheck* fit, ProgressBar& progressBar,
                        const std::function<bool()>& endRequested)
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
        guard.step(labels.progress, [&] { progressBar.setValue(percentDone(index + 1, outcome.rowCount)); });

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
            sent = guard.step(labels.execute, [&] { target.Execute(statement); });
            KillPoint("row statement executed");
        }
        if (!sent)
            ++outcome.rowsFailed;
        guard.step(labels.moveNext, [&] { source.MoveNext(); });
    }
    return outcome;
}

} // namespace quintabel
