#include "transfer/paradox_to_mysql.h"

#include "base/message_boxes.h"
#include "base/path_helpers.h"
#include "base/step_guard.h"
#include "catalogue/exist_table.h"
#include "connections/ado_constants.h"
#include "connections/connection.h"
#include "drivers/database_error.h"
#include "paradoxfile/table_search.h"
#include "transfer/create_statement_choice.h"
#include "transfer/mysql_row_fit.h"
#include "transfer/mysql_row_sending.h"
#include "transfer/mysql_run_lock.h"
#include "transfer/mysql_swap.h"
#include "transfer/mysql_swap_marker.h"
#include "transfer/mysql_swap_recovery.h"
#include "transfer/mysql_swap_statements.h"
#include "transfer/mysql_table_comment.h"
#include "transfer/mysql_work_names.h"
#include "transfer/row_copy.h"
#include "transfer/sql_names.h"
#include "transfer/table_keys.h"
#include "transfer/table_events.h"
#include "transfer/transfer_connections.h"
#include "transfer/transfer_messages.h"
#include "transfer/transfer_questions.h"
#include "transfer/transfer_run.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace quintabel {

namespace {

// MariaDB's answer to a DROP TABLE of a table that is not there (ER_BAD_TABLE_ERROR).
constexpr int kUnknownTable = 1051;

// A table's new copy: the temporary name it is built under and the mark it carries there.
struct NewCopy {
    std::string name;
    SwapMarker marker; // an old table to set aside in the swap only when replacing one
};

class ParadoxToMySqlRun final : public TransferRun {
public:
    using TransferRun::TransferRun;

private:
    void openConnections() override;
    AfterTable sendTable(const QString& tableName) override;
    void finishRun() override;
    // The first free `quintabel-new-` name; unasked (the server unreachable), the first one,
    // whose CREATE then fails and is reported.
    std::string newCopyName(const std::string& table);
    // Whether the server holds `table` to be replaced; if so, where it goes in the swap.
    std::optional<std::string> oldTableName(const std::string& table);
    // Creates the copy with its mark, by the chosen statement; true when created. A failure
    // that no later table could get past either (the connection lost) sets `runEnds`.
    bool createMarkedCopy(const std::string& createStatement, const NewCopy& copy, bool& runEnds);
    // The keys of the Paradox table `table` (table_keys.h); nothing when it has none, or when
    // they cannot be read (the table's own reading then says why).
    std::optional<TableKeys> keysOf(const std::string& table);
    // The statement that creates the copy with `keys` (none: without keys): the chosen one with
    // the keys' clauses, its default columns shaped for those keys.
    std::string statementWithKeys(const ChosenCreateStatement& create, const std::string& copyName,
                                  const std::optional<TableKeys>& keys) const;
    // Creates the copy with as many of `keys` as the server takes: a CREATE refused because of
    // a key is sent again without the keys that refuse (`keys` then says which are left, and
    // `keyProblem` why). The last attempt, and any failure for another reason, goes as
    // createMarkedCopy's, with its report.
    bool createCopyKeepingKeys(const ChosenCreateStatement& create, const NewCopy& copy,
                               std::optional<TableKeys>& keys, QString& keyProblem, bool& runEnds);
    // When the rows were read to their end from a source whose header promised another number
    // of them (a damaged file), the word on it; asked while the source is open.
    std::optional<TableNotice> rowCountNotice(const QString& tableName, const RowCopyOutcome& rows) const;
    // After the rows: swaps the new copy in when it may take the name, else drops it. True
    // when a table stands under the name afterwards (the new one, or the old one kept).
    bool settleNewCopy(const std::string& table, const NewCopy& copy, const std::optional<QString>& shortfall,
                       bool sourceRead);
    // After rows that a failure cut short: the copy goes if the server still takes a
    // statement, and the table gets its one report.
    AfterTable settleCutShort(const QString& tableName, const NewCopy& copy, const RowsCutShort& cut);
    void replaceTable(const std::string& table, const NewCopy& copy);
    bool dropNewCopy(const NewCopy& copy);

    std::optional<std::uint64_t> runConnection_;
    std::optional<std::string> keyCollation_; // asked of the server once per run
};

// Whether `keys` hold any that can refuse a row: a primary key, a unique index, AUTO_INCREMENT.
bool refusesRows(const std::optional<TableKeys>& keys)
{
    return keys
        && (!keys->primaryKey.empty() || keys->autoIncrement
            || std::any_of(keys->indexes.begin(), keys->indexes.end(), [](const TableIndex& index) { return index.unique; }));
}

// The keys to try after `keys`: without those that refuse rows while there are any, then none.
std::optional<TableKeys> fewerKeys(const std::optional<TableKeys>& keys)
{
    if (!refusesRows(keys))
        return std::nullopt;
    TableKeys plain = keys->withoutUniqueKeys();
    return plain.empty() ? std::nullopt : std::optional<TableKeys>(std::move(plain));
}

void ParadoxToMySqlRun::openConnections()
{
    readFieldsAndRecoverFolder();
    openParadoxConnection(guard_, 112, paradox_, fields_);
    openMySqlConnection(guard_, 116, mysql_, fields_);
    // What an interrupted run left is settled before any table of this run is begun; this
    // run's lock first tells the recovery of another Quintabel that its copies are in hand.
    if (mysql_.State() != connections::adStateClosed) {
        guard_.step(122, [&] { runConnection_ = holdRunLock(mysql_); });
        recoverInterruptedSwaps(guard_, 122, mysql_);
    }
}

void ParadoxToMySqlRun::finishRun()
{
    guard_.step(358, [&] { frontEnd_.showBusy(false); });
    guard_.step(360, [&] { closeIfOpen(mysql_); });
    guard_.step(362, [&] { closeIfOpen(paradox_); });
}

AfterTable ParadoxToMySqlRun::sendTable(const QString& tableName)
{
    // A table the MySQL list holds in another letter case is the one replaced, under its own
    // name: the question names it, and the new table takes that name.
    std::optional<QString> listed;
    const bool listedAlready = guard_.test(130, [&] {
        listed = listedSpelling(frontEnd_.targetList(), tableName);
        return listed.has_value();
    });
    const QString targetName = listed.value_or(tableName);
    events().started(tableName, targetName);
    bool overwrite = false;
    if (listedAlready) {
        guard_.step(132, [&] { overwrite = askToOverwrite(targetName); });
        if (!overwrite) {
            events().ended(TableEnd::Skipped);
            return AfterTable::NextTable; // [136]
        }
    }
    if (endRequested()) {
        events().ended(TableEnd::Cancelled);
        return AfterTable::EndRun;
    }

    const std::string table = tableName.toStdString();
    const std::string target = targetName.toStdString();
    // A table that cannot be read (protected, damaged, text not of its code page) ends at the
    // open. The table's blocks tell its record count up front.
    if (!openSource(table))
        return AfterTable::NextTable;
    // The table is built under a temporary name and takes its own only when complete, so a
    // kill never leaves a half table under the name; the CREATE TABLE statement (the
    // customisation window's too) creates the temporary name.
    NewCopy copy{newCopyName(target), {target, std::nullopt, runConnection_}};
    std::optional<TableKeys> keys = keysOf(table);
    // An index file that could not be read was left out: said with the table's end.
    QString keyProblem;
    if (keys && !keys->notes.empty())
        keyProblem = QString::fromStdString(keys->notes.front());
    const ChosenCreateStatement create = createStatementFor(table, copy.name, keys ? &*keys : nullptr);
    if (create.cancelled)
        return endRunOnCancel();

    // A comment the chosen statement sets itself gives way to the mark, and comes back with
    // the table once it is settled.
    copy.marker.ownComment = tableCommentOf(create.statement);
    if (guard_.test(278, [&] { return overwrite; })) {
        // The existing table is not touched until the swap: it stays whole under its name.
        copy.marker.oldTable = oldTableName(target);
        guard_.step(282, [&] { frontEnd_.targetList().removeName(targetName); });
    }
    bool runEnds = false;
    if (!createCopyKeepingKeys(create, copy, keys, keyProblem, runEnds)) {
        // The CREATE's own report is the table's one: rows for a table that is not there
        // would each fail alike. An old table to be overwritten stands as it was.
        tableNotWritten();
        finishRows();
        if (copy.marker.oldTable)
            guard_.step(348, [&] { frontEnd_.targetList().addName(targetName); });
        return runEnds ? AfterTable::EndRun : AfterTable::NextTable;
    }

    // Rows are checked against the columns as made: the default types are known here; a
    // customised statement's columns are read back from the server.
    std::optional<MySqlColumnsFit> fit;
    if (create.isDefault)
        fit = MySqlColumnsFit::forDefaultTypes(create.fields);
    else
        guard_.step(286, [&] { fit = MySqlColumnsFit::forCreatedTable(mysql_, copy.name); });
    RowCopyOptions sending = mySqlRowSending(mysql_, copy.name);
    sending.keyRefusalsEndTheTable = refusesRows(keys);
    RowCopyOutcome rows = copyRowsInto(mysql_, copy.name, fit ? &*fit : nullptr, tableName, sending);
    // A row refused because of a key (two rows with one key in a damaged table, a blank key
    // field): the copy is built again without the keys that refuse rows, and every row sent again.
    if (rows.cutShort && sending.keyRefusalsEndTheTable && refusedForAKey(rows.cutShort->errorNumber)) {
        finishRows();
        keyProblem = QString::fromStdString(rows.cutShort->description);
        keys = fewerKeys(keys);
        if (!dropNewCopy(copy) || !createCopyKeepingKeys(create, copy, keys, keyProblem, runEnds)
            || !openSource(table)) {
            if (copy.marker.oldTable)
                guard_.step(348, [&] { frontEnd_.targetList().addName(targetName); });
            return runEnds ? AfterTable::EndRun : AfterTable::NextTable;
        }
        sending.keyRefusalsEndTheTable = false;
        rows = copyRowsInto(mysql_, copy.name, fit ? &*fit : nullptr, tableName, sending);
    }
    const std::optional<TableNotice> countNotice = rowCountNotice(tableName, rows);
    finishRows();

    if (rows.stoppedByClose) {
        // The program is ending: the copy cut short goes, and the table it was for stays as it was.
        events().ended(TableEnd::Cancelled);
        dropNewCopy(copy);
        return AfterTable::EndRun;
    }
    if (rows.cutShort)
        return settleCutShort(targetName, copy, *rows.cutShort);
    // The list names only tables the server holds.
    if (settleNewCopy(target, copy, incompleteTableReason(rows), rows.counted)) {
        guard_.step(348, [&] { frontEnd_.targetList().addName(targetName); });
        if (!keyProblem.isEmpty())
            tellKeysNotKept(targetName, keyProblem);
    }
    // Once for the table, after what became of it: the rows sent may not be all there were.
    if (countNotice) {
        showMessage(countNotice->message);
        events().notice(*countNotice);
    }
    return AfterTable::NextTable;
}

std::optional<TableKeys> ParadoxToMySqlRun::keysOf(const std::string& table)
{
    try {
        if (!keyCollation_)
            keyCollation_ = keyTextCollation(mysql_);
        const std::filesystem::path dbFile = paradox::locateTable(toFileSystemPath(fields_.paradoxFolder), table);
        TableKeys keys = readParadoxTableKeys(dbFile, *keyCollation_);
        return keys.empty() ? std::nullopt : std::optional<TableKeys>(std::move(keys));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string ParadoxToMySqlRun::statementWithKeys(const ChosenCreateStatement& create, const std::string& copyName,
                                                 const std::optional<TableKeys>& keys) const
{
    if (!create.isDefault)
        return keys ? withKeyClauses(create.statement, *keys) : create.statement;
    // The default columns as these keys shape them (a key's text column as VARCHAR, the
    // counter as AUTO_INCREMENT), and no other way.
    std::vector<SourceField> fields = create.fields;
    for (SourceField& field : fields) {
        field.keyTextLength = 0;
        field.autoIncrement = false;
    }
    if (keys)
        shapeKeyColumns(fields, *keys);
    const std::string statement = DefaultCreateStatement(copyName, fields, TargetKind::MySQL);
    return keys ? withKeyClauses(statement, *keys) : statement;
}

bool ParadoxToMySqlRun::createCopyKeepingKeys(const ChosenCreateStatement& create, const NewCopy& copy,
                                              std::optional<TableKeys>& keys, QString& keyProblem, bool& runEnds)
{
    for (; keys; keys = fewerKeys(keys)) {
        const std::string statement = statementWithKeys(create, copy.name, keys);
        const std::string marked = withTableComment(statement, swapMarkerComment(copy.marker));
        guard_.setStatement(QString::fromStdString(marked));
        try {
            createNewCopy(mysql_, marked, copy.name);
            return true;
        } catch (const db::DatabaseError& failure) {
            if (!refusedForAKey(failure.number()))
                return createMarkedCopy(statement, copy, runEnds);
            keyProblem = QString::fromStdString(failure.description());
        }
    }
    return createMarkedCopy(statementWithKeys(create, copy.name, std::nullopt), copy, runEnds);
}

std::optional<TableNotice> ParadoxToMySqlRun::rowCountNotice(const QString& tableName,
                                                             const RowCopyOutcome& rows) const
{
    if (!rows.counted || rows.cutShort || rows.stoppedByClose)
        return std::nullopt;
    std::optional<std::int64_t> promised;
    try {
        promised = source_.statedRecordCount();
    } catch (const std::exception&) {
        return std::nullopt; // a source that did not open has said so already
    }
    if (!promised || *promised == rows.rowsRead)
        return std::nullopt;
    TableNotice notice;
    notice.kind = TableNotice::Kind::RowCountDiffers;
    notice.table = tableName;
    notice.rows = rows.rowsRead;
    notice.rowsPromised = *promised;
    notice.message = rowCountDiffersMessage(tableName, *promised, rows.rowsRead);
    return notice;
}

AfterTable ParadoxToMySqlRun::settleCutShort(const QString& tableName, const NewCopy& copy, const RowsCutShort& cut)
{
    // Tried without a report of its own: when the server is gone this fails as well, and the
    // marked copy waits for the next run's recovery, which the one report names.
    bool dropped = false;
    try {
        dropMySqlTable(mysql_, copy.name);
        dropped = true;
    } catch (const db::DatabaseError& failure) {
        dropped = failure.number() == kUnknownTable; // gone already: nothing is left over
    }
    const bool overwrite = copy.marker.oldTable.has_value();
    const QString message = cutShortMessage(
        tableName, cut, overwrite, dropped ? std::nullopt : std::optional<QString>(QString::fromStdString(copy.name)));
    const AfterTable after = tellCutShort(cut, message);
    if (overwrite)
        guard_.step(348, [&] { frontEnd_.targetList().addName(tableName); });
    return after;
}

std::string ParadoxToMySqlRun::newCopyName(const std::string& table)
{
    std::string name = workTableName(kNewCopyPrefix, table, 1);
    guard_.step(140, [&] { name = freeWorkName(mysql_, kNewCopyPrefix, table); });
    return name;
}

std::optional<std::string> ParadoxToMySqlRun::oldTableName(const std::string& table)
{
    std::optional<std::string> name;
    // The server decides whether the name is taken, in its own letter case rules: a name the
    // list shows in another case, or no longer holds, has nothing to replace.
    guard_.step(280, [&] {
        if (serverHasTable(mysql_, table))
            name = freeWorkName(mysql_, kOldCopyPrefix, table);
    });
    return name;
}

bool ParadoxToMySqlRun::createMarkedCopy(const std::string& createStatement, const NewCopy& copy, bool& runEnds)
{
    // The mark goes in with the CREATE itself, so that no table of the transfer's ever stands
    // unmarked for the recovery to miss.
    const std::string marked =
        withTableComment(createStatement, swapMarkerComment(copy.marker));
    guard_.setStatement(QString::fromStdString(marked));
    return guard_.step(286, [&] {
        try {
            createNewCopy(mysql_, marked, copy.name);
        } catch (const db::DatabaseError& failure) {
            runEnds = failureReach(TargetKind::MySQL, failure.number())
                == FailureReach::Run;
            throw;
        }
    });
}

bool ParadoxToMySqlRun::settleNewCopy(const std::string& table, const NewCopy& copy,
                                      const std::optional<QString>& shortfall, bool sourceRead)
{
    if (copy.marker.oldTable) {
        if (!shortfall) {
            replaceTable(table, copy);
            return true;
        }
        dropNewCopy(copy);
        const QString message = notOverwrittenMessage(QString::fromStdString(table), *shortfall);
        events().ended(TableEnd::NotWritten, message);
        guard_.report(280, message);
        return true;
    }
    // A table of a new name keeps the rows that arrived, each missing one reported; a copy of
    // a source that could not be read is no copy of it.
    if (!sourceRead) {
        tableNotWritten();
        dropNewCopy(copy);
        return false;
    }
    if (guard_.step(286, [&] { swapInNewCopy(mysql_, table, copy.name, std::nullopt); })) {
        guard_.step(286, [&] { clearSwapMarker(mysql_, table, copy.marker); });
        return true;
    }
    tableNotWritten();
    dropNewCopy(copy);
    return false;
}

void ParadoxToMySqlRun::replaceTable(const std::string& table, const NewCopy& copy)
{
    const std::string& oldTable = *copy.marker.oldTable;
    if (!guard_.step(280, [&] { swapInNewCopy(mysql_, table, copy.name, oldTable); })) {
        tableNotWritten();
        // Only a copy still there to drop proves that the swap did not happen.
        if (dropNewCopy(copy))
            guard_.report(280, notOverwrittenMessage(QString::fromStdString(table),
                                                     QStringLiteral("its new copy could not take its name")));
        return;
    }
    // The mark comes off only after the old table has gone: while it stands, the mark is what
    // tells the recovery that the old table is the transfer's to drop.
    if (guard_.step(280, [&] { dropMySqlTable(mysql_, oldTable); }))
        guard_.step(280, [&] { clearSwapMarker(mysql_, table, copy.marker); });
}

bool ParadoxToMySqlRun::dropNewCopy(const NewCopy& copy)
{
    return guard_.step(286, [&] { dropMySqlTable(mysql_, copy.name); });
}

} // namespace

void sendTablesToMySql(StepGuard& guard, FrontEnd& frontEnd, const TransferEnvironment& environment)
{
    ParadoxToMySqlRun(guard, frontEnd, environment, kToMySqlLabels, TargetKind::MySQL).run();
}

} // namespace quintabel
