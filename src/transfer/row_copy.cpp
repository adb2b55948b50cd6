#include "transfer/row_copy.h"

#include "base/event_pacer.h"
#include "base/expected_problem.h"
#include "base/kill_points.h"
#include "base/step_guard.h"
#include "connections/connection.h"
#include "connections/recordset.h"
#include "drivers/database_error.h"
#include "frontend/front_end.h"
#include "frontend/row_progress.h"
#include "transfer/background_load.h"
#include "transfer/mysql_load_rows.h"
#include "transfer/mysql_row_batch.h"
#include "transfer/refused_column.h"
#include "transfer/row_fit_check.h"
#include "transfer/row_insert_statement.h"

#include <QString>

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

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

bool isExpectedFailure(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& known) {
        return isExpectedProblem(known);
    } catch (...) {
        return false;
    }
}

bool endsTransaction(int errorNumber)
{
    return errorNumber == kLockDeadlock || errorNumber == kLockWaitTimeout;
}

// A failure that loses the table's transaction reaches at least the table.
FailureReach atLeastTable(FailureReach reach)
{
    return reach == FailureReach::Row ? FailureReach::Table : reach;
}

// The columns of `row` whose blank stands for a zero date.
std::vector<std::size_t> zeroDateColumns(const std::vector<db::Value>& row)
{
    std::vector<std::size_t> columns;
    for (std::size_t column = 0; column < row.size(); ++column) {
        const auto* null = std::get_if<db::Null>(&row[column]);
        if (null != nullptr && null->wasZeroDate)
            columns.push_back(column);
    }
    return columns;
}

// The rows of one batch: as a multi-row INSERT (whose single-row statements the reports
// name), as LOAD DATA lines, and their numbers in the source.
struct RowBatch {
    RowBatch(const std::string& tableName, std::size_t batchBytes) : statements(tableName, batchBytes), load(tableName) {}

    void clear()
    {
        statements.clear();
        load.clear();
        rows.clear();
    }

    MySqlRowBatch statements;
    MySqlLoadRows load;
    std::vector<std::int64_t> rows;
};

class RowCopier {
public:
    RowCopier(StepGuard& guard, const RowCopyLabels& labels, connections::Recordset& source,
              connections::Connection& target, const std::string& tableName, TargetKind kind,
              RowFitCheck* fit, FrontEnd& frontEnd, const QString& shownName, const RowCopyOptions& options)
        : guard_(guard), labels_(labels), source_(source), target_(target), kind_(kind), fit_(fit),
          frontEnd_(frontEnd), shownName_(shownName),
          batched_(options.sending == RowSending::Batched), rowCountBeforehand_(options.rowCountBeforehand),
          batch_(tableName, options.batchBytes), sentBatch_(tableName, options.batchBytes),
          loadFromMemory_(batched_ && options.loadFromMemory && kind == TargetKind::MySQL),
          insertsValues_(!batched_ && kind == TargetKind::Paradox && target.TakesRowValues()),
          tableName_(tableName)
    {
    }

    ~RowCopier();
    RowCopier(const RowCopier&) = delete;
    RowCopier& operator=(const RowCopier&) = delete;

    RowCopyOutcome run();

private:
    void copyEachRow();
    bool sourceAtEnd() const;
    // Reads the current row's values into `row`, yielding before each field. False when a
    // value could not be read (reported): such a row is not sent, since a stand-in would
    // change it.
    bool readCurrentRow(std::vector<db::Value>& row);
    // Sends the row now, or adds it to the batch. False when it is known not to have arrived.
    bool sendRow(const std::string& statement, const std::vector<db::Value>& row);
    // Runs the statement of the source's row `tableRow` on its own; a target that takes row
    // values (the scratch database) is given the row's values instead, as the statement would
    // have given them. A refusal names the row by its place in the table.
    void executeRow(std::int64_t tableRow, const std::string& statement, const std::vector<db::Value>* row = nullptr);
    // The row's values as its statement's literals carry them: NULL, text or bytes.
    std::vector<db::Value> valuesAsInserted(const std::vector<db::Value>& row);
    // Sends the rows gathered, once the batch sent before them is settled. A batch that can
    // go by LOAD DATA is left under way, while the next rows are read; any other goes as a
    // multi-row INSERT at once.
    void flushBatch();
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
    void countBatchZeroDates(const RowBatch& batch);
    // A report is about to be shown: the rows before its row are settled first, so that the
    // reports come in the order of the rows, as when every row is sent alone.
    void settleRowsBefore();
    void beginTransaction();
    void commitTransaction();
    void rollBackTransaction();
    // `failure` is a DatabaseError that ended the rows, or null: its mark says whether the
    // user can put it right (a server out of reach, a full disk), not the program.
    void cutShort(FailureReach reach, const std::string& description, int label,
                  const std::exception* failure = nullptr);
    void countZeroDates(const std::vector<std::size_t>& columns);
    // Tells the front end of a row that did not arrive, with the failure just reported and
    // the column it names: the one the fit check or the unreadable value named, else the one
    // the server's refusal names.
    void tellRefused(std::int64_t row, const QString& statement);

    StepGuard& guard_;
    const RowCopyLabels& labels_;
    connections::Recordset& source_;
    connections::Connection& target_;
    TargetKind kind_;
    RowFitCheck* fit_;
    FrontEnd& frontEnd_;
    const QString& shownName_;
    // The share the progress shows now.
    int progressPercent_ = 0;
    bool batched_;
    std::optional<std::int64_t> rowCountBeforehand_;
    // The batch being gathered, and the one sent before it, whose LOAD DATA may be under way.
    RowBatch batch_;
    RowBatch sentBatch_;
    // Declared after the batch it sends, so that it is waited for before that batch is destroyed.
    BackgroundLoad backgroundLoad_;
    // Cleared for the rest of the table once a LOAD DATA fails outright (a server that takes
    // no LOAD DATA LOCAL): the batches then go as INSERT statements at once.
    bool loadFromMemory_;
    // Rows go to the scratch database as values rather than statement text to be parsed.
    bool insertsValues_;
    std::string tableName_;

    RowCopyOutcome outcome_;
    std::int64_t rowsSeen_ = 0;
    std::size_t rowWidth_ = 0;
    // Every move of the progress bar is shown (and lets the window act on it); between moves
    // the pacer yields often enough, before rows and fields, for the window to stay responsive.
    EventPacer pacer_;
    // The statement of the row read last: the statement in hand while that row is the current one.
    QString lastStatement_;
    // The values of the row in hand.
    std::vector<db::Value> rowValues_;
    // The row whose statement is still to be made (from its values) when a report needs it;
    // null once made, or when it was made at once.
    const std::vector<db::Value>* statementOfRow_ = nullptr;
    // The statement of the row read last, made now if it was left for later.
    const QString& rowStatement();
    // The source row in hand, counted from 1.
    std::int64_t rowInHand_ = 0;
    // The column that kept the row in hand out, when known before it was sent.
    std::optional<std::string> refusedColumn_;
    // The texts of the row read last, which its statement and its LOAD DATA line are made of.
    std::vector<RowValueText> valueTexts_;
};

const QString& RowCopier::rowStatement()
{
    if (statementOfRow_ != nullptr) {
        lastStatement_ = QString::fromStdString(RowInsertStatement(tableName_, *statementOfRow_, kind_));
        statementOfRow_ = nullptr;
    }
    return lastStatement_;
}

RowCopyOutcome RowCopier::run()
{
    outcome_.counted = guard_.step(labels_.rowCount, [&] {
        const std::int64_t told = source_.RecordCount();
        outcome_.rowCount = std::max<std::int64_t>(0, rowCountBeforehand_.value_or(told));
    });
    if (!outcome_.counted)
        return outcome_;
    if (batched_)
        beginTransaction();
    if (!outcome_.cutShort)
        copyEachRow();
    if (batched_) {
        if (!outcome_.cutShort && !outcome_.stoppedByClose)
            flushBatch();
        // The batch sent last is answered (its refused rows reported) as if sent on this
        // thread, a window closed meanwhile or not.
        settleBatchUnderWay();
        if (!outcome_.cutShort && !outcome_.stoppedByClose)
            commitTransaction();
        if (outcome_.cutShort || outcome_.stoppedByClose)
            rollBackTransaction();
        // Nothing of an undone transaction arrived.
        if (outcome_.cutShort)
            outcome_.rowsFailed = std::max(outcome_.rowCount, rowsSeen_);
    }
    outcome_.rowCount = std::max(outcome_.rowCount, rowsSeen_);
    outcome_.rowsRead = rowsSeen_;
    return outcome_;
}

RowCopier::~RowCopier()
{
    // The last row's statement stays the one in hand after the rows, as it always was; the
    // copier it would be made by is gone then.
    if (statementOfRow_ == nullptr)
        return;
    try {
        guard_.setStatement(rowStatement());
    } catch (...) {
        guard_.clearStatement();
    }
}

bool RowCopier::sourceAtEnd() const
{
    try {
        return source_.Eof();
    } catch (const std::exception&) {
        return true;
    }
}

void RowCopier::copyEachRow()
{
    std::vector<db::Value>& row = rowValues_;
    std::string statement;
    int shownProgress = -1;
    for (std::int64_t index = 0; !sourceAtEnd(); ++index) {
        guard_.step(labels_.repaint, [&] {
            pacer_.yield(progressPercent_ != shownProgress);
            shownProgress = progressPercent_;
        });
        if (frontEnd_.stopRequested()) {
            outcome_.stoppedByClose = true;
            return;
        }
        rowsSeen_ = index + 1;
        rowInHand_ = index + 1;
        refusedColumn_.reset();
        guard_.step(labels_.progress, [&] {
            const std::int64_t shownCount = std::max(outcome_.rowCount, index + 1);
            frontEnd_.showRowProgress(shownName_, index + 1, shownCount);
            progressPercent_ = rowProgressPercent(index + 1, shownCount);
        });

        bool sent = readCurrentRow(row);
        if (outcome_.cutShort)
            return;
        guard_.step(labels_.statementStart, [&] {
            valueTexts_.clear();
            statementOfRow_ = nullptr;
            statement.clear();
            rowValueTexts(row, kind_, valueTexts_);
            if (insertsValues_ && valueTexts_.size() == row.size()) {
                // The values go to the scratch database as they are: the statement is only
                // for a report, and made only for one.
                statementOfRow_ = &row;
                guard_.setStatementMaker([this] { return rowStatement(); });
                return;
            }
            statement = rowInsertStatementOfTexts(tableName_, valueTexts_, kind_);
            lastStatement_ = QString::fromStdString(statement);
            guard_.setStatement(lastStatement_);
        });
        if (sent && fit_ != nullptr) {
            if (auto misfit = fit_->misfit(row, valueTexts_, static_cast<std::size_t>(index + 1))) {
                settleRowsBefore();
                if (outcome_.cutShort)
                    return;
                guard_.report(labels_.execute, QString::fromStdString(misfit->reason));
                refusedColumn_ = misfit->column;
                sent = false;
            }
        }
        if (sent)
            sent = sendRow(statement, row);
        if (outcome_.cutShort) {
            if (!batched_)
                outcome_.rowsFailed += outcome_.rowCount - index;
            return;
        }
        if (!sent) {
            ++outcome_.rowsFailed;
            tellRefused(index + 1, rowStatement());
        }
        try {
            source_.MoveNext();
        } catch (...) {
            // A source that cannot reach its next row cannot reach any row after it.
            outcome_.rowsFailed += std::max<std::int64_t>(0, outcome_.rowCount - index - 1);
            const bool userCanPutRight = isExpectedFailure(std::current_exception());
            cutShort(FailureReach::Table,
                     userCanPutRight ? descriptionOfCurrentException().toStdString()
                                     : "The source table could not be read past row " + std::to_string(index + 1)
                                           + ": " + descriptionOfCurrentException().toStdString(),
                     labels_.moveNext);
            outcome_.cutShort->userCanPutRight = userCanPutRight;
            return;
        }
    }
}

bool RowCopier::readCurrentRow(std::vector<db::Value>& row)
{
    int fieldCount = 0;
    guard_.step(labels_.fieldLoop, [&] { fieldCount = source_.FieldCount(); });
    row.assign(static_cast<std::size_t>(fieldCount), db::Null{});
    rowWidth_ = row.size();
    bool complete = true;
    for (int index = 0; index < fieldCount; ++index) {
        guard_.step(labels_.fieldRepaint, [&] { pacer_.yield(); });
        std::exception_ptr failure;
        try {
            row[static_cast<std::size_t>(index)] = source_.Fields(index).Value();
        } catch (...) {
            failure = std::current_exception();
        }
        if (!failure)
            continue;
        settleRowsBefore();
        if (outcome_.cutShort)
            return false;
        guard_.step(labels_.valueText, [&] { std::rethrow_exception(failure); });
        try {
            refusedColumn_ = source_.Fields(index).Name();
        } catch (const std::exception&) {
            refusedColumn_.reset(); // a field without a name: the report names no column
        }
        complete = false;
    }
    return complete;
}

bool RowCopier::sendRow(const std::string& statement, const std::vector<db::Value>& row)
{
    if (!batched_) {
        const bool sent = guard_.step(labels_.execute, [&] { executeRow(rowInHand_, statement, &row); });
        killPoint("row statement executed");
        if (sent && !outcome_.cutShort)
            countZeroDates(zeroDateColumns(row));
        return sent;
    }
    if (!batch_.statements.fits(statement))
        flushBatch();
    if (outcome_.cutShort)
        return false;
    batch_.statements.add(statement, zeroDateColumns(row));
    batch_.rows.push_back(rowInHand_);
    if (loadFromMemory_ && valueTexts_.size() == row.size())
        batch_.load.add(valueTexts_);
    else if (loadFromMemory_)
        batch_.load.add(row);
    return true;
}

std::vector<db::Value> RowCopier::valuesAsInserted(const std::vector<db::Value>& row)
{
    std::vector<db::Value> values;
    values.reserve(row.size());
    for (std::size_t index = 0; index < row.size(); ++index) {
        RowValueText& text = valueTexts_[index];
        switch (text.kind) {
        case RowValueText::Kind::Null:
            values.emplace_back(db::Null{});
            break;
        case RowValueText::Kind::Bytes:
            values.emplace_back(std::get<db::Bytes>(row[index]));
            break;
        case RowValueText::Kind::Text:
            // The statement is built already; the text is not needed again.
            values.emplace_back(std::move(text.text));
            break;
        }
    }
    return values;
}

void RowCopier::executeRow(std::int64_t tableRow, const std::string& statement, const std::vector<db::Value>* row)
{
    try {
        if (row != nullptr && insertsValues_ && valueTexts_.size() == row->size())
            target_.InsertRow(tableName_, valuesAsInserted(*row));
        else
            target_.Execute(statement);
    } catch (const db::DatabaseError& failure) {
        // A failure that every later row would meet as well is kept rather than thrown, so
        // that the table gets one report instead of one per row.
        FailureReach reach = failureReach(kind_, failure.number());
        if (batched_ && endsTransaction(failure.number()))
            reach = atLeastTable(reach);
        if (reach == FailureReach::Row)
            rethrowRefusalAtTableRow(failure, tableRow);
        cutShort(reach, failure.what(), labels_.execute, &failure);
    }
}

void RowCopier::flushBatch()
{
    // The batch before comes first: its reports come before any of this batch's, and the
    // connection carries one statement at a time.
    settleBatchUnderWay();
    if (outcome_.cutShort || batch_.statements.empty()) {
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

void RowCopier::settleBatchUnderWay()
{
    if (!backgroundLoad_.underWay())
        return;
    const BackgroundLoad::Answer answer = backgroundLoad_.wait();
    // Rows cut short already are undone with the whole transaction: nothing to settle.
    if (!outcome_.cutShort) {
        if (answer.savepointRefusal) {
            // Nothing was loaded; the batch's first undo meets the failure again and ends the rows.
            sendBatchRowByRow(sentBatch_);
            if (!outcome_.cutShort)
                guard_.setStatement(lastStatement_);
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

void RowCopier::insertBatch(RowBatch& batch, bool savepointSet)
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
        if (!outcome_.cutShort)
            guard_.setStatement(lastStatement_);
    }
    killPoint("row batch sent");
}

void RowCopier::countBatchZeroDates(const RowBatch& batch)
{
    for (std::size_t index = 0; index < batch.statements.size(); ++index)
        countZeroDates(batch.statements.zeroDateColumns(index));
}

bool RowCopier::undoBatch(const RowBatch& batch)
{
    try {
        target_.Execute(kBackToBatchSavepoint);
        return true;
    } catch (const db::DatabaseError& failure) {
        // The first row's own statement meets a failure that reaches beyond its row just as
        // the batch did, and is the one the table's report then names.
        guard_.setStatement(QString::fromStdString(batch.statements.rowStatement(0)));
        cutShort(atLeastTable(failureReach(kind_, failure.number())),
                 "The rows sent for this table so far were lost, because the server ended their transaction: "
                     + failure.description(),
                 labels_.execute, &failure);
        return false;
    }
}

void RowCopier::sendBatchRowByRow(RowBatch& batch)
{
    if (!undoBatch(batch))
        return;
    for (std::size_t index = 0; index < batch.statements.size(); ++index) {
        const std::string statement = batch.statements.rowStatement(index);
        guard_.setStatement(QString::fromStdString(statement));
        const std::int64_t tableRow = index < batch.rows.size() ? batch.rows[index] : 0;
        const bool sent = guard_.step(labels_.execute, [&] { executeRow(tableRow, statement); });
        if (outcome_.cutShort)
            return;
        if (sent) {
            countZeroDates(batch.statements.zeroDateColumns(index));
        } else {
            ++outcome_.rowsFailed;
            tellRefused(tableRow, QString::fromStdString(statement));
        }
    }
}

void RowCopier::settleRowsBefore()
{
    if (!batched_)
        return;
    flushBatch();
    settleBatchUnderWay();
}

void RowCopier::beginTransaction()
{
    try {
        target_.Execute("START TRANSACTION");
    } catch (const db::DatabaseError& failure) {
        cutShort(atLeastTable(failureReach(kind_, failure.number())), failure.description(),
                 labels_.execute, &failure);
    }
}

void RowCopier::commitTransaction()
{
    try {
        target_.Execute("COMMIT");
    } catch (const db::DatabaseError& failure) {
        cutShort(atLeastTable(failureReach(kind_, failure.number())),
                 "The rows of the table could not be committed: " + failure.description(), labels_.execute, &failure);
        return;
    }
    killPoint("rows committed");
}

void RowCopier::rollBackTransaction()
{
    // Whatever the transaction still holds is undone; when the server is gone it has undone
    // it already, and the caller drops the table in any case.
    try {
        target_.Execute("ROLLBACK");
    } catch (const db::DatabaseError&) {
    }
}

void RowCopier::cutShort(FailureReach reach, const std::string& description, int label,
                         const std::exception* failure)
{
    if (!outcome_.cutShort)
        outcome_.cutShort = RowsCutShort{reach, description, label, failure != nullptr && isExpectedProblem(*failure)};
}

void RowCopier::countZeroDates(const std::vector<std::size_t>& columns)
{
    if (columns.empty())
        return;
    auto& counts = outcome_.zeroDatesBlanked;
    if (counts.size() < rowWidth_)
        counts.resize(rowWidth_, 0);
    for (const std::size_t column : columns) {
        if (column >= counts.size())
            counts.resize(column + 1, 0);
        ++counts[column];
    }
}

void RowCopier::tellRefused(std::int64_t row, const QString& statement)
{
    RefusedRow refused;
    refused.table = shownName_;
    refused.row = row;
    refused.reason = guard_.lastFailure();
    refused.statement = statement;
    std::optional<std::string> column = std::exchange(refusedColumn_, std::nullopt);
    if (!column)
        column = columnNamedInRefusal(refused.reason.toStdString());
    if (column)
        refused.column = QString::fromStdString(*column);
    frontEnd_.rowRefused(refused);
}

} // namespace

RowCopyOutcome copyRows(StepGuard& guard, const RowCopyLabels& labels, connections::Recordset& source,
                        connections::Connection& target, const std::string& tableName,
                        TargetKind kind, RowFitCheck* fit, FrontEnd& frontEnd,
                        const QString& shownName, const RowCopyOptions& options)
{
    return RowCopier(guard, labels, source, target, tableName, kind, fit, frontEnd, shownName, options).run();
}

} // namespace quintabel
