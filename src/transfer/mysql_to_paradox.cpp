#include "transfer/mysql_to_paradox.h"

#include "base/expected_problem.h"
#include "base/message_boxes.h"
#include "base/path_helpers.h"
#include "base/step_guard.h"
#include "catalogue/exist_table.h"
#include "catalogue/paradox_table_names.h"
#include "connections/connection.h"
#include "maintenance/paradox_recovery_notice.h"
#include "maintenance/family_swap.h"
#include "maintenance/paradox_replacement.h"
#include "transfer/bracket_statements.h"
#include "transfer/create_statement_choice.h"
#include "transfer/paradox_row_fit.h"
#include "transfer/row_copy.h"
#include "transfer/sql_names.h"
#include "transfer/table_events.h"
#include "transfer/transfer_connections.h"
#include "transfer/transfer_messages.h"
#include "transfer/transfer_questions.h"

#include <QCoreApplication>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quintabel {

namespace {

constexpr CreateStatementLabels kCreateLabels{
    .prefix = 164,
    .defaultWhenUnticked = 166,
    .defaultBuildUnticked = 248,
    .cancelledFlag = 168,
    .targetKind = 172,
    .statementPrefix = 174,
    .tableName = 176,
    .showWindow = 178,
    .cancelledTest = 180,
    .windowStatement = 188,
    .prefixTest = 190,
    .defaultBuildAfterWindow = 192,
};

constexpr RowCopyLabels kRowLabels{
    .rowCount = 322,
    .rowLoop = 324,
    .repaint = 326,
    .progress = 328,
    .statementStart = 330,
    .fieldLoop = 332,
    .fieldRepaint = 334,
    .valueText = 336,
    .execute = 354,
    .moveNext = 356,
};

enum class AfterTable { NextTable, EndRun };

class MySqlToParadoxRun {
public:
    MySqlToParadoxRun(StepGuard& guard, FrontEnd& frontEnd, const TransferEnvironment& environment)
        : guard_(guard), frontEnd_(frontEnd), environment_(environment)
    {
    }

    void run();

private:
    // One table, its structured events told around it.
    AfterTable sendTable(int itemIndex);
    AfterTable sendTableSteps(int itemIndex);
    // The write-out of a table into the Paradox folder: written whole in a staging folder, then
    // moved in by the journalled replacement (docs/crash-safety.md). With Existing::Refuse an
    // existing table of the name makes it fail; with Replace the old table goes only once the
    // new one is in its place.
    // True when the new table stands in the folder.
    bool writeOut(ParadoxReplacement& replacement, const std::string& sourceName, const QString& targetName,
                  ParadoxReplacement::Existing existing);
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
    // The steps that end a table's rows: the pointer, the progress bar and the source. When
    // the run ends with them, the rest of the source is not waited for (its connection goes).
    enum class SourceEnd { Close, Cancel };
    void finishRows(SourceEnd end = SourceEnd::Close);
    // The front end hears of each column whose zero dates were left blank (for its report),
    // with `message`, the word the user was given on them all.
    void tellZeroDates(const QString& targetName, const std::vector<std::string>& columnNames,
                       const std::vector<std::int64_t>& counts, const QString& message);
    // The check weighed every row on its way in: the write-out need not weigh them again.
    void handOverFields(const std::string& scratchTable, const ParadoxWriteOutFit& fit);
    // The Paradox list afresh, as the folder now holds its tables.
    void relistParadoxTables();
    bool endRequested() const { return frontEnd_.stopRequested(); }

    StepGuard& guard_;
    FrontEnd& frontEnd_;
    const TransferEnvironment& environment_;
    ConnectionFields fields_;
    connections::Connection scratch_;
    connections::Connection paradox_;
    connections::Connection mysql_;
    connections::Recordset source_;
    TableEvents* events_ = nullptr; // the table in hand's
};

void MySqlToParadoxRun::run()
{
    guard_.setStatement(QString());
    if (guard_.test(110, [&] { return frontEnd_.sourceList().currentIndex() == -1; })) {
        guard_.step(390, [] { showMessage(QString::fromLatin1(kSelectTableToSend)); });
        return;
    }
    guard_.step(112, [&] { frontEnd_.showBusy(true); });
    guard_.step(114, [] { QCoreApplication::processEvents(); });
    if (environment_.connectionFields)
        fields_ = environment_.connectionFields();
    // A replacement that a kill interrupted is finished or undone before anything here looks
    // at the folder or writes to it.
    recoverParadoxFolderAndTell(fields_.paradoxFolder, waitForParadoxFolder(frontEnd_, fields_.paradoxFolder));
    openScratchConnection(guard_, 116, scratch_, environment_.scratchFolder);
    openParadoxConnection(guard_, 122, paradox_, fields_);
    openMySqlConnection(guard_, 126, mysql_, fields_);

    // From the bottom of the list to the top. The list may shrink meanwhile (the overwrite
    // removes names from the other list only, but the bound is checked each time anyway).
    for (int index = frontEnd_.sourceList().count() - 1; index >= 0; --index) { // [134]
        if (index >= frontEnd_.sourceList().count())
            continue;
        if (guard_.test(136, [&] { return !frontEnd_.sourceList().isSelected(index); }))
            continue; // [374]
        if (endRequested() || sendTable(index) == AfterTable::EndRun)
            return;
    }
    guard_.step(376, [&] { relistParadoxTables(); });
    guard_.step(384, [&] { frontEnd_.showBusy(false); });
    guard_.step(386, [&] { closeIfOpen(scratch_); });
    guard_.step(388, [&] { closeIfOpen(mysql_); });
}

AfterTable MySqlToParadoxRun::sendTable(int itemIndex)
{
    TableEvents events(frontEnd_);
    events_ = &events;
    const AfterTable after = sendTableSteps(itemIndex);
    events.finish();
    events_ = nullptr;
    return after;
}

AfterTable MySqlToParadoxRun::sendTableSteps(int itemIndex)
{
    QString sourceName;
    guard_.step(138, [&] { sourceName = frontEnd_.sourceList().nameAt(itemIndex); });
    events_->started(sourceName, exceedsParadoxNameLimit(sourceName) ? paradoxNameOf(sourceName) : sourceName);
    QString targetName;
    guard_.step(140, [&] { targetName = sourceName; });
    if (guard_.test(142, [&] { return exceedsParadoxNameLimit(targetName); })) {
        bool trim = false;
        guard_.step(144, [&] { trim = askToTrimName(sourceName, paradoxNameOf(sourceName)); });
        if (!trim) {
            events_->ended(TableEnd::Skipped);
            return AfterTable::NextTable; // [148]
        }
        guard_.step(146, [&] { targetName = paradoxNameOf(targetName); });
    }
    bool overwrite = false;
    if (guard_.test(150, [&] { return frontEnd_.targetList().lists(targetName); })) {
        guard_.step(154, [&] { overwrite = askToOverwriteParadoxTable(fields_.paradoxFolder, targetName); });
        if (!overwrite) {
            events_->ended(TableEnd::Skipped);
            return AfterTable::NextTable; // [158]
        }
    }
    if (!overwrite && !mayReplaceLeftOverFiles(targetName, overwrite)) {
        events_->ended(TableEnd::Skipped);
        return AfterTable::NextTable;
    }
    // A question box lets the window close; then nothing more is written.
    if (endRequested()) {
        events_->ended(TableEnd::Cancelled);
        return AfterTable::EndRun;
    }
    // What cannot work is found out before a row is read: a name a Paradox table cannot take,
    // a folder that cannot be written, a table of the name that is not to be replaced.
    std::optional<ParadoxReplacement> replacement;
    if (!guard_.step(364, [&] { prepareReplacement(replacement, targetName, overwrite); })) {
        events_->ended(TableEnd::NotWritten, guard_.lastFailure());
        return AfterTable::NextTable;
    }

    const std::string source = sourceName.toStdString();
    // The rows are read as they are copied, never all held at once; they are counted first,
    // for the progress bar, since a result still streaming cannot tell its size.
    const std::optional<std::int64_t> rowCount = countSourceRows(source);
    guard_.step(160, [&] { source_.setCursorLocation(connections::adUseServer); });
    // A table that cannot be read has said so in the open's own report; every later step of
    // it would only fail for want of its rows.
    if (!guard_.step(162, [&] { source_.Open("SELECT * FROM " + backtickQuoted(source), mysql_); })) {
        events_->ended(TableEnd::NotWritten, guard_.lastFailure());
        return AfterTable::NextTable;
    }

    const ChosenCreateStatement create =
        chooseCreateStatement(guard_, kCreateLabels, source, source_, TargetKind::Paradox,
                              frontEnd_.customiseTypes(), environment_.customisationWindow);
    if (create.cancelled) {
        // Nothing of this table has been touched yet, the old Paradox table included. The
        // source's rows, all still to come, are not read: the run ends.
        guard_.step(182, [&] { source_.Cancel(); });
        guard_.step(182, [&] { closeIfOpen(paradox_); });
        guard_.step(184, [&] { closeIfOpen(mysql_); });
        guard_.step(186, [&] { frontEnd_.showBusy(false); });
        events_->ended(TableEnd::Cancelled);
        return AfterTable::EndRun;
    }

    // The existing Paradox table, when it is to be overwritten, is not dropped here but only
    // once its replacement is complete (replaceParadoxTable).
    if (guard_.test(310, [&] { return ExistTable(scratch_, sourceName); }))
        guard_.step(312, [&] { scratch_.Execute(dropTableInBrackets(source)); });
    if (!guard_.step(314, [&] { scratch_.Execute(create.statement); })) {
        // The CREATE's own report is the table's one: rows for a table that is not there
        // would each fail alike.
        events_->ended(TableEnd::NotWritten, guard_.lastFailure());
        finishRows();
        return AfterTable::NextTable;
    }

    ParadoxWriteOutFit fit(create.statement, fields_.paradoxCodePage);
    RowCopyOptions options;
    options.rowCountBeforehand = rowCount;
    const RowCopyOutcome rows = copyRows(guard_, kRowLabels, source_, scratch_, source, TargetKind::Paradox,
                                         &fit, frontEnd_, targetName, options);
    events_->rows(rows);
    handOverFields(source, fit);
    const std::vector<std::string> columnNames =
        rows.zeroDatesBlanked.empty() ? std::vector<std::string>() : sourceColumnNames();
    finishRows(rows.stoppedByClose ? SourceEnd::Cancel : SourceEnd::Close);

    if (rows.stoppedByClose) {
        // The program is ending: a table cut short is never written out.
        events_->ended(TableEnd::Cancelled);
        dropScratchTable(368, 370, source);
        return AfterTable::EndRun;
    }
    if (rows.cutShort) {
        // Nothing is written out; the scratch table goes if the scratch database still lets it
        // (else the next send of the table drops it first), without a report of its own.
        const QString message = cutShortMessage(targetName, *rows.cutShort, overwrite, std::nullopt);
        events_->ended(TableEnd::CutShort, message);
        reportCutShort(guard_, *rows.cutShort, message);
        try {
            scratch_.Execute(dropTableInBrackets(source));
        } catch (const std::exception&) {
        }
        return rows.cutShort->reach == FailureReach::Run ? AfterTable::EndRun : AfterTable::NextTable;
    }
    bool written = false;
    if (overwrite) {
        if (const auto shortfall = incompleteTableReason(rows)) {
            const QString message = notOverwrittenMessage(targetName, *shortfall);
            events_->ended(TableEnd::NotWritten, message);
            guard_.report(306, message);
        } else {
            written = writeOut(*replacement, source, targetName, ParadoxReplacement::Existing::Replace);
        }
    } else {
        written = writeOut(*replacement, source, targetName, ParadoxReplacement::Existing::Refuse);
    }
    if (!written)
        events_->ended(TableEnd::NotWritten, guard_.lastFailure());
    // Said once the table stands, and only then: a table not written holds no blanks.
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
        events_->notice(notice);
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
            scratch_.Execute(
                paradoxWriteOutStatement(staging, targetName.toStdString(), sourceName, fields_.paradoxCodePage));
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

void MySqlToParadoxRun::finishRows(SourceEnd end)
{
    guard_.step(358, [&] { frontEnd_.showBusy(false); });
    guard_.step(360, [&] { frontEnd_.showIdle(); });
    guard_.step(362, [&] {
        if (end == SourceEnd::Cancel)
            source_.Cancel();
        else
            source_.Close();
    });
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
    MySqlToParadoxRun(guard, frontEnd, environment).run();
}

} // namespace quintabel
