#pragma once
// The frame both transfers share: a run visits the source list from the bottom up and sends
// each selected item as one table, whose start, rows and end are told to the front end as the
// table's events (table_events.h). What a table goes through between its name and its end is
// the transfer's own (sendTable), and so are its connections and the run's last steps. The
// frame's steps carry the labels of the transfer's table (transfer_labels.h).

#include "base/connection_fields.h"
#include "connections/connection.h"
#include "connections/recordset.h"
#include "transfer/transfer_environment.h"
#include "transfer/transfer_labels.h"

#include <QString>

#include <string>

namespace quintabel {

class RowFitCheck;
class StepGuard;
class TableEvents;

enum class AfterTable { NextTable, EndRun };

class TransferRun {
public:
    // `target`: where the tables go; the source is read from the other side's connection.
    TransferRun(StepGuard& guard, FrontEnd& frontEnd, const TransferEnvironment& environment,
                const TransferLabels& labels, TargetKind target);
    virtual ~TransferRun() = default;
    TransferRun(const TransferRun&) = delete;
    TransferRun& operator=(const TransferRun&) = delete;

    void run();

protected:
    // The connections, opened once the run shows itself busy.
    virtual void openConnections() = 0;
    // One table, from its name in the source list to its end, which it tells events().
    virtual AfterTable sendTable(const QString& sourceName) = 0;
    // The steps after the last table; a run that a table ended takes none of them.
    virtual void finishRun() = 0;

    // Reads the connection window's fields, then settles the Paradox folder they name: a
    // rename or replacement that a kill interrupted is finished or undone before anything
    // here looks at the folder or writes to it (until then a table's memos may stand under
    // another name).
    void readFieldsAndRecoverFolder();
    // Opens the source record set on the table `table` of the source's side, its rows read as
    // they are sent, never all held at once. A table that cannot be read has said so in the
    // open's own report, and ends there (false): every later step of it would only fail for
    // want of its rows.
    bool openSource(const std::string& table);
    // The CREATE TABLE statement for the source, by the default mapping or the customisation
    // window (create_statement_choice.h).
    ChosenCreateStatement createStatementFor(const std::string& table, const std::string& createdTableName = {},
                                             const TableKeys* keys = nullptr);
    // The customisation window was cancelled: the run ends before anything of the table has
    // been touched.
    AfterTable endRunOnCancel();
    // Copies the source's rows into `tableName` on `target` (row_copy.h) and tells the
    // table's events how many arrived.
    RowCopyOutcome copyRowsInto(connections::Connection& target, const std::string& tableName, RowFitCheck* fit,
                                const QString& shownName, const RowCopyOptions& options);
    // The steps that end a table's rows: the pointer, the progress bar and the source. When
    // the run ends with them, the rest of the source is not waited for (its connection goes).
    enum class SourceEnd { Close, Cancel };
    void finishRows(SourceEnd end = SourceEnd::Close);
    // Rows that a failure cut short: the table's one report (`message`, its cutShortMessage).
    // What the run does next depends on how far the failure reaches.
    AfterTable tellCutShort(const RowsCutShort& cut, const QString& message);
    // The table was not written, for the failure reported last.
    void tableNotWritten();
    // Tells once, as a message and to the table's events, that `table` arrived without some of
    // the keys of its source, and why.
    void tellKeysNotKept(const QString& table, const QString& problem);
    bool endRequested() const { return frontEnd_.stopRequested(); }
    // The table in hand's.
    TableEvents& events() { return *events_; }

    StepGuard& guard_;
    FrontEnd& frontEnd_;
    const TransferEnvironment& environment_;
    ConnectionFields fields_;
    connections::Connection paradox_;
    connections::Connection mysql_;
    connections::Recordset source_;

private:
    // The item at `itemIndex` of the source list, its events told around it.
    AfterTable sendItem(int itemIndex);
    connections::Connection& sourceConnection() { return target_ == TargetKind::Paradox ? mysql_ : paradox_; }
    connections::Connection& targetConnection() { return target_ == TargetKind::Paradox ? paradox_ : mysql_; }

    const TransferLabels& labels_;
    TargetKind target_;
    TableEvents* events_ = nullptr;
};

} // namespace quintabel
