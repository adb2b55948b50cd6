#pragma once
// Copies the rows of an opened source record set into the target table, one INSERT statement
// per row, driving the progress bar and yielding to the window before rows and fields (paced,
// so that the yields cost next to nothing while the window stays responsive).
// A row that fails (its INSERT refused, a value unreadable, or a value the target could not
// hold exactly) is reported with the statement in hand and the next row is tried.

#include "transfer/target_kind.h"

#include <cstdint>
#include <functional>
#include <string>

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

struct RowCopyOutcome {
    bool counted = false;        // the record set told its row count
    std::int64_t rowCount = 0;   // the rows the record set reported
    std::int64_t rowsFailed = 0; // rows that did not arrive, each reported
    bool stoppedByClose = false; // the window closed: the remaining rows were not copied
};

// The loop runs over the record set's row count alone, as many times as it says.
// `fit` may be null: every row is sent and the target alone decides.
RowCopyOutcome copyRows(StepGuard& guard, const RowCopyLabels& labels, connections::Recordset& source,
                        connections::Connection& target, const std::string& tableName,
                        transfer::TargetKind kind, RowFitCheck* fit, ProgressBar& progressBar,
                        const std::function<bool()>& endRequested);

} // namespace quintabel
