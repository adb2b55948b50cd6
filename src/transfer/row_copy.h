#pragma once
// Copies the rows of an opened source record set into the target table, one INSERT statement
// per row, driving the progress bar and yielding to the window before rows and fields (paced,
// so that the yields cost next to nothing while the window stays responsive).
// A row that fails (its INSERT refused, a value unreadable, or a value the target could not
// hold exactly) is reported with the statement in hand and the next row is tried. A failure
// that every later row would meet as well (transfer/failure_reach.h), or a source that can no
// longer move to its next row, stops the rows instead, unreported: the caller settles the
// table first and then reports it once, saying what became of the table.

#include "transfer/failure_reach.h"
#include "transfer/target_kind.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QString;

namespace quintabel {

class ProgressBar;
class RowFitCheck;
class StepGuard;

namespace connections {
class Connection;
class Recordset;
}

struct RowCopyLabels {
    int rowCount;
    int rowLoop;
    int repaint;
    int progress;
    int statementStart;
    int fieldLoop;
    int fieldRepaint;
    int valueText;
    int execute;
    int moveNext;
};

// The failure that stopped the rows, with the label of the step that met it. The statement
// in hand is still the one that failed.
struct RowsCutShort {
    transfer::FailureReach reach;
    std::string description;
    int label;
};

struct RowCopyOutcome {
    bool counted = false;        // the record set told its row count
    std::int64_t rowCount = 0;   // the rows the record set reported
    std::int64_t rowsFailed = 0; // rows that did not arrive (each reported, unless cut short)
    bool stoppedByClose = false; // the window closed: the remaining rows were not copied
    std::optional<RowsCutShort> cutShort; // a failure ended the rows; not yet reported
    // Per source column, the copied rows whose value was a zero date the source driver read as
    // blank (db::Null::wasZeroDate); empty when there were none.
    std::vector<std::int64_t> zeroDatesBlanked;
};

// The loop runs over the record set's row count alone, as many times as it says.
// `fit` may be null: every row is sent and the target alone decides. The progress bar names
// `shownName`, the table as the user knows it, with the row in hand and the share done.
// `endRequested` is asked before every row, so the rows stop one row after it answers true.
RowCopyOutcome copyRows(StepGuard& guard, const RowCopyLabels& labels, connections::Recordset& source,
                        connections::Connection& target, const std::string& tableName,
                        transfer::TargetKind kind, RowFitCheck* fit, ProgressBar& progressBar,
                        const QString& shownName, const std::function<bool()>& endRequested);

} // namespace quintabel
