#pragma once
// Copies the rows of an opened source record set into the target table, showing its progress
// through the front end and yielding to the event loop before rows and fields (paced, so that the yields cost next
// to nothing while the window stays responsive).
// A row that fails (its INSERT refused, a value unreadable, or a value the target could not
// hold exactly) is reported with its own single-row statement in hand and the next row is
// tried. A failure that every later row would meet as well (transfer/failure_reach.h), or a
// source that can no longer move to its next row, stops the rows instead, unreported: the
// caller settles the table first and then reports it once, saying what became of the table.
//
// Rows go one INSERT statement per row, or, to a MySQL table of a transactional engine, in
// multi-row INSERT statements inside one transaction (RowSending::Batched), which the batch
// sender sends (transfer/mysql_batch_sender.h): the table's rows then arrive all together at
// the end or not at all, and each row the server refuses gets the same report as when sent
// alone.

#include "transfer/failure_reach.h"
#include "transfer/target_kind.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QString;

namespace quintabel {

class FrontEnd;
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
    FailureReach reach;
    std::string description;
    int label;
    // The failure is the user's to put right, not a fault (a source table with text not of its
    // code page or a damaged file, met as its rows are read; a server out of reach; a full
    // disk): told as a plain message, not as an error report.
    bool userCanPutRight = false;
    // The target driver's number of the failure; 0 when it gave none.
    int errorNumber = 0;
};

struct RowCopyOutcome {
    bool counted = false;        // the record set told its row count
    std::int64_t rowCount = 0;   // the rows the record set reported, or more when it held more
    std::int64_t rowsRead = 0;   // the rows taken from the source
    std::int64_t rowsFailed = 0; // rows that did not arrive (each reported, unless cut short)
    bool stoppedByClose = false; // the front end asked to stop: the remaining rows were not copied
    std::optional<RowsCutShort> cutShort; // a failure ended the rows; not yet reported
    // Per source column, the copied rows whose value was a zero date the source driver read as
    // blank (db::Null::wasZeroDate); empty when there were none.
    std::vector<std::int64_t> zeroDatesBlanked;
};

enum class RowSending {
    OneByOne, // one statement per row, each standing on its own
    Batched,  // multi-row statements in one transaction (a MySQL target only)
};

struct RowCopyOptions {
    RowSending sending = RowSending::OneByOne;
    // The longest multi-row statement to send (below the server's max_allowed_packet).
    std::size_t batchBytes = 1 << 20;
    // Batched rows go first by LOAD DATA LOCAL INFILE from memory (transfer/mysql_load_rows.h),
    // and as the multi-row INSERT only where that does not store them all unchanged.
    bool loadFromMemory = true;
    // The rows a streamed source holds, counted before it was opened, for the progress bar:
    // such a source cannot tell its row count itself.
    std::optional<std::int64_t> rowCountBeforehand;
    // A row the target refuses because of a key (table_keys.h: a duplicate key, a blank key
    // field) ends the table's rows instead of being reported and passed: the transfer then
    // builds the table again without the keys that refuse rows.
    bool keyRefusalsEndTheTable = false;
};

// The rows are copied until the source has none left; the row count only drives the
// progress bar (a streamed source may turn out to hold more or fewer rows than counted).
// `fit` may be null: every row is sent and the target alone decides. The progress names
// `shownName`, the table as the user knows it, with the row in hand and the share done.
// FrontEnd::stopRequested is asked before every row, so the rows stop one row after it answers
// true. Every row that does not arrive is also told to FrontEnd::rowRefused (unless a failure
// cut the rows short: then the table's end says it).
RowCopyOutcome copyRows(StepGuard& guard, const RowCopyLabels& labels, connections::Recordset& source,
                        connections::Connection& target, const std::string& tableName,
                        TargetKind kind, RowFitCheck* fit, FrontEnd& frontEnd,
                        const QString& shownName, const RowCopyOptions& options = {});

} // namespace quintabel
