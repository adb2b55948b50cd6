#pragma once
// The front end the engine's runs talk to when the command line started them: the tables
// named on the command line as the source list, the other side's names as the target list,
// progress on standard error, the run's events into the report, and Ctrl+C as the stop
// request (the run then stops before its next row or table and leaves no half-written table).

#include "cli/progress_line.h"
#include "cli/run_report.h"
#include "frontend/front_end.h"

namespace quintabel::cli {

class CommandLineFrontEnd final : public FrontEnd {
public:
    // `report` and `standardError` must outlive this.
    CommandLineFrontEnd(QStringList sourceNames, QStringList targetNames, bool customiseTypes, RunReport& report,
                        StandardError& standardError);

    TableListView& sourceList() override { return source_; }
    TableListView& targetList() override { return target_; }
    const NamedTables& sourceNames() const { return source_; }

    bool customiseTypes() const override { return customiseTypes_; }
    bool stopRequested() const override;

    void showRowProgress(const QString& tableName, std::int64_t row, std::int64_t rowCount) override;
    void showIdle() override;
    void showBusy(bool busy) override;
    void showWaitingForFolder(const QString& folder, bool waiting) override;

    void tableStarted(const QString& sourceName, const QString& targetName) override;
    void rowRefused(const RefusedRow& row) override;
    void tableNotice(const TableNotice& notice) override;
    void tableFinished(const TableOutcome& outcome) override;

private:
    NamedTables source_;
    NamedTables target_;
    bool customiseTypes_;
    RunReport& report_;
    StandardError& standardError_;
};

// From now on the first Ctrl+C (or SIGTERM) asks the run to stop at its next row or table;
// a second one ends the program at once, as it would have without this.
void catchStopSignals();
bool stopSignalled();

} // namespace quintabel::cli
