#include "transfer/mysql_to_paradox.h"

#include "base/expected_problem.h"
#include "base/message_boxes.h"
#include "base/path_helpers.h"
#include "base/step_guard.h"
#include "catalogue/exist_table.h"
#include "catalogue/paradox_table_names.h"
#include "connections/connection.h"
#include "drivers/database_error.h"
#include "drivers/scratch/paradox_write_out.h"
#include "maintenance/family_swap.h"
#include "maintenance/paradox_replacement.h"
#include "transfer/bracket_statements.h"
#include "transfer/create_statement_choice.h"
#include "transfer/mysql_primary_key.h"
#include "transfer/paradox_row_fit.h"
#include "transfer/row_copy.h"
#include "transfer/sql_names.h"
#include "transfer/table_events.h"
#include "transfer/transfer_connections.h"
#include "transfer/transfer_messages.h"
#include "transfer/transfer_questions.h"
#include "transfer/transfer_run.h"

#include <QCoreApplication>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quintabel {

namespace {

class MySqlToParadoxRun final : public TransferRun {
public:
    using TransferRun::TransferRun;

private:
    void openConnections() override;
    AfterTable sendTable(const QString& sourceName) override;
    void finishRun() override;
    // The write-out of a table into the Paradox folder: written whole in a staging folder, then
    // moved in by the journalled replacement (docs/crash-safety.md). With Existing::Refuse an
    // existing table of the name makes it fail; with Replace the old table goes only once the
    // new one is in its place.
    // True when the new table stands in the folder.
    bool writeOut(ParadoxReplacement& replacement, const std::string& sourceName, const QString& targetName,
                  ParadoxReplacement::Existing existing);
    // The scratch table's write-out into the staging folder, keyed on `key`'s fields when it can
    // be; a key the write-out cannot keep makes it write the table unkeyed, and sets `keyProblem`.
    void writeOutKeepingKey(const std::string& staging, const std::string& sourceName, const QString& targetName,
                            ParadoxKeyChoice& key, QString& keyProblem);
    // Whether the source's primary key can be the Paradox table's (asked before the source is
    // opened: a streaming result holds the connection); why not, when it cannot.
    ParadoxKeyChoice sourceKey(const std::string& source);
    // Before a table's rows are read: files left over from a table of the target name (a memo
    // or an index without its .DB) are replaced only when the user says so. False to skip the
    // table; `overwrite` is then set when they are to be replaced.
    bool mayReplaceLeftOverFiles(const QString& targetName, bool& overwrite);
    // The staging folder and journal of the table's write-out, made before its rows are read,
    // so that a name a Paradox table cannot take, a folder that cannot be written and a table
    // that is not to be replaced are found out first. Throws.
    void prepareReplacement(std::optional<ParadoxReplacement>& replacement, const QString& targetName,
                            bool overwrite);
    // The rows of the MySQL table `source`; nothing when the server would not count them (the
    // open that follows then meets the same failure and reports it).
    std::optional<std::int64_t> countSourceRows(const std::string& source);
    // The source's column names, read while it is open, for the word on its zero dates.
    std::vector<std::string> sourceColumnNames() const;
    void dropScratchTable(int testLabel, int dropLabel, const std::string& sourceName);
    // The front end hears of each column whose zero dates were left blank (for its report),
    // with `message`, the word the user was given on them all.
    void tellZeroDates(const QString& targetName, const std::vector<std::string>& columnNames,
                       const std::vector<std::int64_t>& counts, const QString& message);
    // The check weighed every row on its way in: the write-out need not weigh them again.
    void handOverFields(const std::string& scratchTable, const ParadoxWriteOutFit& fit);
    // The Paradox list afresh, as the folder now holds its tables.
    void relistParadoxTables();

    connections::Connection scratch_;
    // The table in hand's key, and why some of it was not kept.
    ParadoxKeyChoice key_;
    QString keyProblem_;
};

void MySqlToParadoxRun::openConnections()
{
    guard_.step(114, [] { QCoreApplication::processEvents(); });
    readFieldsAndRecoverFolder();
    openScratchConnection(guard_, 116, scratch_, environment_.scratchFolder);
    openParadoxConnection(guard_, 122, paradox_, fields_);
    openMySqlConnection(guard_, 126, mysql_, fields_);
}

void MySqlToParadoxRun::finishRun()
{
    guard_.step(376, [&] { relistParadoxTables(); });
    guard_.step(384, [&] { frontEnd_.showBusy(false); });
    guard_.step(386, [&] { closeIfOpen(scratch_); });
    guard_.step(388, [&] { closeIfOpen(mysql_); });
}

AfterTable MySqlToParadoxRun::sendTable(const QString& sourceName)
{
    events().started(sourceName, exceedsParadoxNameLimit(sourceName) ? paradoxNameOf(sourceName) : sourceName);
    QString targetName;
    guard_.step(140, [&] { targetName = sourceName; });
    if (guard_.test(142, [&] { return exceedsParadoxNameLimit(targetName); })) {
        bool trim = false;
        guard_.step(144, [&] { trim = askToTrimName(sourceName, paradoxNameOf(sourceName)); });
        if (!trim) {
            events().ended(TableEnd::Skipped);
            return AfterTable::NextTable; // [148]
        }
        guard_.step(146, [&] { targetName = paradoxNameOf(targetName); });
    }
    bool overwrite = false;
    if (guard_.test(150, [&] { return frontEnd_.targetList().lists(targetName); })) {
        guard_.step(154, [&] { overwrite = askToOverwriteParadoxTable(fields_.paradoxFolder, targetName); });
        if (!overwrite) {
            events().ended(TableEnd::Skipped);
            return AfterTable::NextTable; // [158]
        }
    }
    if (!overwrite && !mayReplaceLeftOverFiles(targetName, overwrite)) {
        events().ended(TableEnd::Skipped);
        return AfterTable::NextTable;
    }
    // A question box lets the window close; then nothing more is written.
    if (endRequested()) {
        events().ended(TableEnd::Cancelled);
        return AfterTable::EndRun;
    }
    // What cannot work is found out before a row is read: a name a Paradox table cannot take,
    // a folder that cannot be written, a table of the name that is not to be replaced.
    std::optional<ParadoxReplacement> replacement;
    if (!guard_.step(364, [&] { prepareReplacement(replacement, targetName, overwrite); })) {
        tableNotWritten();
        return AfterTable::NextTable;
    }

    const std::string source = sourceName.toStdString();
    // The rows are counted first, for the progress bar, since a result still streaming cannot
    // tell its size.
    const std::optional<std::int64_t> rowCount = countSourceRows(source);
    key_ = sourceKey(source);
    keyProblem_ = QString::fromStdString(key_.reason);
    if (!openSource(source))
        return AfterTable::NextTable;

    const ChosenCreateStatement create = createStatementFor(source);
    if (create.cancelled) {
        // Nothing of this table has been touched yet, the old Paradox table included. The
        // source's rows, all still to come, are not read: the run ends.
        guard_.step(182, [&] { source_.Cancel(); });
        return endRunOnCancel();
    }

    // The existing Paradox table, when it is to be overwritten, is not dropped here but only
    // once its replacement is complete (replaceParadoxTable).
    if (guard_.test(310, [&] { return ExistTable(scratch_, sourceName); }))
        guard_.step(312, [&] { scratch_.Execute(dropTableInBrackets(source)); });
    if (!guard_.step(314, [&] { scratch_.Execute(create.statement); })) {
        // The CREATE's own report is the table's one: rows for a table that is not there
        // would each fail alike.
        tableNotWritten();
        finishRows();
        return AfterTable::NextTable;
    }

    ParadoxWriteOutFit fit(create.statement, fields_.paradoxCodePage);
    RowCopyOptions options;
    options.rowCountBeforehand = rowCount;
    const RowCopyOutcome rows = copyRowsInto(scratch_, source, &fit, targetName, options);
    handOverFields(source, fit);
    const std::vector<std::string> columnNames =
        rows.zeroDatesBlanked.empty() ? std::vector<std::string>() : sourceColumnNames();
    finishRows(rows.stoppedByClose ? SourceEnd::Cancel : SourceEnd::Close);

    if (rows.stoppedByClose) {
        // The program is ending: a table cut short is never written out.
        events().ended(TableEnd::Cancelled);
        dropScratchTable(368, 370, source);
        return AfterTable::EndRun;
    }
    if (rows.cutShort) {
        // Nothing is written out; the scratch table goes if the scratch database still lets it
        // (else the next send of the table drops it first), without a report of its own.
        const AfterTable after =
            tellCutShort(*rows.cutShort, cutShortMessage(targetName, *rows.cutShort, overwrite, std::nullopt));
        try {
            scratch_.Execute(dropTableInBrackets(source));
        } catch (const std::exception&) {
        }
        return after;
    }
    bool written = false;
    if (overwrite) {
        if (const auto shortfall = incompleteTableReason(rows)) {
            const QString message = notOverwrittenMessage(targetName, *shortfall);
            events().ended(TableEnd::NotWritten, message);
            guard_.report(306, message);
        } else {
            written = writeOut(*replacement, source, targetName, ParadoxReplacement::Existing::Replace);
        }
    } else {
        written = writeOut(*replacement, source, targetName, ParadoxReplacement::Existing::Refuse);
    }
    if (!written)
        tableNotWritten();
    // Said once the table stands, and only then: a table not written holds no blanks.
    if (written && !keyProblem_.isEmpty())
        tellKeysNotKept(targetName, keyProblem_);
    if (written) {
        if (const auto zeroDates = zeroDatesBlankedMessage(sourceName, targetName, columnNames, rows.zeroDatesBlanked)) {
            showMessage(*zeroDates);
            tellZeroDates(targetName, columnNames, rows.zeroDatesBlanked, *zeroDates);
        }
    }
    guard_.step(366, [] { QCoreApplication::processEvents(); });
    dropScratchTable(368, 370, source);
    guard_.step(372, [] { QCoreApplication::processEvents(); });
    return AfterTable::NextTable;
}

void MySqlToParadoxRun::tellZeroDates(const QString& targetName, const std::vector<std::string>& columnNames,
                                      const std::vector<std::int64_t>& counts, const QString& message)
{
    for (std::size_t column = 0; column < counts.size() && column < columnNames.size(); ++column) {
        if (counts[column] == 0)
            continue;
        TableNotice notice;
        notice.table = targetName;
        notice.column = QString::fromStdString(columnNames[column]);
        notice.rows = counts[column];
        notice.message = message;
        events().notice(notice);
    }
}

void MySqlToParadoxRun::handOverFields(const std::string& scratchTable, const ParadoxWriteOutFit& fit)
{
    const auto fields = fit.chosenFields();
    if (!fields)
        return;
    try {
        scratch_.ExpectWriteOutFields(scratchTable, *fields, fit.rowsFitting());
    } catch (const std::exception&) {
        // Only a saving: the write-out weighs the rows itself.
    }
}

bool MySqlToParadoxRun::mayReplaceLeftOverFiles(const QString& targetName, bool& overwrite)
{
    QStringList leftOver;
    for (const std::string& name :
         leftOverParts(toFileSystemPath(fields_.paradoxFolder), targetName.toStdString()))
        leftOver.append(QString::fromStdString(name));
    if (leftOver.isEmpty())
        return true;
    guard_.step(154, [&] { overwrite = askToReplaceLeftOverFiles(targetName, leftOver); });
    return overwrite;
}

void MySqlToParadoxRun::prepareReplacement(std::optional<ParadoxReplacement>& replacement, const QString& targetName,
                                           bool overwrite)
{
    // An empty folder box would make the folder text "//", the root of the file system.
    if (fields_.paradoxFolder.isEmpty())
        throw std::runtime_error("No Paradox folder is given.");
    replacement.emplace(toFileSystemPath(fields_.paradoxFolder), targetName.toStdString(),
                        overwrite ? ParadoxReplacement::Existing::Replace : ParadoxReplacement::Existing::Refuse,
                        waitForParadoxFolder(frontEnd_, fields_.paradoxFolder));
    replacement->checkTarget();
}

bool MySqlToParadoxRun::writeOut(ParadoxReplacement& replacement, const std::string& sourceName,
                                 const QString& targetName, ParadoxReplacement::Existing existing)
{
    const bool written = guard_.step(364, [&] {
        const std::string staging = replacement.stagingFolder().string() + "/";
        try {
            writeOutKeepingKey(staging, sourceName, targetName, key_, keyProblem_);
        } catch (const std::exception& failure) {
            // A failure the user can put right (a full disk) is told with what became of the table.
            if (!isExpectedProblem(failure))
                throw;
            throw Expected<std::runtime_error>(
                tableNotWrittenMessage(QString::fromUtf8(failure.what()), targetName,
                                       existing == ParadoxReplacement::Existing::Replace)
                    .toStdString());
        }
        if (existing == ParadoxReplacement::Existing::Refuse)
            replacement.complete();
    });
    if (!written || existing == ParadoxReplacement::Existing::Refuse)
        return written; // a failed write leaves the folder as it was, with `replacement`
    guard_.step(308, [&] { frontEnd_.targetList().removeName(targetName); });
    return guard_.step(306, [&] { replacement.complete(); });
}

void MySqlToParadoxRun::writeOutKeepingKey(const std::string& staging, const std::string& sourceName,
                                           const QString& targetName, ParadoxKeyChoice& key, QString& keyProblem)
{
    const auto writeOutStatement = [&](int keyFields) {
        return paradoxWriteOutStatement(staging, targetName.toStdString(), sourceName, fields_.paradoxCodePage,
                                        keyFields);
    };
    if (key.keyFields > 0) {
        try {
            scratch_.Execute(writeOutStatement(key.keyFields));
            return;
        } catch (const db::DatabaseError& failure) {
            if (failure.number() != db::scratch::kKeyNotKept)
                throw;
            // Written without its key rather than not at all; nothing of the keyed try is left.
            keyProblem = QString::fromStdString(failure.description());
            key.keyFields = 0;
        }
    }
    scratch_.Execute(writeOutStatement(0));
}

ParadoxKeyChoice MySqlToParadoxRun::sourceKey(const std::string& source)
{
    try {
        return paradoxKeyFor(mysqlColumns(mysql_, source), mysqlPrimaryKey(mysql_, source));
    } catch (const std::exception&) {
        return {}; // a table the server does not describe: its open says why
    }
}

std::optional<std::int64_t> MySqlToParadoxRun::countSourceRows(const std::string& source)
{
    try {
        connections::Recordset count = mysql_.Execute("SELECT COUNT(*) FROM " + backtickQuoted(source));
        std::optional<std::int64_t> rows;
        for (; !count.Eof(); count.MoveNext()) {
            const db::Value& value = count.Fields(0).Value();
            if (const auto* number = std::get_if<std::int64_t>(&value))
                rows = *number;
            else if (const auto* unsignedNumber = std::get_if<std::uint64_t>(&value))
                rows = static_cast<std::int64_t>(*unsignedNumber);
        }
        return rows;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::vector<std::string> MySqlToParadoxRun::sourceColumnNames() const
{
    std::vector<std::string> names;
    try {
        for (int index = 0; index < source_.FieldCount(); ++index)
            names.push_back(source_.Fields(index).Name());
    } catch (const std::exception&) {
        // Unnamed columns leave the word on zero dates without them; nothing else needs them.
    }
    return names;
}

void MySqlToParadoxRun::relistParadoxTables()
{
    TableListView& list = frontEnd_.targetList();
    list.clearNames();
    visitParadoxTableNames(fields_.paradoxFolder, [&](const QString& name) { list.addName(name); });
}

void MySqlToParadoxRun::dropScratchTable(int testLabel, int dropLabel, const std::string& sourceName)
{
    if (guard_.test(testLabel, [&] { return ExistTable(scratch_, QString::fromStdString(sourceName)); }))
        guard_.step(dropLabel, [&] { scratch_.Execute(dropTableInBrackets(sourceName)); });
}

} // namespace

void sendTablesToParadox(StepGuard& guard, FrontEnd& frontEnd, const TransferEnvironment& environment)
{
    MySqlToParadoxRun(guard, frontEnd, environment, kToParadoxLabels, TargetKind::Paradox).run();
}

} // namespace quintabel
