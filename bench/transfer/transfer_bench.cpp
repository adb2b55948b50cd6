// Both transfers against a private MariaDB server, side by side with their peers, in one run.
//
//   transfer_bench --port PORT [--rows 100000,1000000] [--repeat 3] [--dir FOLDER]
//
// For each row count it fills a table of mixed types (INT, VARCHAR, DECIMAL, DOUBLE, DATE,
// DATETIME) on the server, then times, each in a child process of its own:
//
//   MySQL to Paradox   the program's "Send Table/s To Paradox" for that table
//     peer: fetch      the mariadb client reading the same table (--quick, output discarded)
//     peer: pxlib      pxlib writing the same rows, with the same fields, as a Paradox table
//   Paradox to MySQL   the program's "Send Table/s To MySQL" for the table just written
//                      (batches by LOAD DATA LOCAL from memory, in one transaction)
//     peer: single     the mariadb client running the same CREATE and one INSERT per row,
//                      from a file, over TCP as the program connects (the old way)
//     peer: multi      the same rows as multi-row INSERTs of about a megabyte in one
//                      transaction
//     peer: load data  the same rows by LOAD DATA LOCAL INFILE from a tab-separated file
//
// and reports rows/s, the ratios, and each child's peak resident memory (getrusage).
//
// Keys: the same rows with `id` as the primary key ("keyed"), sent both ways, taking turns with
// the unkeyed table in the same runs; and a table keyed on a text column in a collation that
// folds case ("sorted"), whose rows come from MySQL out of Paradox's key order and are sorted
// on the way.
// The server must be running (scripts/mariadb-sandbox.sh start DIR PORT). For the run it is
// set to the default durability, a log flush at every commit (innodb_flush_log_at_trx_commit
// = 1), since that is what a user's server pays per commit; the setting is put back after.

#include "catalogue/window/form2.h"
#include "catalogue/window/table_name_list.h"
#include "connections/connection.h"
#include "connections/connection_string.h"
#include "paradoxfile/table_reader.h"
#include "base/message_boxes.h"
#include "transfer/window/attach_transfers.h"
#include "transfer/date_rewrite.h"
#include "transfer/default_column_types.h"
#include "transfer/row_insert_statement.h"

extern "C" {
#include <paradox.h>
}

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace quintabel;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kDatabase = "qbench_transfers";
constexpr const char* kUser = "quintabel";
constexpr const char* kPassword = "quintabel-sandbox";
// One INSERT per row commits per row: at a million rows, with a log flush per commit, that
// peer alone would take a quarter of an hour. It is measured up to this many rows.
constexpr long kLargestSingleRowPeer = 100000;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "transfer_bench: %s\n", message.c_str());
    std::exit(1);
}

connections::LoginFields login(const std::string& port, const std::string& database)
{
    connections::LoginFields fields;
    fields.server = "127.0.0.1";
    fields.port = port;
    fields.user = kUser;
    fields.password = kPassword;
    fields.database = database;
    return fields;
}

void runOnServer(const std::string& port, const std::string& database, const std::string& statement)
{
    connections::Connection connection;
    connection.setCommandTimeout(0);
    connection.Open(connections::mySqlConnectionString(login(port, database)));
    connection.Execute(statement);
}

// --- the program's transfers, in a child -----------------------------------------------------

// The transfers must never ask or report anything here; any box ends the run as a failure.
class NoBoxes final : public MessageBoxes {
public:
    BoxAnswer showBox(const BoxRequest& request) override
    {
        fail("a box was shown: " + request.text.toStdString());
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override
    {
        fail("an input box was shown");
    }
};

// Runs one transfer of `table` in a tables window and prints its seconds.
int runProgramTransfer(bool toParadox, const std::string& port, const fs::path& programFolder,
                       const fs::path& paradoxFolder, const QString& table)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "transfer_bench";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    NoBoxes boxes;
    MessageBoxesInstallation installed(boxes);
    QWidget connectionWindow;
    Form2::Environment environment;
    environment.programFolder = QString::fromStdString(programFolder.string());
    Form2 window(environment, connectionWindow);
    window.ensureLoaded();

    ConnectionFields fields;
    fields.paradoxFolder = QString::fromStdString(paradoxFolder.string());
    fields.server = QStringLiteral("127.0.0.1");
    fields.port = QString::fromStdString(port);
    fields.user = QString::fromLatin1(kUser);
    fields.password = QString::fromLatin1(kPassword);
    fields.database = QString::fromLatin1(kDatabase);
    // The bench's folder, with its empty dbtemp.mdb, stands in for the program's scratch folder.
    attachTransfers(window, {[fields] { return fields; }, [folder = environment.programFolder] { return folder; }, nullptr});

    QListWidget& source = toParadox ? *window.List1 : *window.List2;
    addTableName(source, table);
    source.item(0)->setSelected(true);
    setListIndex(source, 0);
    const auto start = Clock::now();
    (toParadox ? window.PushButton3 : window.PushButton4)->click();
    std::printf("%.6f\n", secondsSince(start));
    return 0;
}

// --- the peers -----------------------------------------------------------------------------

void quietPxlib(pxdoc_t*, int, const char* message, void*)
{
    std::fprintf(stderr, "pxlib: %s\n", message);
}

// pxlib's day count for a date: days since 1 January of year 1, plus one.
long pxlibDay(int year, int month, int day)
{
    return PX_GregorianToSdn(year, month, day) - 1721425;
}

// Reads the table from the server (not timed), then times pxlib writing its rows with the
// fields the program's own Paradox table got, and prints the seconds.
int runPxlibWrite(const std::string& port, const fs::path& programTable, const fs::path& output)
{
    connections::Connection mysql;
    mysql.setCursorLocation(connections::adUseClient);
    mysql.Open(connections::mySqlConnectionString(login(port, kDatabase)));
    connections::Recordset rows = mysql.Execute("SELECT * FROM `mixed`");
    std::vector<std::vector<db::Value>> table;
    while (!rows.Eof()) {
        std::vector<db::Value> row;
        for (int f = 0; f < rows.FieldCount(); ++f)
            row.push_back(rows.Fields(f).Value());
        table.push_back(std::move(row));
        rows.MoveNext();
    }
    const std::vector<paradox::Field> fields = paradox::TableReader::open(programTable).fields();

    const auto start = Clock::now();
    pxdoc_t* doc = PX_new2(quietPxlib, nullptr, nullptr, nullptr);
    // pxlib frees the field array and its names itself.
    auto* pxFields = static_cast<pxfield_t*>(std::calloc(fields.size(), sizeof(pxfield_t)));
    for (std::size_t i = 0; i < fields.size(); ++i) {
        pxFields[i].px_fname = strdup(fields[i].name.c_str());
        pxFields[i].px_ftype = static_cast<char>(fields[i].type);
        pxFields[i].px_flen = fields[i].size;
        pxFields[i].px_fdc = fields[i].decimals;
    }
    if (PX_create_file(doc, pxFields, static_cast<int>(fields.size()), output.c_str(), pxfFileTypNonIndexDB) < 0)
        fail("pxlib could not create " + output.string());
    PX_set_parameter(doc, "tablename", "PXLIB");
    PX_set_inputencoding(doc, "UTF-8");
    PX_set_value(doc, "codepage", 1252);
    PX_set_targetencoding(doc, "CP1252");
    std::vector<char> record(static_cast<std::size_t>(PX_get_recordsize(doc)));
    for (const auto& row : table) {
        std::fill(record.begin(), record.end(), 0);
        char* at = record.data();
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const db::Value& value = row[f];
            const int size = fields[f].size;
            if (!db::isNull(value)) {
                switch (fields[f].type) {
                case paradox::FieldType::Alpha: {
                    std::string text = db::toText(value);
                    PX_put_data_alpha(doc, at, size, text.data());
                    break;
                }
                case paradox::FieldType::Long:
                    PX_put_data_long(doc, at, size, static_cast<int>(std::get<std::int64_t>(value)));
                    break;
                case paradox::FieldType::Number:
                    PX_put_data_double(doc, at, size, std::strtod(db::toText(value).c_str(), nullptr));
                    break;
                case paradox::FieldType::Timestamp: {
                    db::DateTime stamp;
                    if (const auto* day = std::get_if<db::Date>(&value))
                        stamp.date = *day;
                    else
                        stamp = std::get<db::DateTime>(value);
                    const double ms = (static_cast<double>(pxlibDay(stamp.date.year, stamp.date.month, stamp.date.day)) * 86400.0
                                       + stamp.time.hour * 3600.0 + stamp.time.minute * 60.0 + stamp.time.second) * 1000.0;
                    PX_put_data_double(doc, at, size, ms);
                    break;
                }
                default:
                    fail("the benchmark table has a field type this peer does not write");
                }
            }
            at += size;
        }
        if (PX_put_record(doc, record.data()) < 0)
            fail("pxlib could not write a record");
    }
    PX_close(doc);
    PX_delete(doc);
    std::printf("%.6f\n", secondsSince(start));
    return 0;
}

// The text of a value in a LOAD DATA file: \N for a null or an empty text (which the program
// sends as NULL too), dates rewritten as the program rewrites them, and the escape character,
// tabs and line ends escaped.
std::string loadDataField(const db::Value& value)
{
    std::string text = mysqlDateTimeText(value).value_or(db::toText(value));
    if (db::isNull(value) || text.empty())
        return "\\N";
    std::string escaped;
    for (const char character : text) {
        if (character == '\\' || character == '\t' || character == '\n')
            escaped += '\\';
        escaped += character == '\n' ? 'n' : character == '\t' ? 't' : character;
    }
    return escaped;
}

// Writes what the peers send for the Paradox table: its default CREATE TABLE with one INSERT
// per row (`single`), with multi-row INSERTs in one transaction (`multi`), and with LOAD DATA
// LOCAL INFILE of `rowsFile` (`load`), each statement ended with ";" for the client.
void writePeerFiles(const fs::path& folder, const std::string& table, const fs::path& single, const fs::path& multi,
                    const fs::path& load, const fs::path& rowsFile)
{
    connections::LoginFields fields;
    fields.paradoxFolder = folder.string();
    connections::Connection paradox;
    paradox.setCursorLocation(connections::adUseServer);
    paradox.Open(connections::paradoxConnectionString(fields));
    connections::Recordset rows = paradox.Execute("SELECT * FROM `" + table + "`");
    std::vector<SourceField> sourceFields;
    for (int f = 0; f < rows.FieldCount(); ++f)
        sourceFields.push_back({rows.Fields(f).Name(), rows.Fields(f).Type()});
    const std::string create = DefaultCreateStatement(table, sourceFields, TargetKind::MySQL);
    std::ofstream singleOut(single, std::ios::binary);
    std::ofstream multiOut(multi, std::ios::binary);
    std::ofstream loadOut(load, std::ios::binary);
    std::ofstream rowsOut(rowsFile, std::ios::binary);
    singleOut << create << "\n";
    multiOut << create << "\nSTART TRANSACTION;\n";
    loadOut << create << "\nLOAD DATA LOCAL INFILE '" << rowsFile.string() << "' INTO TABLE `" << table
            << "` CHARACTER SET utf8mb4 FIELDS TERMINATED BY '\\t' ESCAPED BY '\\\\' LINES TERMINATED BY '\\n';\n";
    const std::string prefix = "INSERT INTO `" + table + "` VALUES";
    std::string batch;
    std::vector<db::Value> row;
    while (!rows.Eof()) {
        row.clear();
        for (int f = 0; f < rows.FieldCount(); ++f)
            row.push_back(rows.Fields(f).Value());
        const std::string statement = RowInsertStatement(table, row, TargetKind::MySQL);
        singleOut << statement << ";\n";
        batch += (batch.empty() ? prefix : ",") + statement.substr(prefix.size());
        if (batch.size() >= (1u << 20)) {
            multiOut << batch << ";\n";
            batch.clear();
        }
        for (std::size_t f = 0; f < row.size(); ++f)
            rowsOut << (f == 0 ? "" : "\t") << loadDataField(row[f]);
        rowsOut << "\n";
        rows.MoveNext();
    }
    if (!batch.empty())
        multiOut << batch << ";\n";
    multiOut << "COMMIT;\n";
}

// --- children and their measurements -------------------------------------------------------

struct ChildRun {
    std::string output;     // what it printed
    double wallSeconds = 0; // from fork to exit
    long peakKilobytes = 0; // its peak resident memory
};

// Runs `arguments` (argv[0] is the program) with stdin and stdout as given (empty: a pipe for
// stdout, /dev/null for stdin).
ChildRun runChild(const std::vector<std::string>& arguments, const std::string& stdinFile = {},
                  bool discardOutput = false)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        fail("no pipe");
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child < 0)
        fail("cannot fork");
    if (child == 0) {
        const int in = open(stdinFile.empty() ? "/dev/null" : stdinFile.c_str(), O_RDONLY);
        dup2(in, STDIN_FILENO);
        if (discardOutput)
            dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
        else
            dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    ChildRun run;
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        run.output.append(buffer, static_cast<std::size_t>(got));
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.wallSeconds = secondsSince(start);
    run.peakKilobytes = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail("'" + arguments[0] + " " + (arguments.size() > 1 ? arguments[1] : "") + "' failed");
    return run;
}

std::string selfPath()
{
    return fs::read_symlink("/proc/self/exe").string();
}

std::vector<std::string> clientArguments(const std::string& port)
{
    return {"mariadb", "--no-defaults", "--protocol=tcp", "-h127.0.0.1", "-P" + port, std::string("-u") + kUser,
            std::string("-p") + kPassword, "--default-character-set=utf8mb4", kDatabase};
}

// The server's innodb_flush_log_at_trx_commit.
std::string flushAtCommit(const std::string& port)
{
    connections::Connection connection;
    connection.setCursorLocation(connections::adUseClient);
    connection.Open(connections::mySqlConnectionString(login(port, "")));
    connections::Recordset answer = connection.Execute("SELECT @@GLOBAL.innodb_flush_log_at_trx_commit");
    return db::toText(answer.Fields(0).Value());
}

std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void fillTable(const std::string& port, long rows)
{
    runOnServer(port, "", std::string("DROP DATABASE IF EXISTS `") + kDatabase + "`");
    runOnServer(port, "", std::string("CREATE DATABASE `") + kDatabase + "` CHARACTER SET utf8mb4");
    runOnServer(port, kDatabase,
                "CREATE TABLE mixed (id INT, name VARCHAR(40), amount DECIMAL(10,2), ratio DOUBLE, born DATE,"
                " stamp DATETIME)");
    runOnServer(port, kDatabase,
                "INSERT INTO mixed SELECT seq, CONCAT('Name ', seq, ' é'), (seq % 1000000) / 100, (seq % 1000) / 8,"
                " DATE_ADD('1950-01-01', INTERVAL seq % 20000 DAY),"
                " DATE_ADD('2000-01-01 00:00:00', INTERVAL seq * 37 SECOND) FROM seq_1_to_" + std::to_string(rows));
    runOnServer(port, kDatabase, "CREATE TABLE keyed LIKE mixed");
    runOnServer(port, kDatabase, "ALTER TABLE keyed ADD PRIMARY KEY (id)");
    runOnServer(port, kDatabase, "INSERT INTO keyed SELECT * FROM mixed");
    runOnServer(port, kDatabase,
                "CREATE TABLE sorted (name VARCHAR(40) PRIMARY KEY, id INT, amount DECIMAL(10,2), ratio DOUBLE,"
                " born DATE, stamp DATETIME)");
    runOnServer(port, kDatabase,
                "INSERT INTO sorted SELECT CONCAT(IF(id % 2, 'name ', 'Name '), id), id, amount, ratio, born, stamp"
                " FROM mixed");
}

double childSeconds(const ChildRun& run)
{
    return std::strtod(run.output.c_str(), nullptr);
}


// The best of several runs: the machine may be shared, and the fastest run is the one least
// disturbed. Peak memory is the largest seen.
struct Best {
    double seconds = 0;
    long peakKilobytes = 0;
    void add(double runSeconds, long kilobytes)
    {
        seconds = seconds == 0 ? runSeconds : std::min(seconds, runSeconds);
        peakKilobytes = std::max(peakKilobytes, kilobytes);
    }
};

void printLine(const char* what, long rows, const Best& best)
{
    std::printf("  %-36s %9.3f s %11.0f rows/s %8.1f MB peak\n", what, best.seconds,
                static_cast<double>(rows) / best.seconds, static_cast<double>(best.peakKilobytes) / 1024.0);
}

void benchmark(const std::string& port, long rows, int repeats, const fs::path& root)
{
    const fs::path programFolder = root / ("rows-" + std::to_string(rows));
    const fs::path paradoxFolder = programFolder / "paradox";
    fs::remove_all(programFolder);
    fs::create_directories(paradoxFolder);
    std::ofstream(programFolder / "dbtemp.mdb");
    fillTable(port, rows);
    std::printf("\n%ld rows of (INT, VARCHAR(40), DECIMAL(10,2), DOUBLE, DATE, DATETIME), best of %d runs\n", rows,
                repeats);
    std::fflush(stdout);

    const std::string self = selfPath();
    auto fetchArguments = clientArguments(port);
    fetchArguments.insert(fetchArguments.begin() + 2, "--quick"); // after --no-defaults, which must come first
    fetchArguments.push_back("-e");
    fetchArguments.push_back("SELECT * FROM mixed");
    Best toParadox, fetch, pxlibWrite;
    for (int run = 0; run < repeats; ++run) {
        fs::remove(paradoxFolder / "mixed.db");
        const ChildRun ours = runChild({self, "child-to-paradox", port, programFolder.string(), paradoxFolder.string()});
        toParadox.add(childSeconds(ours), ours.peakKilobytes);
        const ChildRun fetched = runChild(fetchArguments, {}, true);
        fetch.add(fetched.wallSeconds, fetched.peakKilobytes);
        fs::remove(programFolder / "PXLIB.DB");
        const ChildRun written = runChild({self, "child-pxlib", port, (paradoxFolder / "mixed.db").string(),
                                           (programFolder / "PXLIB.DB").string()});
        pxlibWrite.add(childSeconds(written), written.peakKilobytes);
    }
    const double peer = fetch.seconds + pxlibWrite.seconds;
    std::printf(" MySQL to Paradox\n");
    printLine("Quintabel", rows, toParadox);
    printLine("mariadb --quick fetch", rows, fetch);
    printLine("pxlib write", rows, pxlibWrite);
    std::printf("  ratio Quintabel / (fetch + pxlib) = %.2f; Quintabel / fetch = %.2f  (target <= 4)\n",
                toParadox.seconds / peer, toParadox.seconds / fetch.seconds);

    const fs::path single = programFolder / "single.sql";
    const fs::path multi = programFolder / "multi.sql";
    const fs::path load = programFolder / "load.sql";
    const fs::path rowsFile = programFolder / "rows.tsv";
    runChild({self, "child-statements", paradoxFolder.string(), "MIXED", single.string(), multi.string(), load.string(),
              rowsFile.string()});
    auto loadArguments = clientArguments(port);
    loadArguments.insert(loadArguments.begin() + 2, "--local-infile=1"); // after --no-defaults, which must come first
    Best toMySql, singleRows, multiRows, loadData;
    for (int run = 0; run < repeats; ++run) {
        runOnServer(port, kDatabase, "DROP TABLE IF EXISTS `MIXED`");
        const ChildRun ours = runChild({self, "child-to-mysql", port, programFolder.string(), paradoxFolder.string()});
        toMySql.add(childSeconds(ours), ours.peakKilobytes);
        if (rows <= kLargestSingleRowPeer) {
            runOnServer(port, kDatabase, "DROP TABLE `MIXED`");
            const ChildRun sent = runChild(clientArguments(port), single.string(), true);
            singleRows.add(sent.wallSeconds, sent.peakKilobytes);
        }
        runOnServer(port, kDatabase, "DROP TABLE `MIXED`");
        const ChildRun batched = runChild(clientArguments(port), multi.string(), true);
        multiRows.add(batched.wallSeconds, batched.peakKilobytes);
        runOnServer(port, kDatabase, "DROP TABLE `MIXED`");
        const ChildRun loaded = runChild(loadArguments, load.string(), true);
        loadData.add(loaded.wallSeconds, loaded.peakKilobytes);
    }
    std::printf(" Paradox to MySQL\n");
    printLine("Quintabel", rows, toMySql);
    if (rows <= kLargestSingleRowPeer)
        printLine("mariadb client, one INSERT per row", rows, singleRows);
    else
        std::printf("  %-36s skipped above %ld rows (a commit per row)\n", "mariadb client, one INSERT per row",
                    kLargestSingleRowPeer);
    printLine("mariadb client, multi-row, one trx", rows, multiRows);
    printLine("mariadb client, LOAD DATA LOCAL", rows, loadData);
    if (rows <= kLargestSingleRowPeer)
        std::printf("  speed-up over one INSERT per row = %.2f  (target >= 5)\n", singleRows.seconds / toMySql.seconds);
    std::printf("  Quintabel / LOAD DATA = %.2f  (target <= 1.5); Quintabel / multi-row = %.2f\n",
                toMySql.seconds / loadData.seconds, toMySql.seconds / multiRows.seconds);

    // Keys, taking turns with the unkeyed table so that both meet the same machine.
    Best plainOut, keyedOut, sortedOut, plainIn, keyedIn;
    for (int run = 0; run < repeats; ++run) {
        for (const char* table : {"mixed", "keyed", "sorted"}) {
            fs::remove(paradoxFolder / (std::string(table) + ".db"));
            fs::remove(paradoxFolder / (std::string(table) + ".px"));
            const ChildRun out = runChild({self, "child-to-paradox", port, programFolder.string(),
                                           paradoxFolder.string(), table});
            (std::string(table) == "mixed" ? plainOut : std::string(table) == "keyed" ? keyedOut : sortedOut)
                .add(childSeconds(out), out.peakKilobytes);
        }
        for (const char* table : {"MIXED", "KEYED"}) {
            runOnServer(port, kDatabase, std::string("DROP TABLE IF EXISTS `") + table + "`");
            const ChildRun in = runChild({self, "child-to-mysql", port, programFolder.string(),
                                          paradoxFolder.string(), table});
            (std::string(table) == "MIXED" ? plainIn : keyedIn).add(childSeconds(in), in.peakKilobytes);
        }
    }
    std::printf(" Keys\n");
    printLine("to Paradox, no key", rows, plainOut);
    printLine("to Paradox, keyed on id", rows, keyedOut);
    printLine("to Paradox, keyed on a folded text", rows, sortedOut);
    printLine("to MySQL, no key", rows, plainIn);
    printLine("to MySQL, keyed on id", rows, keyedIn);
    std::printf("  keyed / unkeyed: to Paradox %.2f, to MySQL %.2f  (target <= 1.15); sorted on the way %.2f\n",
                keyedOut.seconds / plainOut.seconds, keyedIn.seconds / plainIn.seconds,
                sortedOut.seconds / plainOut.seconds);
    std::printf("  load average after the runs: %s\n", loadAverage().c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto tableArgument = [&](const char* otherwise) {
        return QString::fromStdString(args.size() > 4 ? args[4] : std::string(otherwise));
    };
    if (!args.empty() && args[0] == "child-to-paradox")
        return runProgramTransfer(true, args.at(1), args.at(2), args.at(3), tableArgument("mixed"));
    if (!args.empty() && args[0] == "child-to-mysql")
        return runProgramTransfer(false, args.at(1), args.at(2), args.at(3), tableArgument("MIXED"));
    if (!args.empty() && args[0] == "child-pxlib")
        return runPxlibWrite(args.at(1), args.at(2), args.at(3));
    if (!args.empty() && args[0] == "child-statements") {
        writePeerFiles(args.at(1), args.at(2), args.at(3), args.at(4), args.at(5), args.at(6));
        return 0;
    }

    std::string port;
    std::string rowCounts = "100000,1000000";
    int repeats = 3;
    fs::path folder = fs::temp_directory_path() / "quintabel-transfer-bench";
    for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--port")
            port = args[i + 1];
        else if (args[i] == "--rows")
            rowCounts = args[i + 1];
        else if (args[i] == "--repeat")
            repeats = std::max(1, std::stoi(args[i + 1]));
        else if (args[i] == "--dir")
            folder = args[i + 1];
        else
            fail("unknown option " + args[i]);
    }
    if (port.empty())
        fail("usage: transfer_bench --port PORT [--rows 100000,1000000] [--repeat 3] [--dir FOLDER]");
    const std::string flushBefore = flushAtCommit(port);
    runOnServer(port, "", "SET GLOBAL innodb_flush_log_at_trx_commit = 1");
    std::printf("server: innodb_flush_log_at_trx_commit = %s for the run (was %s); load average %s\n",
                flushAtCommit(port).c_str(), flushBefore.c_str(), loadAverage().c_str());
    std::stringstream counts(rowCounts);
    for (std::string count; std::getline(counts, count, ',');)
        benchmark(port, std::stol(count), repeats, folder);
    runOnServer(port, "", std::string("DROP DATABASE IF EXISTS `") + kDatabase + "`");
    runOnServer(port, "", "SET GLOBAL innodb_flush_log_at_trx_commit = " + flushBefore);
    fs::remove_all(folder);
    return 0;
}
