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
#include "transfer/mysql_batch_sender.h"
#include "transfer/refused_column.h"
#include "transfer/table_keys.h"
#include "transfer/row_fit_check.h"
#include "transfer/row_insert_statement.h"

#include <QString>

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

namespace quintabel {

namespace {

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

class RowCopier final : private MySqlBatchSender::RowLoop {
public:
    RowCopier(StepGuard& guard, const RowCopyLabels& labels, connections::Recordset& source,
              connections::Connection& target, const std::string& tableName, TargetKind kind,
              RowFitCheck* fit, FrontEnd& frontEnd, const QString& shownName, const RowCopyOptions& options)
        : guard_(guard), labels_(labels), source_(source), target_(target), kind_(kind), fit_(fit),
          frontEnd_(frontEnd), shownName_(shownName), rowCountBeforehand_(options.rowCountBeforehand),
          insertsValues_(options.sending != RowSending::Batched && kind == TargetKind::Paradox
                         && target.TakesRowValues()),
          keyRefusalsEndTheTable_(options.keyRefusalsEndTheTable), tableName_(tableName)
    {
        if (options.sending == RowSending::Batched)
            batchSender_.emplace(guard, labels.execute, target, tableName, options.batchBytes,
                                 options.loadFromMemory && kind == TargetKind::MySQL, keyRefusalsEndTheTable_,
                                 static_cast<MySqlBatchSender::RowLoop&>(*this));
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
    // Runs the statement of the row in hand on its own; a target that takes row values (the
    // scratch database) is given the row's values instead, as the statement would have given
    // them. A refusal names the row by its place in the table.
    void executeRow(const std::string& statement, const std::vector<db::Value>& row);
    // The row's values as its statement's literals carry them: NULL, text or bytes.
    std::vector<db::Value> valuesAsInserted(const std::vector<db::Value>& row);
    bool batched() const { return batchSender_.has_value(); }
    // A report is about to be shown: the rows before its row are settled first, so that the
    // reports come in the order of the rows, as when every row is sent alone.
    void settleRowsBefore();
    // `failure` is a DatabaseError that ended the rows, or null: its mark says whether the
    // user can put it right (a server out of reach, a full disk), not the program.
    void cutShort(FailureReach reach, const std::string& description, int label,
                  const std::exception* failure) override;
    bool rowsCutShort() const override { return outcome_.cutShort.has_value(); }
    void rowArrived(const std::vector<std::size_t>& columns) override;
    // Counts the row that did not arrive, and tells the front end of it, with the failure just
    // reported and the column it names: the one the fit check or the unreadable value named,
    // else the one the server's refusal names.
    void rowRefused(std::int64_t row, const QString& statement) override;
    const QString& statementOfRowReadLast() override { return lastStatement_; }

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
    std::optional<std::int64_t> rowCountBeforehand_;
    // Rows go to the scratch database as values rather than statement text to be parsed.
    bool insertsValues_;
    bool keyRefusalsEndTheTable_;
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
    // Only when the rows go in batches; declared last, so that a batch still under way is
    // waited for before anything of the copier goes.
    std::optional<MySqlBatchSender> batchSender_;
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
    if (batched())
        batchSender_->begin();
    if (!outcome_.cutShort)
        copyEachRow();
    if (batched()) {
        batchSender_->finish(outcome_.stoppedByClose);
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
            if (!batched())
                outcome_.rowsFailed += outcome_.rowCount - index;
            return;
        }
        if (!sent)
            rowRefused(index + 1, rowStatement());
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
                     labels_.moveNext, nullptr);
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
    if (batched())
        return batchSender_->add(rowInHand_, statement, zeroDateColumns(row), row, valueTexts_);
    const bool sent = guard_.step(labels_.execute, [&] { executeRow(statement, row); });
    killPoint("row statement executed");
    if (sent && !outcome_.cutShort)
        rowArrived(zeroDateColumns(row));
    return sent;
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

void RowCopier::executeRow(const std::string& statement, const std::vector<db::Value>& row)
{
    try {
        if (insertsValues_ && valueTexts_.size() == row.size())
            target_.InsertRow(tableName_, valuesAsInserted(row));
        else
            target_.Execute(statement);
    } catch (const db::DatabaseError& failure) {
        // A failure that every later row would meet as well is kept rather than thrown, so
        // that the table gets one report instead of one per row.
        const FailureReach reach = keyRefusalsEndTheTable_ && refusedForAKey(failure.number())
            ? FailureReach::Table
            : failureReach(kind_, failure.number());
        if (reach == FailureReach::Row)
            rethrowRefusalAtTableRow(failure, rowInHand_);
        cutShort(reach, failure.what(), labels_.execute, &failure);
    }
}

void RowCopier::settleRowsBefore()
{
    if (batched())
        batchSender_->settleRowsBefore();
}

void RowCopier::cutShort(FailureReach reach, const std::string& description, int label,
                         const std::exception* failure)
{
    if (!outcome_.cutShort) {
        const auto* databaseFailure = dynamic_cast<const db::DatabaseError*>(failure);
        outcome_.cutShort = RowsCutShort{reach, description, label, failure != nullptr && isExpectedProblem(*failure),
                                         databaseFailure != nullptr ? databaseFailure->number() : 0};
    }
}

void RowCopier::rowArrived(const std::vector<std::size_t>& columns)
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

void RowCopier::rowRefused(std::int64_t row, const QString& statement)
{
    ++outcome_.rowsFailed;
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
