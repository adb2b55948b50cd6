#include "cli/command_line_run.h"

#include "catalogue/mysql_table_names.h"
#include "catalogue/paradox_table_names.h"
#include "cli/chosen_types.h"
#include "cli/command_line.h"
#include "cli/command_line_customisation.h"
#include "cli/command_line_front_end.h"
#include "cli/progress_line.h"
#include "cli/run_report.h"
#include "cli/saved_connection.h"
#include "cli/table_selection.h"
#include "cli/terminal.h"
#include "cli/text_boxes.h"
#include "drivers/scratch/scratch_folder.h"
#include "frontend/row_progress.h"
#include "maintenance/mysql_table_maintenance.h"
#include "maintenance/paradox_recovery_notice.h"
#include "maintenance/paradox_table_maintenance.h"
#include "base/message_boxes.h"
#include "base/step_guard.h"
#include "transfer/mysql_to_paradox.h"
#include "transfer/paradox_to_mysql.h"
#include "transfer/transfer_environment.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace quintabel::cli {

namespace {

constexpr char kProgramName[] = "quintabel-cli";

void writeTo(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int usageFailure(const QString& message)
{
    writeTo(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                        .arg(QLatin1String(kProgramName), message));
    return kExitUsage;
}

QString commandWord(Command command)
{
    switch (command) {
    case Command::Tables:
        return QStringLiteral("tables");
    case Command::ToParadox:
        return QStringLiteral("to-paradox");
    case Command::ToMySql:
        return QStringLiteral("to-mysql");
    case Command::Delete:
        return QStringLiteral("delete");
    case Command::Rename:
        return QStringLiteral("rename");
    }
    return QString();
}

QString sideName(Side side)
{
    return side == Side::MySql ? QStringLiteral("MySQL") : QStringLiteral("Paradox");
}

// The rows a damaged source's header promised.
std::int64_t promisedRows(const TableRecord& table)
{
    for (const TableNotice& notice : table.notices) {
        if (notice.kind == TableNotice::Kind::RowCountDiffers)
            return notice.rowsPromised;
    }
    return 0;
}

bool isTransfer(Command command)
{
    return command == Command::ToParadox || command == Command::ToMySql;
}

// The sides a command reads or changes.
bool touchesSide(const CommandLine& line, Side side)
{
    if (isTransfer(line.command))
        return true;
    return !line.side || *line.side == side;
}

class CommandLineRun {
public:
    explicit CommandLineRun(const CommandLine& line)
        : line_(line), standardError_(stderr, standardErrorIsTerminal() && !line.quiet)
    {
    }

    int run();

private:
    std::optional<int> prepare();
    int listTables();
    int transfer();
    int deleteTables();
    int renameTable();

    // The names of one side, as its list shows them; nothing when they could not be listed
    // (said on standard error and kept for the report).
    std::optional<QStringList> listSide(Side side);
    void failTable(const QString& name, const QString& message);
    void error(const QString& text)
    {
        standardError_.write(QStringLiteral("%1: error: %2\n").arg(QLatin1String(kProgramName), text));
    }
    void say(const QString& text)
    {
        if (!line_.quiet)
            writeTo(stdout, text);
    }
    void printSummary();
    int finish(int status);

    const CommandLine& line_;
    Terminal terminal_;
    StandardError standardError_;
    RunReport report_;
    ConnectionFields fields_;
    ChosenTypes types_;
    BoxAnswers answers_;
    std::optional<TextBoxes> boxes_;
};

int CommandLineRun::run()
{
    if (const std::optional<int> failed = prepare())
        return *failed;
    const MessageBoxesInstallation installed(*boxes_);
    switch (line_.command) {
    case Command::Tables:
        return listTables();
    case Command::ToParadox:
    case Command::ToMySql:
        return transfer();
    case Command::Delete:
        return deleteTables();
    case Command::Rename:
        return renameTable();
    }
    return kExitUsage;
}

std::optional<int> CommandLineRun::prepare()
{
    if (isTransfer(line_.command)) {
        const auto overwrite = resolveAnswer(line_.overwrite, terminal_.isOpen(), QStringLiteral("overwrite"));
        if (const auto* problem = std::get_if<UsageError>(&overwrite))
            return usageFailure(problem->message);
        answers_.overwrite = std::get<Answer>(overwrite);
        const auto trim = resolveAnswer(line_.trim, terminal_.isOpen(), QStringLiteral("trim"));
        if (const auto* problem = std::get_if<UsageError>(&trim))
            return usageFailure(problem->message);
        answers_.trim = std::get<Answer>(trim);
    }
    if (!line_.typesFile.isEmpty()) {
        auto read = ChosenTypes::read(line_.typesFile);
        if (const auto* problem = std::get_if<QString>(&read))
            return usageFailure(*problem);
        types_ = std::get<ChosenTypes>(std::move(read));
    }
    // A report that cannot be written is found out before anything is sent, not after.
    if (!line_.reportFile.isEmpty()) {
        if (const auto problem = reportFileProblem(line_.reportFile))
            return usageFailure(
                QStringLiteral("cannot write the report file '%1': %2").arg(line_.reportFile, *problem));
    }
    if (line_.command == Command::Rename)
        answers_.typedText = line_.tables.value(1);

    SavedConnection saved = savedConnection(line_.overrides);
    if (saved.settingsProblem)
        error(*saved.settingsProblem + QStringLiteral(" The connection window's defaults stand in for it."));
    fields_ = saved.fields;
    if (touchesSide(line_, Side::Paradox) && fields_.paradoxFolder.isEmpty())
        return usageFailure(QStringLiteral("no Paradox folder: give --folder, or choose one in the connection window"));
    // Found out before a table is read: a transfer would otherwise read every row of it
    // before the folder's absence stopped the write.
    if (touchesSide(line_, Side::Paradox) && !QFileInfo(fields_.paradoxFolder).isDir())
        return usageFailure(QStringLiteral("the Paradox folder '%1' does not exist").arg(fields_.paradoxFolder));
    if (touchesSide(line_, Side::MySql)) {
        const auto prompt = [this]() -> std::optional<QString> {
            if (!terminal_.isOpen())
                return std::nullopt;
            return terminal_.readSecret(QStringLiteral("MySQL password for %1@%2: ").arg(fields_.user, fields_.server));
        };
        fields_.password = choosePassword(passwordFromEnvironment(), fields_.password, prompt);
    }
    boxes_.emplace(answers_, &terminal_, line_.quiet, [this](const QString& text) { standardError_.write(text); },
                   [this](const QString& text) { report_.errorReportShown(text); });
    return std::nullopt;
}

std::optional<QStringList> CommandLineRun::listSide(Side side)
{
    // As when the tables window opens: a replacement that a kill interrupted is put right
    // before the folder is listed, since its table may be missing from the listing until then.
    if (side == Side::Paradox)
        recoverParadoxFolderAndTell(fields_.paradoxFolder);
    try {
        return side == Side::MySql ? mySqlTableNames(fields_) : paradoxTableNames(fields_.paradoxFolder);
    } catch (...) {
        const QString text = QStringLiteral("the %1 tables could not be listed: %2")
                                 .arg(sideName(side), descriptionOfCurrentException());
        error(text);
        report_.runFailed(text);
        return std::nullopt;
    }
}

void CommandLineRun::failTable(const QString& name, const QString& message)
{
    error(message);
    report_.tableFailedBeforeRun(name, message);
}

int CommandLineRun::listTables()
{
    bool listed = true;
    const bool both = !line_.side;
    for (const Side side : {Side::MySql, Side::Paradox}) {
        if (!touchesSide(line_, side))
            continue;
        const std::optional<QStringList> names = listSide(side);
        if (!names) {
            listed = false;
            continue;
        }
        // With both sides, each under its heading; with one, bare names for a script to read.
        QString text;
        if (both)
            text += QStringLiteral("%1 tables:\n").arg(sideName(side));
        for (const QString& name : *names)
            text += (both ? QStringLiteral("  ") : QString()) + name + QLatin1Char('\n');
        if (both && side == Side::MySql)
            text += QLatin1Char('\n');
        writeTo(stdout, text);
    }
    return listed ? kExitComplete : kExitTableFailed;
}

int CommandLineRun::transfer()
{
    const bool toParadox = line_.command == Command::ToParadox;
    const Side sourceSide = toParadox ? Side::MySql : Side::Paradox;
    const auto target = toParadox ? TargetKind::Paradox : TargetKind::MySQL;
    const std::optional<QStringList> sourceListed = listSide(sourceSide);
    // Without the target's names the overwrite question could not be asked: nothing is sent.
    const std::optional<QStringList> targetListed = sourceListed ? listSide(toParadox ? Side::Paradox : Side::MySql)
                                                                 : std::nullopt;
    if (!sourceListed || !targetListed)
        return finish(kExitTableFailed);

    TableSelection selection =
        line_.allTables ? TableSelection{everyTable(*sourceListed), {}} : selectTables(*sourceListed, line_.tables);
    for (const QString& name : selection.notFound)
        failTable(name, QStringLiteral("%1: there is no %2 table of that name.").arg(name, sideName(sourceSide)));
    for (const TableTypes& chosen : types_.tables()) {
        if (selectTables(*sourceListed, {chosen.table}).chosen.isEmpty())
            failTable(chosen.table,
                      QStringLiteral("%1: the types file names it, but there is no %2 table of that name.")
                          .arg(chosen.table, sideName(sourceSide)));
    }
    // A table whose chosen types cannot be used is not sent at all: the others still are.
    QStringList toSend;
    for (const QString& name : selection.chosen) {
        const TableTypes* chosen = types_.forTable(name);
        const QStringList problems =
            chosen == nullptr ? QStringList() : chosenTypeProblems(*chosen, target, fields_, name);
        if (problems.isEmpty())
            toSend << name;
        else
            failTable(name, problems.join(QLatin1Char('\n')));
    }

    if (!toSend.isEmpty()) {
        CommandLineFrontEnd frontEnd(toSend, *targetListed, !types_.empty(), report_, standardError_);
        CommandLineCustomisation customisation(types_, [this] { return fields_; });
        db::scratch::ScratchFolder scratchFolder;
        const TransferEnvironment environment{
            [this] { return fields_; },
            [&scratchFolder] { return QString::fromStdString(scratchFolder.path().string()); },
            &customisation};
        // The windows' own error locations, so that a report reads the same from either.
        StepGuard guard(QStringLiteral("Form2"), toParadox ? QStringLiteral("PushButton3_Click")
                                                           : QStringLiteral("PushButton4_Click"));
        catchStopSignals();
        if (toParadox)
            sendTablesToParadox(guard, frontEnd, environment);
        else
            sendTablesToMySql(guard, frontEnd, environment);
        frontEnd.showIdle();
        for (const QString& problem : customisation.problems())
            error(problem);
        report_.markUnreached(toSend, stopSignalled()
                                          ? QStringLiteral("The run was stopped before this table was sent.")
                                          : QStringLiteral("The run ended before this table was sent."));
    }
    printSummary();
    return finish(report_.exitStatus());
}

void CommandLineRun::printSummary()
{
    for (const TableRecord& table : report_.tables()) {
        QString line = table.sourceName;
        if (!table.targetName.isEmpty() && table.targetName != table.sourceName)
            line += QStringLiteral(" -> ") + table.targetName;
        const std::int64_t sent = table.outcome ? table.outcome->rowsSent : 0;
        const std::int64_t refused =
            std::max<std::int64_t>(table.outcome ? table.outcome->rowsRefused : 0,
                                   static_cast<std::int64_t>(table.refusedRows.size()));
        switch (statusOf(table)) {
        case TableStatus::Complete:
            line += QStringLiteral(": %1 rows sent").arg(groupedNumber(sent));
            break;
        case TableStatus::RowsRefused:
            line += QStringLiteral(": %1 rows sent, %2 refused").arg(groupedNumber(sent), groupedNumber(refused));
            break;
        case TableStatus::SourceDamaged:
            line += QStringLiteral(": %1 rows sent; its header promised %2 (the file may be damaged)")
                        .arg(groupedNumber(sent), groupedNumber(promisedRows(table)));
            break;
        case TableStatus::Skipped:
            line += QStringLiteral(": skipped");
            break;
        case TableStatus::Failed:
            line += QStringLiteral(": failed");
            break;
        }
        say(line + QLatin1Char('\n'));
    }
}

int CommandLineRun::finish(int status)
{
    if (line_.reportFile.isEmpty())
        return status;
    if (const auto problem = writeReportFile(line_.reportFile, report_.toJson(commandWord(line_.command)))) {
        error(QStringLiteral("the report could not be written to '%1': %2").arg(line_.reportFile, *problem));
        return std::max(status, kExitTableFailed);
    }
    return status;
}

int CommandLineRun::deleteTables()
{
    const Side side = *line_.side;
    const std::optional<QStringList> listed = listSide(side);
    if (!listed)
        return kExitTableFailed;
    const TableSelection selection = selectTables(*listed, line_.tables);
    // A name that matches nothing may be a slip of the keyboard in a list of tables to
    // delete: nothing is deleted until every name is right.
    if (!selection.notFound.isEmpty()) {
        for (const QString& name : selection.notFound)
            error(QStringLiteral("%1: there is no %2 table of that name.").arg(name, sideName(side)));
        error(QStringLiteral("Nothing was deleted."));
        return kExitTableFailed;
    }
    CommandLineFrontEnd frontEnd(selection.chosen, {}, false, report_, standardError_);
    const int reportsBefore = boxes_->errorReportsShown();
    catchStopSignals();
    if (side == Side::MySql) {
        StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton1_Click"));
        deleteMySqlTables(guard, frontEnd, fields_);
    } else {
        StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton5_Click"));
        deleteParadoxTables(guard, frontEnd, fields_.paradoxFolder);
    }
    // The MySQL run takes a name off its list even when the server kept the table, so the
    // server is asked again; the Paradox run keeps the name of every table it left alone.
    QStringList remaining = frontEnd.sourceNames().names();
    if (side == Side::MySql) {
        const std::optional<QStringList> after = listSide(side);
        remaining = after ? *after : selection.chosen;
    }
    bool allDeleted = boxes_->errorReportsShown() == reportsBefore;
    for (const QString& name : selection.chosen) {
        if (remaining.contains(name)) {
            allDeleted = false;
            error(QStringLiteral("%1 was not deleted.").arg(name));
        } else {
            say(QStringLiteral("Deleted %1.\n").arg(name));
        }
    }
    return allDeleted ? kExitComplete : kExitTableFailed;
}

int CommandLineRun::renameTable()
{
    const Side side = *line_.side;
    const std::optional<QStringList> listed = listSide(side);
    if (!listed)
        return kExitTableFailed;
    const TableSelection selection = selectTables(*listed, {line_.tables[0]});
    if (selection.chosen.isEmpty()) {
        error(QStringLiteral("%1: there is no %2 table of that name.").arg(line_.tables[0], sideName(side)));
        return kExitTableFailed;
    }
    const QString oldName = selection.chosen.front();
    const QString newName = line_.tables[1];
    CommandLineFrontEnd frontEnd({oldName}, {}, false, report_, standardError_);
    const int reportsBefore = boxes_->errorReportsShown();
    if (side == Side::MySql) {
        StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton6_Click"));
        renameMySqlTable(guard, frontEnd, fields_);
    } else {
        StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton7_Click"));
        renameParadoxTable(guard, frontEnd, fields_.paradoxFolder);
    }
    // The run puts the new name in the old one's place only once the table has it.
    const QStringList names = frontEnd.sourceNames().names();
    const bool renamed = oldName != newName && names.contains(newName) && !names.contains(oldName)
        && boxes_->errorReportsShown() == reportsBefore;
    if (!renamed) {
        error(QStringLiteral("%1 was not renamed.").arg(oldName));
        return kExitTableFailed;
    }
    say(QStringLiteral("Renamed %1 to %2.\n").arg(oldName, newName));
    return kExitComplete;
}

} // namespace

int runCommandLine(const QStringList& arguments)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (std::holds_alternative<HelpRequested>(parsed)) {
        writeTo(stdout, usageText());
        return kExitComplete;
    }
    if (const auto* problem = std::get_if<UsageError>(&parsed))
        return usageFailure(problem->message);
    return CommandLineRun(std::get<CommandLine>(parsed)).run();
}

} // namespace quintabel::cli
