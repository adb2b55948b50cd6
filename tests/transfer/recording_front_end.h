#pragma once
// A front end without any widget for the transfer tests: plain lists of names, and a record
// of every event a run tells it.

#include "frontend/front_end.h"

#include <functional>
#include <utility>
#include <vector>

namespace quintabel::testing {

class RecordingFrontEnd final : public FrontEnd {
public:
    RecordingFrontEnd(const QStringList& sourceNames, const QStringList& targetNames)
        : source(sourceNames), target(targetNames)
    {
        // The target side lists what it holds; nothing of it is selected.
        target.clearNames();
        for (const QString& name : targetNames)
            target.addName(name);
    }

    TableListView& sourceList() override { return source; }
    TableListView& targetList() override { return target; }
    bool customiseTypes() const override { return false; }
    bool stopRequested() const override { return stop && stop(); }
    void showRowProgress(const QString& tableName, std::int64_t row, std::int64_t rowCount) override
    {
        lastProgress = {tableName, row, rowCount};
    }
    void showIdle() override { lastProgress = {}; }
    void showBusy(bool shown) override { busy = shown; }
    void tableStarted(const QString& sourceName, const QString& targetName) override
    {
        started.emplace_back(sourceName, targetName);
    }
    void rowRefused(const RefusedRow& row) override { refused.push_back(row); }
    void tableFinished(const TableOutcome& outcome) override { finished.push_back(outcome); }

    struct Progress {
        QString table;
        std::int64_t row = 0;
        std::int64_t rowCount = 0;
    };

    NamedTables source;
    NamedTables target;
    std::function<bool()> stop;
    bool busy = false;
    Progress lastProgress;
    std::vector<std::pair<QString, QString>> started;
    std::vector<RefusedRow> refused;
    std::vector<TableOutcome> finished;
};

} // namespace quintabel::testing
