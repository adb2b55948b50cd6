// What the report and the exit status make of a run's events.

#include "cli/command_line.h"
#include "cli/run_report.h"
#include "shell/support/qstring_printer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quintabel::cli {
namespace {

TableOutcome outcome(const QString& name, TableEnd end, std::int64_t sent, std::int64_t refused,
                     const QString& message = QString())
{
    return TableOutcome{name, name, sent, refused, end, message};
}

void runTable(RunReport& report, const TableOutcome& end, const std::vector<RefusedRow>& rows = {})
{
    report.tableStarted(end.sourceName, end.targetName);
    for (const RefusedRow& row : rows)
        report.rowRefused(row);
    report.tableFinished(end);
}

TEST(RunReportTest, AFailedTableOutweighsRefusedRowsAndASkippedTableCountsAsNeither)
{
    RunReport complete;
    runTable(complete, outcome(QStringLiteral("A"), TableEnd::Written, 10, 0));
    runTable(complete, outcome(QStringLiteral("B"), TableEnd::Skipped, 0, 0, QStringLiteral("not overwritten")));
    EXPECT_EQ(complete.exitStatus(), kExitComplete);

    RunReport refused;
    runTable(refused, outcome(QStringLiteral("A"), TableEnd::Written, 9, 1));
    runTable(refused, outcome(QStringLiteral("B"), TableEnd::Written, 3, 0));
    EXPECT_EQ(refused.exitStatus(), kExitRowsRefused);

    for (const TableEnd failedEnd : {TableEnd::NotWritten, TableEnd::CutShort, TableEnd::Cancelled}) {
        RunReport failed;
        runTable(failed, outcome(QStringLiteral("A"), TableEnd::Written, 9, 1));
        runTable(failed, outcome(QStringLiteral("B"), failedEnd, 0, 4));
        EXPECT_EQ(failed.exitStatus(), kExitTableFailed);
    }
}

TEST(RunReportTest, TablesTheRunNeverFinishedAndErrorsOutsideTablesFailTheRun)
{
    RunReport started;
    started.tableStarted(QStringLiteral("A"), QStringLiteral("A"));
    started.markUnreached({QStringLiteral("A"), QStringLiteral("B")}, QStringLiteral("The run ended before this table was sent."));
    EXPECT_EQ(started.exitStatus(), kExitTableFailed);
    ASSERT_EQ(started.tables().size(), 2u);
    EXPECT_EQ(started.tables()[1].failureBeforeRun, QStringLiteral("The run ended before this table was sent."));

    RunReport finishedFirst;
    runTable(finishedFirst, outcome(QStringLiteral("A"), TableEnd::Written, 1, 0));
    finishedFirst.markUnreached({QStringLiteral("A")}, QStringLiteral("unreached"));
    EXPECT_EQ(finishedFirst.exitStatus(), kExitComplete);

    RunReport connectionLost;
    connectionLost.errorReportShown(QStringLiteral("Can't connect to server"));
    EXPECT_EQ(connectionLost.exitStatus(), kExitTableFailed);
    EXPECT_EQ(connectionLost.toJson(QStringLiteral("to-mysql")).value(QStringLiteral("errors")).toArray(),
              QJsonArray{QStringLiteral("Can't connect to server")});
}

TEST(RunReportTest, TheJsonListsEveryRefusedRowUnderItsTable)
{
    RunReport report;
    report.tableFailedBeforeRun(QStringLiteral("NOSUCH"), QStringLiteral("NOSUCH: there is no Paradox table of that name."));
    report.tableStarted(QStringLiteral("orders"), QStringLiteral("ORDERS"));
    report.rowRefused({QStringLiteral("ORDERS"), 3, QStringLiteral("AMOUNT"), QStringLiteral("Out of range"), QString()});
    report.errorReportShown(QStringLiteral("the box of row 3"));
    report.rowRefused({QStringLiteral("ORDERS"), 7, std::nullopt, QStringLiteral("Duplicate entry"), QString()});
    report.tableFinished(TableOutcome{QStringLiteral("orders"), QStringLiteral("ORDERS"), 8, 2, TableEnd::Written, QString()});

    const QJsonObject json = report.toJson(QStringLiteral("to-paradox"));
    EXPECT_EQ(json[QStringLiteral("command")].toString(), QStringLiteral("to-paradox"));
    EXPECT_EQ(json[QStringLiteral("exitStatus")].toInt(), kExitTableFailed);
    const QJsonArray tables = json[QStringLiteral("tables")].toArray();
    ASSERT_EQ(tables.size(), 2);
    const QJsonObject missing = tables[0].toObject();
    EXPECT_EQ(missing[QStringLiteral("status")].toString(), QStringLiteral("failed"));
    EXPECT_TRUE(missing[QStringLiteral("target")].isNull());
    EXPECT_EQ(missing[QStringLiteral("message")].toString(), QStringLiteral("NOSUCH: there is no Paradox table of that name."));

    const QJsonObject orders = tables[1].toObject();
    EXPECT_EQ(orders[QStringLiteral("source")].toString(), QStringLiteral("orders"));
    EXPECT_EQ(orders[QStringLiteral("target")].toString(), QStringLiteral("ORDERS"));
    EXPECT_EQ(orders[QStringLiteral("status")].toString(), QStringLiteral("rows refused"));
    EXPECT_EQ(orders[QStringLiteral("rowsSent")].toInt(), 8);
    EXPECT_EQ(orders[QStringLiteral("rowsRefused")].toInt(), 2);
    EXPECT_FALSE(orders.contains(QStringLiteral("message")));
    const QJsonArray rows = orders[QStringLiteral("refusedRows")].toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("row")].toInt(), 3);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("column")].toString(), QStringLiteral("AMOUNT"));
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("reason")].toString(), QStringLiteral("Out of range"));
    EXPECT_TRUE(rows[1].toObject()[QStringLiteral("column")].isNull());
    EXPECT_EQ(orders[QStringLiteral("errorReports")].toArray().size(), 1);
    EXPECT_TRUE(json[QStringLiteral("errors")].toArray().isEmpty());
}

TEST(RunReportTest, NamedRowsCountAsRefusedEvenWhenTheTotalSaysFewer)
{
    RunReport report;
    runTable(report, outcome(QStringLiteral("A"), TableEnd::Written, 5, 0),
             {{QStringLiteral("A"), 2, std::nullopt, QStringLiteral("refused"), QString()}});
    EXPECT_EQ(report.exitStatus(), kExitRowsRefused);
    EXPECT_EQ(report.toJson(QStringLiteral("to-mysql"))[QStringLiteral("tables")].toArray()[0].toObject()
                  [QStringLiteral("rowsRefused")].toInt(),
              1);
}

TEST(RunReportTest, TheReportFileIsCheckedBeforehandAndWrittenWhole)
{
    EXPECT_TRUE(reportFileProblem(QStringLiteral("/nonexistent-folder/report.json")).has_value());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("report.json"));
    EXPECT_FALSE(reportFileProblem(path).has_value());
    // The trial leaves nothing behind.
    EXPECT_FALSE(QFile::exists(path));
    RunReport report;
    runTable(report, outcome(QStringLiteral("A"), TableEnd::Written, 1, 0));
    EXPECT_FALSE(writeReportFile(path, report.toJson(QStringLiteral("to-mysql"))).has_value());
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(written.readAll()).object()[QStringLiteral("exitStatus")].toInt(), kExitComplete);
}

} // namespace
} // namespace quintabel::cli
