#pragma once
// One table's structured events for the front end (FrontEnd::tableStarted and tableFinished):
// the run fills in how the table went as it goes, and the end is told once, when the table is
// done. A table nothing ended otherwise was written.

#include "frontend/front_end.h"

#include <QString>

namespace quintabel {

struct RowCopyOutcome;

class TableEvents {
public:
    explicit TableEvents(FrontEnd& frontEnd) : frontEnd_(frontEnd) {}

    // The table's names are known: tells tableStarted.
    void started(const QString& sourceName, const QString& targetName);
    // The rows that arrived and those that did not.
    void rows(const RowCopyOutcome& rows);
    // Something the run told the user of the table besides its end: tells tableNotice.
    void notice(const TableNotice& notice);
    // The table was not written, with what the run told the user; the first end told stays.
    void ended(TableEnd end, const QString& message = {});
    // Tells tableFinished, once a table was started.
    void finish();

private:
    FrontEnd& frontEnd_;
    TableOutcome outcome_;
    bool started_ = false;
    bool ended_ = false;
};

} // namespace quintabel
