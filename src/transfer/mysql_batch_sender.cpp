#include "transfer/mysql_batch_sender.h"

#include "base/kill_points.h"
#include "base/step_guard.h"
#include "connections/connection.h"
#include "drivers/database_error.h"
#include "transfer/refused_column.h"
#include "transfer/table_keys.h"

#include <QString>

#include <optional>
#include <utility>

namespace quintabel {

namespace {

// One name for every batch: a SAVEPOINT of a name already taken moves it, so the savepoint
// always stands just before the batch in hand.
constexpr char kBatchSavepoint[] = "SAVEPOINT `quintabel-batch`";
constexpr char kBackToBatchSavepoint[] = "ROLLBACK TO SAVEPOINT `quintabel-batch`";

// MariaDB errors after which the server has rolled back the whole transaction, not just the
// statement: the rows sent before are gone, though each statement after would succeed.
constexpr int kLockDeadlock = 1213;   // ER_LOCK_DEADLOCK
constexpr int kLockWaitTimeout = 1205; // ER_LOCK_WAIT_TIMEOUT (with innodb_rollback_on_timeout)

bool endsTransaction(int errorNumber)
{
    return errorNumber == kLockDeadlock || errorNumber == kLockWaitTimeout;
}

// A failure that loses the table's transaction reaches at least the table.
FailureReach atLeastTable(FailureReach reach)
{
    return reach == FailureReach::Row ? FailureReach::Table : reach;
}

} // namespace

MySqlBatchSender::RowBatch::RowBatch(const std::string& tableName, std::size_t batchBytes)
    : statements(tableName, batchBytes), load(tableName)
{
}

void MySqlBatchSender::RowBatch::clear()
{
    statements.clear();
    load.clear();
    rows.clear();
}

MySqlBatchSender::MySqlBatchSender(StepGuard& guard, int executeLabel, connections::Connection& target,
                                   const std::string& tableName, std::size_t batchBytes, bool loadFromMemory,
                                   bool keyRefusalsEndTheTable, RowLoop& loop)
    : guard_(guard), executeLabel_(executeLabel), target_(target), loop_(loop), batch_(tableName, batchBytes),
      sentBatch_(tableName, batchBytes), loadFromMemory_(loadFromMemory), keyRefusalsEndTheTable_(keyRefusalsEndTheTable)
{
}

void MySqlBatchSender::begin()
{
    try {
        target_.Execute("START TRANSACTION");
    } catch (const db::DatabaseError& failure) {
        loop_.cutShort(atLeastTable(failureReach(TargetKind::MySQL, failure.number())), failure.description(),
                       executeLabel_, &failure);
    }
}

bool MySqlBatchSender::add(std::int64_t tableRow, const std::string& statement,
                           std::vector<std::size_t> zeroDateColumns, const std::vector<db::Value>& row,
                           const std::vector<RowValueText>& valueTexts)
{
    if (!batch_.statements.fits(statement))
        flush();
    if (loop_.rowsCutShort())
        return false;
    batch_.statements.add(statement, std::move(zeroDateColumns));
    batch_.rows.push_back(tableRow);
    if (loadFromMemory_ && valueTexts.size() == row.size())
        batch_.load.add(valueTexts);
    else if (loadFromMemory_)
        batch_.load.add(row);
    return true;
}

void MySqlBatchSender::settleRowsBefore()
{
    flush();
    settleBatchUnderWay();
}

void MySqlBatchSender::finish(bool stopped)
{
    if (!loop_.rowsCutShort() && !stopped)
        flush();
    settleBatchUnderWay();
    if (!loop_.rowsCutShort() && !stopped)
        commitTransaction();
    if (loop_.rowsCutShort() || stopped)
        rollBackTransaction();
}

void MySqlBatchSender::flush()
{
    // The batch before comes first: its reports come before any of this batch's, and the
    // connection carries one statement at a time.
    settleBatchUnderWay();
    if (loop_.rowsCutShort() || batch_.statements.empty()) {
        batch_.clear();
        return;
    }
    if (loadFromMemory_ && batch_.load.loadable()) {
        std::swap(batch_, sentBatch_);
        backgroundLoad_.start(target_, kBatchSavepoint, sentBatch_.load.statement(),
                              std::string(MySqlLoadRows::kFileName), sentBatch_.load.content());
    } else {
        insertBatch(batch_, false);
    }
    batch_.clear();
}

void MySqlBatchSender::settleBatchUnderWay()
{
    if (!backgroundLoad_.underWay())
        return;
    const BackgroundLoad::Answer answer = backgroundLoad_.wait();
    // Rows cut short already are undone with the whole transaction: nothing to settle.
    if (!loop_.rowsCutShort()) {
        if (answer.savepointRefusal) {
            // Nothing was loaded; the batch's first undo meets the failure again and ends the rows.
            sendBatchRowByRow(sentBatch_);
            if (!loop_.rowsCutShort())
                guard_.setStatement(loop_.statementOfRowReadLast());
            killPoint("row batch sent");
        } else if (answer.loaded && answer.loaded->warnings == 0 && answer.loaded->rows == sentBatch_.statements.size()) {
            countBatchZeroDates(sentBatch_);
            killPoint("row batch sent");
        } else {
            // The INSERT statements that follow meet any failure of the server or the table
            // again and report it as they always have; LOAD DATA is not tried again for this table.
            if (answer.loadRefusal)
                loadFromMemory_ = false;
            if (undoBatch(sentBatch_))
                insertBatch(sentBatch_, true);
        }
    }
    sentBatch_.clear();
}

void MySqlBatchSender::insertBatch(RowBatch& batch, bool savepointSet)
{
    std::optional<db::DatabaseError> refusal;
    try {
        if (!savepointSet)
            target_.Execute(kBatchSavepoint);
        target_.Execute(batch.statements.statement());
    } catch (const db::DatabaseError& failure) {
        refusal = failure;
    }
    if (!refusal) {
        countBatchZeroDates(batch);
    } else {
        sendBatchRowByRow(batch);
        // The statement in hand is again the one of the row read last.
        if (!loop_.rowsCutShort())
            guard_.setStatement(loop_.statementOfRowReadLast());
    }
    killPoint("row batch sent");
}

void MySqlBatchSender::countBatchZeroDates(const RowBatch& batch)
{
    for (std::size_t index = 0; index < batch.statements.size(); ++index)
        loop_.rowArrived(batch.statements.zeroDateColumns(index));
}

bool MySqlBatchSender::undoBatch(const RowBatch& batch)
{
    try {
        target_.Execute(kBackToBatchSavepoint);
        return true;
    } catch (const db::DatabaseError& failure) {
        // The first row's own statement meets a failure that reaches beyond its row just as
        // the batch did, and is the one the table's report then names.
        guard_.setStatement(QString::fromStdString(batch.statements.rowStatement(0)));
        loop_.cutShort(atLeastTable(failureReach(TargetKind::MySQL, failure.number())),
                       "The rows sent for this table so far were lost, because the server ended their transaction: "
                           + failure.description(),
                       executeLabel_, &failure);
        return false;
    }
}

void MySqlBatchSender::sendBatchRowByRow(RowBatch& batch)
{
    if (!undoBatch(batch))
        return;
    for (std::size_t index = 0; index < batch.statements.size(); ++index) {
        const std::string statement = batch.statements.rowStatement(index);
        guard_.setStatement(QString::fromStdString(statement));
        const std::int64_t tableRow = index < batch.rows.size() ? batch.rows[index] : 0;
        const bool sent = guard_.step(executeLabel_, [&] { sendRowAlone(tableRow, statement); });
        if (loop_.rowsCutShort())
            return;
        if (sent)
            loop_.rowArrived(batch.statements.zeroDateColumns(index));
        else
            loop_.rowRefused(tableRow, QString::fromStdString(statement));
    }
}

void MySqlBatchSender::sendRowAlone(std::int64_t tableRow, const std::string& statement)
{
    try {
        target_.Execute(statement);
    } catch (const db::DatabaseError& failure) {
        // A failure that every later row would meet as well is kept rather than thrown, so
        // that the table gets one report instead of one per row.
        FailureReach reach = failureReach(TargetKind::MySQL, failure.number());
        if (endsTransaction(failure.number()) || (keyRefusalsEndTheTable_ && refusedForAKey(failure.number())))
            reach = atLeastTable(reach);
        if (reach == FailureReach::Row)
            rethrowRefusalAtTableRow(failure, tableRow);
        loop_.cutShort(reach, failure.what(), executeLabel_, &failure);
    }
}

void MySqlBatchSender::commitTransaction()
{
    try {
        target_.Execute("COMMIT");
    } catch (const db::DatabaseError& failure) {
        loop_.cutShort(atLeastTable(failureReach(TargetKind::MySQL, failure.number())),
                       "The rows of the table could not be committed: " + failure.description(), executeLabel_,
                       &failure);
        return;
    }
    killPoint("rows committed");
}

void MySqlBatchSender::rollBackTransaction()
{
    // Whatever the transaction still holds is undone; when the server is gone it has undone
    // it already, and the caller drops the table in any case.
    try {
        target_.Execute("ROLLBACK");
    } catch (const db::DatabaseError&) {
    }
}

} // namespace quintabel
