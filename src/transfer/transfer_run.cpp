#include "transfer/transfer_run.h"

#include "base/message_boxes.h"
#include "base/step_guard.h"
#include "maintenance/paradox_recovery_notice.h"
#include "transfer/sql_names.h"
#include "transfer/table_events.h"
#include "transfer/transfer_connections.h"
#include "transfer/transfer_messages.h"

namespace quintabel {

TransferRun::TransferRun(StepGuard& guard, FrontEnd& frontEnd, const TransferEnvironment& environment,
                         const TransferLabels& labels, TargetKind target)
    : guard_(guard), frontEnd_(frontEnd), environment_(environment), labels_(labels), target_(target)
{
}

void TransferRun::run()
{
    guard_.setStatement(QString());
    if (guard_.test(labels_.nothingSelected, [&] { return frontEnd_.sourceList().currentIndex() == -1; })) {
        guard_.step(labels_.selectTableMessage, [] { showMessage(QString::fromLatin1(kSelectTableToSend)); });
        return;
    }
    guard_.step(labels_.showBusy, [&] { frontEnd_.showBusy(true); });
    openConnections();

    // From the bottom of the list to the top. The list may shrink meanwhile (the overwrite
    // removes names from the other list only, but the bound is checked each time anyway).
    for (int index = frontEnd_.sourceList().count() - 1; index >= 0; --index) {
        if (index >= frontEnd_.sourceList().count())
            continue;
        if (guard_.test(labels_.itemSelected, [&] { return !frontEnd_.sourceList().isSelected(index); }))
            continue;
        if (endRequested() || sendItem(index) == AfterTable::EndRun)
            return;
    }
    finishRun();
}

AfterTable TransferRun::sendItem(int itemIndex)
{
    TableEvents events(frontEnd_);
    events_ = &events;
    QString sourceName;
    guard_.step(labels_.itemName, [&] { sourceName = frontEnd_.sourceList().nameAt(itemIndex); });
    const AfterTable after = sendTable(sourceName);
    events.finish();
    events_ = nullptr;
    return after;
}

void TransferRun::readFieldsAndRecoverFolder()
{
    if (environment_.connectionFields)
        fields_ = environment_.connectionFields();
    recoverParadoxFolderAndTell(fields_.paradoxFolder, waitForParadoxFolder(frontEnd_, fields_.paradoxFolder));
}

bool TransferRun::openSource(const std::string& table)
{
    guard_.step(labels_.sourceCursor, [&] { source_.setCursorLocation(connections::adUseServer); });
    const bool opened = guard_.step(labels_.sourceOpen, [&] {
        source_.Open("SELECT * FROM " + backtickQuoted(table), sourceConnection());
    });
    if (opened)
        return true;
    tableNotWritten();
    return false;
}

ChosenCreateStatement TransferRun::createStatementFor(const std::string& table, const std::string& createdTableName,
                                                     const TableKeys* keys)
{
    return chooseCreateStatement(guard_, labels_.create, table, source_, target_, frontEnd_.customiseTypes(),
                                 environment_.customisationWindow, createdTableName, keys);
}

AfterTable TransferRun::endRunOnCancel()
{
    guard_.step(labels_.cancelledCloseTarget, [&] { closeIfOpen(targetConnection()); });
    guard_.step(labels_.cancelledCloseSource, [&] { closeIfOpen(sourceConnection()); });
    guard_.step(labels_.cancelledPointer, [&] { frontEnd_.showBusy(false); });
    events().ended(TableEnd::Cancelled);
    return AfterTable::EndRun;
}

RowCopyOutcome TransferRun::copyRowsInto(connections::Connection& target, const std::string& tableName,
                                         RowFitCheck* fit, const QString& shownName, const RowCopyOptions& options)
{
    const RowCopyOutcome rows =
        copyRows(guard_, labels_.rows, source_, target, tableName, target_, fit, frontEnd_, shownName, options);
    events().rows(rows);
    return rows;
}

void TransferRun::finishRows(SourceEnd end)
{
    guard_.step(labels_.rowsPointer, [&] { frontEnd_.showBusy(false); });
    guard_.step(labels_.rowsProgressReset, [&] { frontEnd_.showIdle(); });
    guard_.step(labels_.rowsSourceEnd, [&] {
        if (end == SourceEnd::Cancel)
            source_.Cancel();
        else
            source_.Close();
    });
}

AfterTable TransferRun::tellCutShort(const RowsCutShort& cut, const QString& message)
{
    events().ended(TableEnd::CutShort, message);
    reportCutShort(guard_, cut, message);
    return cut.reach == FailureReach::Run ? AfterTable::EndRun : AfterTable::NextTable;
}

void TransferRun::tableNotWritten()
{
    events().ended(TableEnd::NotWritten, guard_.lastFailure());
}

void TransferRun::tellKeysNotKept(const QString& table, const QString& problem)
{
    TableNotice notice;
    notice.kind = TableNotice::Kind::KeyNotKept;
    notice.table = table;
    notice.message = keysNotKeptMessage(table, problem);
    showMessage(notice.message);
    events().notice(notice);
}

} // namespace quintabel
