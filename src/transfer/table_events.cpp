#include "transfer/table_events.h"

#include "transfer/row_copy.h"

#include <algorithm>

namespace quintabel {

void TableEvents::started(const QString& sourceName, const QString& targetName)
{
    outcome_.sourceName = sourceName;
    outcome_.targetName = targetName;
    started_ = true;
    frontEnd_.tableStarted(sourceName, targetName);
}

void TableEvents::rows(const RowCopyOutcome& rows)
{
    outcome_.rowsRefused = rows.rowsFailed;
    outcome_.rowsSent = std::max<std::int64_t>(0, rows.rowCount - rows.rowsFailed);
}

void TableEvents::notice(const TableNotice& notice)
{
    frontEnd_.tableNotice(notice);
}

void TableEvents::ended(TableEnd end, const QString& message)
{
    if (ended_)
        return;
    ended_ = true;
    outcome_.end = end;
    outcome_.message = message;
}

void TableEvents::finish()
{
    if (started_)
        frontEnd_.tableFinished(outcome_);
}

} // namespace quintabel
