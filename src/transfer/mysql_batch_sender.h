#pragma once
// The rows of one table sent to a MySQL table of a transactional engine in multi-row INSERT
// statements inside one transaction (RowSending::Batched, row_copy.h): the table's rows then
// arrive all together at the end or not at all, and a batch the server refuses is undone to
// the savepoint before it and sent again row by row, so that the rows it refused get the same
// reports as when sent alone and every other row arrives. A batch goes first as LOAD DATA
// from memory, which the server takes several times faster; when the server gives a single
// warning about it (a value it changed, a row it skipped) or refuses it, it is undone to the
// savepoint and goes as the multi-row INSERT, so that what arrives and what is reported stays
// exactly what the INSERT statements make of it. The LOAD DATA of a batch runs on a thread of
// its own while the next batch is read (transfer/background_load.h); it is answered before the
// next batch goes, before any report of a later row, and before the table's commit, so that
// the reports and what arrives are the same as when every batch was sent in turn.

#include "drivers/value.h"
#include "transfer/background_load.h"
#include "transfer/failure_reach.h"
#include "transfer/mysql_load_rows.h"
#include "transfer/mysql_row_batch.h"
#include "transfer/row_insert_statement.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

class QString;

namespace quintabel {

class StepGuard;

namespace connections {
class Connection;
}

class MySqlBatchSender {
public:
    // The row loop that hands the sender its rows (row_copy.cpp) keeps the table's outcome;
    // the sender tells it what became of each row it settles.
    class RowLoop {
    public:
        // The row arrived; `zeroDateColumns` are its columns whose blank stood for a zero date.
        virtual void rowArrived(const std::vector<std::size_t>& zeroDateColumns) = 0;
        // The row did not arrive: the failure told last was its refusal.
        virtual void rowRefused(std::int64_t tableRow, const QString& statement) = 0;
        // A failure ended the table's rows (the first one told stays); `failure` says whether
        // the user can put it right.
        virtual void cutShort(FailureReach reach, const std::string& description, int label,
                              const std::exception* failure) = 0;
        virtual bool rowsCutShort() const = 0;
        // The statement of the row read last, which is the one in hand again once the rows of
        // a batch went one by one.
        virtual const QString& statementOfRowReadLast() = 0;

    protected:
        ~RowLoop() = default;
    };

    // `executeLabel` is the row copy's step that sends a row. `batchBytes` bounds a multi-row
    // statement; with `loadFromMemory` the batches go first as LOAD DATA. With
    // `keyRefusalsEndTheTable`, a row refused because of a key cuts the rows short.
    MySqlBatchSender(StepGuard& guard, int executeLabel, connections::Connection& target,
                     const std::string& tableName, std::size_t batchBytes, bool loadFromMemory,
                     bool keyRefusalsEndTheTable, RowLoop& loop);
    MySqlBatchSender(const MySqlBatchSender&) = delete;
    MySqlBatchSender& operator=(const MySqlBatchSender&) = delete;

    // Starts the table's transaction; a failure cuts the rows short.
    void begin();
    // Adds the source's row `tableRow`: its statement, the columns whose blank stood for a zero
    // date, and its values with their texts (for LOAD DATA). The rows gathered go first when
    // the row does not fit beside them. False when the rows were cut short: the row was not
    // added.
    bool add(std::int64_t tableRow, const std::string& statement, std::vector<std::size_t> zeroDateColumns,
             const std::vector<db::Value>& row, const std::vector<RowValueText>& valueTexts);
    // A report is about to be shown: the rows before its row are settled first, so that the
    // reports come in the order of the rows, as when every row is sent alone.
    void settleRowsBefore();
    // After the last row: the rows gathered go and every batch is answered (a window closed
    // meanwhile or not, its refused rows reported as if sent on this thread); then the
    // transaction is committed, or undone when the rows were cut short or `stopped`.
    void finish(bool stopped);

private:
    // The rows of one batch: as a multi-row INSERT (whose single-row statements the reports
    // name), as LOAD DATA lines, and their numbers in the source.
    struct RowBatch {
        RowBatch(const std::string& tableName, std::size_t batchBytes);
        void clear();

        MySqlRowBatch statements;
        MySqlLoadRows load;
        std::vector<std::int64_t> rows;
    };

    // Sends the rows gathered, once the batch sent before them is settled. A batch that can
    // go by LOAD DATA is left under way, while the next rows are read; any other goes as a
    // multi-row INSERT at once.
    void flush();
    // Waits for the batch under way by LOAD DATA. When the server did not store every row of
    // it without a warning, it is undone to its savepoint and sent as INSERT statements.
    void settleBatchUnderWay();
    // Sends the batch as one multi-row INSERT after its savepoint (set already, or set here);
    // when the server refuses it, undoes it and sends its rows one by one, each refusal with
    // its own report.
    void insertBatch(RowBatch& batch, bool savepointSet);
    // Undoes the batch to its savepoint; when the server cannot, the table's rows are lost
    // and cut short (false).
    bool undoBatch(const RowBatch& batch);
    void sendBatchRowByRow(RowBatch& batch);
    // Runs the statement of the source's row `tableRow` on its own. A refusal names the row by
    // its place in the table.
    void sendRowAlone(std::int64_t tableRow, const std::string& statement);
    void countBatchZeroDates(const RowBatch& batch);
    void commitTransaction();
    void rollBackTransaction();

    StepGuard& guard_;
    int executeLabel_;
    connections::Connection& target_;
    RowLoop& loop_;
    // The batch being gathered, and the one sent before it, whose LOAD DATA may be under way.
    RowBatch batch_;
    RowBatch sentBatch_;
    // Declared after the batch it sends, so that it is waited for before that batch is destroyed.
    BackgroundLoad backgroundLoad_;
    // Cleared for the rest of the table once a LOAD DATA fails outright (a server that takes
    // no LOAD DATA LOCAL): the batches then go as INSERT statements at once.
    bool loadFromMemory_;
    bool keyRefusalsEndTheTable_;
};

} // namespace quintabel
