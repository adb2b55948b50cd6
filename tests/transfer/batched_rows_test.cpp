// Rows sent to MySQL in multi-row batches inside one transaction, against rows sent one
// statement each: a Paradox table with refused rows scattered through it (too long for their
// column, keys taken by an earlier row, in the same batch and across batches, the first row
// and the last) must leave the same rows in the server and the same reports, each naming its
// row's own single-row statement. Also: a window closed mid-table leaves no row behind, and
// only a table whose engine keeps transactions is sent in batches. Batches go by LOAD DATA
// from memory first, each while the next is gathered: the values must arrive exactly as the
// INSERT statements leave them, a batch the server warns about must go as INSERT statements
// (and only that batch), a server that takes no LOAD DATA LOCAL must still get every row, and
// a batch still under way when the window closes or the connection ends is settled first.

#include "recording_front_end.h"
#include "transfer_fixture.h"

#include "catalogue/login_fields.h"
#include "connections/connection.h"
#include "paradoxfile/table_writer.h"
#include "base/step_guard.h"
#include "transfer/mysql_row_fit.h"
#include "transfer/mysql_row_sending.h"
#include "transfer/row_copy.h"

#include <algorithm>
#include <set>

namespace quintabel::testing {
namespace {

constexpr RowCopyLabels kLabels{
    .rowCount = 294,
    .rowLoop = 296,
    .repaint = 298,
    .progress = 300,
    .statementStart = 302,
    .fieldLoop = 304,
    .fieldRepaint = 306,
    .valueText = 308,
    .execute = 338,
    .moveNext = 340,
};

constexpr int kNameLength = 6;
const std::string kTable = "ITEMS";
const std::string kCreate = "CREATE TABLE ITEMS (ID INT PRIMARY KEY, NAME VARCHAR(6))";

struct SourceRow {
    std::int64_t id;
    std::string name;
};

// 80 rows. Too long for NAME: the first, the last, and some in between (two side by side);
// a key taken already: by the row just before (so within one batch) and by a row far back.
std::vector<SourceRow> scatteredRows()
{
    std::vector<SourceRow> rows;
    for (std::int64_t number = 1; number <= 80; ++number)
        rows.push_back({number, "n" + std::to_string(number)});
    for (const std::size_t index : {0u, 16u, 17u, 40u, 63u, 79u})
        rows[index].name = "far too long " + std::to_string(index);
    rows[24].id = rows[23].id;
    rows[50].id = rows[2].id;
    return rows;
}

// Whether the server refuses each row: a name too long, or a key that an earlier row took.
std::vector<bool> refusedRows(const std::vector<SourceRow>& rows)
{
    std::vector<bool> refused;
    std::set<std::int64_t> taken;
    for (const SourceRow& row : rows) {
        const bool fits = row.name.size() <= kNameLength && !taken.contains(row.id);
        if (fits)
            taken.insert(row.id);
        refused.push_back(!fits);
    }
    return refused;
}

// The rows the server keeps, in the order of their keys.
std::vector<SourceRow> rowsThatFit(const std::vector<SourceRow>& rows)
{
    const std::vector<bool> refused = refusedRows(rows);
    std::vector<SourceRow> kept;
    for (std::size_t index = 0; index < rows.size(); ++index) {
        if (!refused[index])
            kept.push_back(rows[index]);
    }
    std::sort(kept.begin(), kept.end(), [](const SourceRow& a, const SourceRow& b) { return a.id < b.id; });
    return kept;
}

struct CopyResult {
    RowCopyOutcome outcome;
    Rows rows;
    std::vector<QString> reports;
    std::vector<RefusedRow> refused; // as the front end heard of them
    std::int64_t loads = 0;          // LOAD DATA statements the copy's connection ran
    std::int64_t inserts = 0;        // INSERT statements it ran
};

// How many statements of a kind ("Com_load", "Com_insert") `connection` has run: its own
// session's count, which tests running beside it on the same server do not move.
std::int64_t statementsRun(connections::Connection& connection, const std::string& counter)
{
    connections::Recordset answer = connection.Execute("SHOW SESSION STATUS LIKE '" + counter + "'");
    return std::stoll(db::toText(answer.Fields(1).Value()));
}

class BatchedRowsTest : public TransferTest {
protected:
    void writeSource(const std::vector<SourceRow>& rows)
    {
        paradox::TableWriter writer(paradoxFolder.path(), kTable,
                                    {{"ID", paradox::FieldType::Long, 4, 0}, {"NAME", paradox::FieldType::Alpha, 20, 0}});
        for (const SourceRow& row : rows) {
            const std::vector<paradox::Value> record{row.id, row.name};
            writer.append(record);
        }
        writer.commit();
    }

    // Copies the Paradox table into a fresh ITEMS on the server (made by `create`), as
    // `options` say.
    CopyResult copy(const RowCopyOptions& options, bool checkFit, const std::function<bool()>& endRequested = {},
                    const std::string& create = kCreate)
    {
        runSql("DROP TABLE IF EXISTS ITEMS");
        runSql(create);
        const std::size_t reportsBefore = reports().size();
        connections::Connection paradox;
        paradox.Open(paradoxConnectionStringOf(fields()));
        connections::Connection mysql;
        mysql.Open(database.connectionString());
        connections::Recordset source;
        source.setCursorLocation(connections::adUseServer);
        source.Open("SELECT * FROM `" + kTable + "`", paradox);
        std::optional<MySqlColumnsFit> fit;
        if (checkFit)
            fit = MySqlColumnsFit::forCreatedTable(mysql, kTable);
        StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton4_Click"));
        testing::RecordingFrontEnd frontEnd({}, {});
        frontEnd.stop = endRequested;
        CopyResult result;
        result.outcome = copyRows(guard, kLabels, source, mysql, kTable, TargetKind::MySQL,
                                  fit ? &*fit : nullptr, frontEnd, QString::fromStdString(kTable), options);
        result.refused = frontEnd.refused;
        if (!result.outcome.cutShort) { // a connection ended from outside has no counts to tell
            result.loads = statementsRun(mysql, "Com_load");
            result.inserts = statementsRun(mysql, "Com_insert");
        }
        result.rows = queryMySql("SELECT ID, NAME FROM ITEMS ORDER BY ID");
        const std::vector<ShownBox> shown = reports();
        for (std::size_t index = reportsBefore; index < shown.size(); ++index)
            result.reports.push_back(shown[index].text);
        return result;
    }

    static RowCopyOptions batched(std::size_t batchBytes, bool loadFromMemory = true)
    {
        RowCopyOptions options;
        options.sending = RowSending::Batched;
        options.batchBytes = batchBytes;
        options.loadFromMemory = loadFromMemory;
        return options;
    }
};

TEST_F(BatchedRowsTest, RefusedRowsGetTheSameReportsAndTheOtherRowsArriveAsWhenSentOneByOne)
{
    const std::vector<SourceRow> source = scatteredRows();
    writeSource(source);
    const std::vector<SourceRow> expected = rowsThatFit(source);
    const std::size_t refused = source.size() - expected.size();

    // With and without the check of values against the columns (which catches the long
    // names before the server does; the taken keys only the server can tell).
    for (const bool checkFit : {false, true}) {
        SCOPED_TRACE(checkFit ? "values checked first" : "every row sent");
        const CopyResult oneByOne = copy(RowCopyOptions{}, checkFit);
        ASSERT_EQ(oneByOne.rows.size(), expected.size());
        for (std::size_t index = 0; index < expected.size(); ++index) {
            EXPECT_EQ(db::toText(oneByOne.rows[index][0]), std::to_string(expected[index].id));
            EXPECT_EQ(db::toText(oneByOne.rows[index][1]), expected[index].name);
        }
        ASSERT_EQ(oneByOne.reports.size(), refused);
        EXPECT_EQ(oneByOne.outcome.rowsFailed, static_cast<std::int64_t>(refused));

        // Batches of a few rows each, of many rows, and of one row (every batch refused).
        for (const std::size_t batchBytes : {std::size_t{120}, std::size_t{1} << 20, std::size_t{1}}) {
            SCOPED_TRACE("batches of at most " + std::to_string(batchBytes) + " bytes");
            const CopyResult inBatches = copy(batched(batchBytes), checkFit);
            EXPECT_EQ(inBatches.rows, oneByOne.rows);
            EXPECT_EQ(inBatches.reports, oneByOne.reports);
            EXPECT_EQ(inBatches.outcome.rowsFailed, oneByOne.outcome.rowsFailed);
            EXPECT_EQ(inBatches.outcome.rowCount, static_cast<std::int64_t>(source.size()));
            EXPECT_FALSE(inBatches.outcome.cutShort);
        }
    }
}

TEST_F(BatchedRowsTest, EachReportNamesItsRowsOwnStatement)
{
    const std::vector<SourceRow> source = scatteredRows();
    writeSource(source);
    const std::vector<bool> refused = refusedRows(source);
    const CopyResult inBatches = copy(batched(200), false);
    std::size_t next = 0;
    for (std::size_t index = 0; index < source.size(); ++index) {
        if (!refused[index])
            continue;
        ASSERT_LT(next, inBatches.reports.size());
        const QString statement = QStringLiteral("sql: INSERT INTO `ITEMS` VALUES('%1', '%2')")
                                      .arg(source[index].id)
                                      .arg(QString::fromStdString(source[index].name));
        EXPECT_TRUE(inBatches.reports[next].endsWith(statement))
            << "row " << index + 1 << ": " << inBatches.reports[next].toStdString();
        ++next;
    }
    EXPECT_EQ(next, inBatches.reports.size());
}

TEST_F(BatchedRowsTest, TheFrontEndHearsOfEveryRefusedRowWithItsNumberReasonAndStatement)
{
    const std::vector<SourceRow> source = scatteredRows();
    writeSource(source);
    const std::vector<bool> refused = refusedRows(source);
    std::vector<std::int64_t> refusedNumbers;
    for (std::size_t index = 0; index < source.size(); ++index) {
        if (refused[index])
            refusedNumbers.push_back(static_cast<std::int64_t>(index + 1));
    }
    ASSERT_FALSE(refusedNumbers.empty());

    // One by one, in batches re-sent row by row, and with the values checked before sending.
    for (const bool checkFit : {false, true}) {
        for (const RowCopyOptions& options : {RowCopyOptions{}, batched(200), batched(1)}) {
            SCOPED_TRACE(std::string(checkFit ? "checked" : "unchecked") + ", batch bytes "
                         + std::to_string(options.sending == RowSending::Batched ? options.batchBytes : 0));
            const CopyResult result = copy(options, checkFit);
            ASSERT_EQ(result.refused.size(), refusedNumbers.size());
            ASSERT_EQ(result.refused.size(), result.reports.size());
            for (std::size_t next = 0; next < result.refused.size(); ++next) {
                const RefusedRow& row = result.refused[next];
                const SourceRow& sourceRow = source[static_cast<std::size_t>(refusedNumbers[next] - 1)];
                EXPECT_EQ(row.row, refusedNumbers[next]);
                EXPECT_EQ(row.table, QString::fromStdString(kTable));
                EXPECT_FALSE(row.reason.isEmpty());
                // The server's "at row 1" (its row within one statement) becomes the table's row.
                if (row.reason.contains(QStringLiteral(" at row "))) {
                    EXPECT_TRUE(row.reason.endsWith(QStringLiteral(" at row %1").arg(row.row))) << row.reason.toStdString();
                }
                // The reason is the report's own first words; the statement is the row's own.
                EXPECT_TRUE(result.reports[next].startsWith(row.reason.left(40))) << row.reason.toStdString();
                EXPECT_TRUE(row.statement.contains(QString::fromStdString(sourceRow.name)))
                    << row.statement.toStdString();
            }
        }
    }
}

// Each batch's LOAD DATA runs while the next batch is gathered: refusals deep inside a large
// batch and in batches one after the other, and rows kept out by the value check while the
// rows before them are still under way, must leave the rows and reports of rows sent alone.
TEST_F(BatchedRowsTest, RefusalsDeepInsideBatchesUnderWayGetTheReportsOfRowsSentOneByOne)
{
    std::vector<SourceRow> source;
    for (std::int64_t number = 1; number <= 3000; ++number)
        source.push_back({number, "n" + std::to_string(number)});
    // Too long, which the server refuses (LOAD DATA cuts it with a warning): deep in the table,
    // two side by side, one a batch or so later, and the last row.
    for (const std::size_t index : {1499u, 1500u, 1620u, 2999u})
        source[index].name = "far too long " + std::to_string(index);
    // A key taken long before: LOAD DATA skips the row with a warning, the INSERT refuses it.
    source[2200].id = source[9].id;
    // Trailing blanks, which a CHAR column drops silently: the value check keeps these rows
    // out, a few rows after a refused one, before the server has answered for that one.
    for (const std::size_t index : {1510u, 2205u})
        source[index].name = "b" + std::to_string(index % 10) + "  ";
    writeSource(source);
    const std::string create = "CREATE TABLE ITEMS (ID INT PRIMARY KEY, NAME CHAR(6))";

    for (const bool checkFit : {false, true}) {
        SCOPED_TRACE(checkFit ? "values checked first" : "every row sent");
        const CopyResult oneByOne = copy(RowCopyOptions{}, checkFit, {}, create);
        ASSERT_EQ(oneByOne.reports.size(), checkFit ? 7u : 5u);
        ASSERT_EQ(oneByOne.rows.size(), source.size() - oneByOne.reports.size());
        // One batch of every row, and about a hundred rows to a batch.
        for (const std::size_t batchBytes : {std::size_t{1} << 20, std::size_t{2000}}) {
            SCOPED_TRACE("batches of at most " + std::to_string(batchBytes) + " bytes");
            const CopyResult inBatches = copy(batched(batchBytes), checkFit, {}, create);
            EXPECT_EQ(inBatches.rows, oneByOne.rows);
            EXPECT_EQ(inBatches.reports, oneByOne.reports);
            ASSERT_EQ(inBatches.refused.size(), oneByOne.refused.size());
            for (std::size_t index = 0; index < inBatches.refused.size(); ++index) {
                EXPECT_EQ(inBatches.refused[index].row, oneByOne.refused[index].row);
                EXPECT_EQ(inBatches.refused[index].statement, oneByOne.refused[index].statement);
                EXPECT_EQ(inBatches.refused[index].column, oneByOne.refused[index].column);
            }
            EXPECT_EQ(inBatches.outcome.rowsFailed, oneByOne.outcome.rowsFailed);
            EXPECT_FALSE(inBatches.outcome.cutShort);
        }
    }
}

TEST_F(BatchedRowsTest, AWindowClosedWhileABatchIsUnderWayStillReportsItsRefusedRows)
{
    // Rows of one length ("('10', 'r10')"): batches of exactly five rows, the statement's
    // 26 bytes of "INSERT INTO `ITEMS` VALUES" and five rows' 13 bytes with a comma between.
    constexpr std::size_t kFiveRows = 26 + 5 * 13 + 4;
    std::vector<SourceRow> source;
    for (std::int64_t number = 10; number < 60; ++number)
        source.push_back({number, "r" + std::to_string(number)});
    // Row 23 takes row 3's key. Its batch (rows 21 to 25) goes when row 26 is added and is
    // answered when row 31 is: it is still under way when the window closes before row 31.
    source[22].id = source[2].id;
    writeSource(source);
    int asked = 0;
    // Sent by INSERT, a batch is answered before the next row is read, as every batch was.
    const CopyResult byInsert = copy(batched(kFiveRows, false), false, [&] { return ++asked > 30; });
    asked = 0;
    const CopyResult byLoad = copy(batched(kFiveRows), false, [&] { return ++asked > 30; });

    ASSERT_EQ(byInsert.reports.size(), 1u);
    EXPECT_EQ(byLoad.reports, byInsert.reports);
    ASSERT_EQ(byLoad.refused.size(), 1u);
    EXPECT_EQ(byLoad.refused[0].row, 23);
    EXPECT_TRUE(byLoad.outcome.stoppedByClose);
    EXPECT_TRUE(byLoad.rows.empty()) << byLoad.rows.size() << " rows of a table cut short arrived";
}

TEST_F(BatchedRowsTest, AConnectionEndedWhileBatchesAreUnderWayCutsTheRowsShort)
{
    std::vector<SourceRow> source;
    for (std::int64_t number = 1; number <= 300; ++number)
        source.push_back({number, "r" + std::to_string(number)});
    writeSource(source);
    int asked = 0;
    // Before the 120th row, with the batches before it loaded and one perhaps still under way,
    // the copy's connection is ended from outside.
    const CopyResult ended = copy(batched(100), false, [&] {
        if (++asked == 120) {
            for (const auto& row : queryMySql("SELECT ID FROM information_schema.PROCESSLIST WHERE DB = '"
                                              + database.name() + "' AND ID <> CONNECTION_ID()"))
                runSql("KILL CONNECTION " + db::toText(row.at(0)));
        }
        return false;
    });

    ASSERT_TRUE(ended.outcome.cutShort);
    EXPECT_NE(ended.outcome.cutShort->reach, FailureReach::Row);
    EXPECT_EQ(ended.outcome.rowsFailed, static_cast<std::int64_t>(source.size()));
    EXPECT_TRUE(ended.rows.empty()) << ended.rows.size() << " rows of an undone transaction arrived";
    EXPECT_TRUE(ended.refused.empty()) << "the table's end says it, not one report per row";
}

TEST_F(BatchedRowsTest, AWindowClosedMidTableLeavesNoRowOfIt)
{
    std::vector<SourceRow> source;
    for (std::int64_t number = 1; number <= 50; ++number)
        source.push_back({number, "r" + std::to_string(number)});
    writeSource(source);
    int asked = 0;
    // Asked before every row: the window closes at the 31st, after several batches went.
    const CopyResult closed = copy(batched(100), false, [&] { return ++asked > 30; });
    EXPECT_TRUE(closed.outcome.stoppedByClose);
    EXPECT_TRUE(closed.rows.empty()) << closed.rows.size() << " rows of a table cut short arrived";
    EXPECT_TRUE(closed.reports.empty());
}

TEST_F(BatchedRowsTest, OnlyATableWhoseEngineKeepsTransactionsIsSentInBatches)
{
    connections::Connection mysql;
    mysql.Open(database.connectionString());
    runSql("CREATE TABLE KEPT (ID INT) ENGINE=InnoDB");
    runSql("CREATE TABLE UNKEPT (ID INT) ENGINE=MyISAM");
    runSql("CREATE TABLE `odd ``name` (ID INT) ENGINE=InnoDB");

    const RowCopyOptions kept = mySqlRowSending(mysql, "KEPT");
    EXPECT_EQ(kept.sending, RowSending::Batched);
    const Rows packet = queryMySql("SELECT @@max_allowed_packet");
    EXPECT_LT(kept.batchBytes, std::stoull(db::toText(packet.at(0).at(0))));
    EXPECT_GT(kept.batchBytes, 0u);

    EXPECT_EQ(mySqlRowSending(mysql, "UNKEPT").sending, RowSending::OneByOne);
    EXPECT_EQ(mySqlRowSending(mysql, "odd `name").sending, RowSending::Batched);
    EXPECT_EQ(mySqlRowSending(mysql, "NO_SUCH_TABLE").sending, RowSending::OneByOne);
}

TEST_F(BatchedRowsTest, ValuesArriveByLoadDataExactlyAsByInsertStatements)
{
    // What a file of tab-separated lines could misread: its separators and escape character,
    // its NULL marker and the word NULL, apostrophes, blanks, and text in another character set.
    const std::vector<std::string> texts{"tab\there",        "line\nbreak",  "back\\slash",   "\\N",
                                         "NULL",              "O'Neil",        "ends in \\",    "  spaced  ",
                                         "\xC3\xBC \xE2\x82\xAC \xC3\x9F", "cr\r\nlf", "",
                                         "\"quoted\"",         "2021-08-31",    "1e5",            "\\t"};
    paradox::TableWriter writer(paradoxFolder.path(), "VALS",
                                {{"ID", paradox::FieldType::Long, 4, 0},
                                 {"T", paradox::FieldType::Alpha, 40, 0},
                                 {"NUM", paradox::FieldType::Number, 8, 0},
                                 {"DAY", paradox::FieldType::Date, 4, 0},
                                 {"STAMP", paradox::FieldType::Timestamp, 8, 0},
                                 {"LAT", paradox::FieldType::Alpha, 10, 0}});
    for (std::size_t index = 0; index < texts.size(); ++index) {
        const auto number = static_cast<std::int64_t>(index + 1);
        const std::vector<paradox::Value> record{
            number,
            texts[index].empty() ? paradox::Value{paradox::Null{}} : paradox::Value{texts[index]},
            index % 3 == 0 ? paradox::Value{paradox::Null{}} : paradox::Value{0.1 * static_cast<double>(index) - 1},
            paradox::Date{2000 + static_cast<int>(index), 2, 28 - static_cast<int>(index % 2)},
            paradox::Timestamp{{1999, 12, 31}, {23, 59, static_cast<int>(index), 0}},
            index % 2 == 0 ? paradox::Value{std::string("caf\xC3\xA9")} : paradox::Value{std::string("x\ty")}};
        writer.append(record);
    }
    writer.commit();

    const std::string create =
        "CREATE TABLE VALS (ID INT PRIMARY KEY, T TEXT, NUM DOUBLE, DAY TEXT, STAMP DATETIME,"
        " LAT VARCHAR(10) CHARACTER SET latin1)";
    const std::string select = "SELECT ID, HEX(T), NUM, HEX(DAY), STAMP, HEX(LAT) FROM VALS ORDER BY ID";
    // The LOAD DATA and INSERT statements of the batched copy's connection.
    std::int64_t loads = 0;
    std::int64_t inserts = 0;
    const auto copyVals = [&](const RowCopyOptions& options) {
        runSql("DROP TABLE IF EXISTS VALS");
        runSql(create);
        connections::Connection paradox;
        paradox.Open(paradoxConnectionStringOf(fields()));
        connections::Connection mysql;
        mysql.Open(database.connectionString());
        connections::Recordset source;
        source.Open("SELECT * FROM `VALS`", paradox);
        StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton4_Click"));
        testing::RecordingFrontEnd frontEnd({}, {});
        const RowCopyOutcome outcome = copyRows(guard, kLabels, source, mysql, "VALS", TargetKind::MySQL,
                                                nullptr, frontEnd, QStringLiteral("VALS"), options);
        EXPECT_EQ(outcome.rowsFailed, 0);
        loads = statementsRun(mysql, "Com_load");
        inserts = statementsRun(mysql, "Com_insert");
        return queryMySql(select);
    };

    const Rows oneByOne = copyVals(RowCopyOptions{});
    ASSERT_EQ(oneByOne.size(), texts.size());
    EXPECT_EQ(copyVals(batched(1 << 20, false)), oneByOne);
    EXPECT_EQ(copyVals(batched(1 << 20)), oneByOne);
    // The rows went by LOAD DATA, not by a fallback to INSERT.
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(inserts, 0);
    EXPECT_TRUE(reports().empty());
}

TEST_F(BatchedRowsTest, OnlyTheBatchTheServerWarnsAboutGoesAsInsertStatements)
{
    std::vector<SourceRow> source;
    for (std::int64_t number = 1; number <= 60; ++number)
        source.push_back({number, "r" + std::to_string(number)});
    // MariaDB keeps this name cut to six characters, with a warning, when it comes by LOAD DATA
    // LOCAL; the INSERT refuses it.
    source[29].name = "far too long";
    writeSource(source);
    // About six rows to a batch: ten batches.
    const CopyResult inBatches = copy(batched(100), false);
    const std::int64_t loads = inBatches.loads;
    const std::int64_t inserts = inBatches.inserts;

    EXPECT_EQ(inBatches.rows.size(), source.size() - 1);
    ASSERT_EQ(inBatches.reports.size(), 1u);
    EXPECT_TRUE(inBatches.reports[0].endsWith(QStringLiteral("sql: INSERT INTO `ITEMS` VALUES('30', 'far too long')")))
        << inBatches.reports[0].toStdString();
    EXPECT_EQ(inBatches.outcome.rowsFailed, 1);
    EXPECT_GE(loads, 8);
    // The refused batch's multi-row INSERT and its rows one by one; none of the other rows.
    EXPECT_GE(inserts, 2);
    EXPECT_LE(inserts, 1 + 8);
}

TEST_F(BatchedRowsTest, AServerThatTakesNoLoadDataLocalStillGetsEveryRow)
{
    const std::vector<SourceRow> source = scatteredRows();
    writeSource(source);
    const CopyResult oneByOne = copy(RowCopyOptions{}, false);
    const std::string before = db::toText(queryMySql("SELECT @@GLOBAL.local_infile").at(0).at(0));
    runSql("SET GLOBAL local_infile = 0");
    struct PutBack {
        std::function<void()> action;
        ~PutBack() { action(); }
    } putBack{[&] { runSql("SET GLOBAL local_infile = " + before); }};
    const CopyResult inBatches = copy(batched(120), false);
    EXPECT_EQ(inBatches.rows, oneByOne.rows);
    EXPECT_EQ(inBatches.reports, oneByOne.reports);
    EXPECT_FALSE(inBatches.outcome.cutShort);
}

} // namespace
} // namespace quintabel::testing
