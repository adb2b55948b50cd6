// quintabel-cli as a user starts it: the built program in a process of its own, with no
// display, no controlling terminal and a settings folder of the test's own, against the test
// run's MariaDB server and real Paradox files.

#include "canonical_values.h"
#include "cli/text_boxes.h"
#include "connections/connection.h"
#include "paradoxfile/support/write_helpers.h"
#include "paradoxfile/table_writer.h"
#include "paradoxfile/support/table_compare.h"
#include "base/settings_store.h"
#include "transfer_fixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class CliProgramTest : public TransferTest {
protected:
    CliProgramTest() { QFile::setPermissions(runtimeFolder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }

    // Runs the program with `arguments`. It gets the test's settings folder, a runtime folder
    // for its scratch database and the sandbox password in QUINTABEL_PASSWORD (unless
    // `password` is unset); no DISPLAY, no QT_QPA_PLATFORM, and a session of its own, so that
    // there is no terminal to ask on either.
    ProgramRun run(const QStringList& arguments, const std::optional<QString>& password = QStringLiteral("quintabel-sandbox"))
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QUINTABEL_PASSWORD"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.folder());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder.path());
        if (password)
            environment.insert(QStringLiteral("QUINTABEL_PASSWORD"), *password);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setChildProcessModifier([] { ::setsid(); });
        process.start(QStringLiteral(QUINTABEL_CLI_PROGRAM), arguments);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForStarted(-1));
        process.waitForFinished(-1);
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "the program crashed";
        ProgramRun result{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                          QString::fromUtf8(process.readAllStandardError())};
        return result;
    }

    // The connection of every test, given as options rather than saved.
    QStringList connection(const QString& folder = QString()) const
    {
        const ConnectionFields sandbox = fields();
        return {QStringLiteral("--folder"),   folder.isEmpty() ? paradoxFolderText() : folder,
                QStringLiteral("--server"),   sandbox.server,
                QStringLiteral("--port"),     sandbox.port,
                QStringLiteral("--user"),     sandbox.user,
                QStringLiteral("--database"), sandbox.database};
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = files.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QJsonObject readReport(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    static QJsonObject onlyTable(const QJsonObject& report)
    {
        const QJsonArray tables = report[QStringLiteral("tables")].toArray();
        EXPECT_EQ(tables.size(), 1);
        return tables.isEmpty() ? QJsonObject() : tables[0].toObject();
    }

    void makeGreekTable()
    {
        // Row 2 holds a letter that Windows-1252, the code page of new Paradox tables, lacks.
        runSql("CREATE TABLE greek (id INT PRIMARY KEY, name VARCHAR(20)) CHARACTER SET utf8mb4");
        runSql("INSERT INTO greek VALUES (1, 'alpha'), (2, '\xce\xa9mega'), (3, 'gamma')");
    }

    QTemporaryDir runtimeFolder;
    QTemporaryDir files;
};

// The program on a terminal of its own (a pseudo-terminal the test holds the other end of),
// without QUINTABEL_PASSWORD: what it writes there is read, and answers are typed into it.
class OnTerminal {
public:
    OnTerminal(const QStringList& arguments, const QString& configFolder, const QString& runtimeFolder)
    {
        std::vector<std::string> words{QUINTABEL_CLI_PROGRAM};
        for (const QString& argument : arguments)
            words.push_back(argument.toStdString());
        // Made before the fork: the child of a process with threads may only exec.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QUINTABEL_PASSWORD"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
        std::vector<std::string> settings;
        for (const QString& entry : environment.toStringList())
            settings.push_back(entry.toStdString());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : settings)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        child_ = forkpty(&terminal_, nullptr, nullptr, nullptr);
        if (child_ == 0) {
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
    }

    ~OnTerminal()
    {
        if (terminal_ >= 0)
            close(terminal_);
        // A program a failed expectation left waiting for input goes with the test.
        if (child_ > 0 && !reaped_) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
    }

    // Reads what the program writes until `text` has appeared; false when the program ended
    // first. Everything read so far is kept in seen().
    bool waitFor(const QString& text)
    {
        while (!QString::fromUtf8(seen_).contains(text)) {
            char buffer[512];
            const ssize_t got = read(terminal_, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            seen_.append(buffer, got);
        }
        return true;
    }

    void type(const QByteArray& line) { EXPECT_EQ(write(terminal_, line.constData(), line.size()), line.size()); }

    int exitCode()
    {
        while (waitFor(QStringLiteral("\x01never\x01"))) {
        }
        int status = 0;
        waitpid(child_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    QString seen() const { return QString::fromUtf8(seen_); }
    bool started() const { return child_ > 0; }

private:
    int terminal_ = -1;
    pid_t child_ = -1;
    bool reaped_ = false;
    QByteArray seen_;
};

TEST_F(CliProgramTest, MovesATableEachWayWithoutAnyDisplay)
{
    runSql("CREATE TABLE plants (id INT PRIMARY KEY, name VARCHAR(20), price DECIMAL(6,2)) CHARACTER SET utf8mb4");
    runSql("INSERT INTO plants VALUES (1, 'kale', 2.50), (2, 'leek', 0.75), (3, '\xc3\xb1" "ame', NULL)");
    const ProgramRun toParadox = run(connection() << QStringLiteral("to-paradox") << QStringLiteral("plants"));
    EXPECT_EQ(toParadox.exitCode, 0) << toParadox.err.toStdString();
    EXPECT_EQ(toParadox.out, QStringLiteral("plants: 3 rows sent\n"));
    const ParadoxReadBack plants = readBackWithPxlib(paradoxFile("plants.db"));
    EXPECT_EQ(plants.problem, "");
    EXPECT_EQ(plants.records, (std::vector<std::vector<Cell>>{
                                  {"1", "kale", "2.5"}, {"2", "leek", "0.75"}, {"3", "\xc3\xb1" "ame", std::nullopt}}));

    // A genuine table written by another program, the other way.
    copyTableFamily(paradox::testing::testdataPath("paradox/python-pxlib/LAND.DB"), paradoxFolder.path());
    const std::size_t records = readBackWithPxlib(paradoxFile("LAND.DB")).records.size();
    ASSERT_GT(records, 0u);
    const ProgramRun toMySql = run(connection() << QStringLiteral("to-mysql") << QStringLiteral("land"));
    EXPECT_EQ(toMySql.exitCode, 0) << toMySql.err.toStdString();
    const Rows count = queryMySql("SELECT COUNT(*) FROM `LAND`");
    ASSERT_EQ(count.size(), 1u);
    EXPECT_EQ(db::toText(count[0][0]), std::to_string(records));
}

TEST_F(CliProgramTest, UsageMistakesExitWith64BeforeAnythingIsTouched)
{
    writeNames("NAMES", {"Ada"});
    const QString badTypes = writeFile(QStringLiteral("types.json"), "{\"NAMES\": [\"TEXT\"]}");
    const std::vector<QStringList> mistakes{
        {QStringLiteral("to-mysql")},
        {QStringLiteral("to-mysql"), QStringLiteral("NAMES"), QStringLiteral("--verbose")},
        {QStringLiteral("to-mysql"), QStringLiteral("NAMES"), QStringLiteral("--overwrite=ask")},
        {QStringLiteral("to-mysql"), QStringLiteral("NAMES"), QStringLiteral("--types"), badTypes},
        {QStringLiteral("to-mysql"), QStringLiteral("NAMES"), QStringLiteral("--report"), files.filePath(QStringLiteral("no/such/folder/r.json"))},
        {QStringLiteral("delete"), QStringLiteral("NAMES")},
    };
    for (const QStringList& mistake : mistakes) {
        const ProgramRun result = run(connection() + mistake);
        EXPECT_EQ(result.exitCode, 64) << mistake.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(result.err.startsWith(QLatin1String("quintabel-cli: "))) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(QLatin1String("--help"))) << result.err.toStdString();
    }
    // A Paradox folder that is not there stops the run before a row is read, either way.
    for (const QString& command : {QStringLiteral("to-mysql"), QStringLiteral("to-paradox")}) {
        const ProgramRun result =
            run(connection(files.filePath(QStringLiteral("no such folder"))) << command << QStringLiteral("NAMES"));
        EXPECT_EQ(result.exitCode, 64) << command.toStdString();
        EXPECT_TRUE(result.err.contains(QLatin1String("no such folder' does not exist"))) << result.err.toStdString();
    }
    EXPECT_TRUE(mySqlTables().empty());
    EXPECT_EQ(run({QStringLiteral("--help")}).exitCode, 0);
}

TEST_F(CliProgramTest, ThePasswordIsNeverTakenFromTheCommandLine)
{
    const ProgramRun asOption = run(connection() << QStringLiteral("--password=quintabel-sandbox") << QStringLiteral("tables"),
                                    std::nullopt);
    EXPECT_EQ(asOption.exitCode, 64);
    EXPECT_TRUE(asOption.err.contains(QLatin1String("--password is not accepted"))) << asOption.err.toStdString();
    EXPECT_TRUE(asOption.out.isEmpty());
    // Nor is a table name after it taken as the password: without QUINTABEL_PASSWORD, a saved
    // password or a terminal there is no password, and the server says no.
    const ProgramRun withoutOne = run(connection() << QStringLiteral("tables") << QStringLiteral("--mysql"), std::nullopt);
    EXPECT_EQ(withoutOne.exitCode, 2);
    EXPECT_TRUE(withoutOne.err.contains(QLatin1String("the MySQL tables could not be listed"))) << withoutOne.err.toStdString();
    EXPECT_EQ(run(connection() << QStringLiteral("tables") << QStringLiteral("--mysql")).exitCode, 0);
}

TEST_F(CliProgramTest, OnATerminalThePasswordIsTypedUnseenAndTheQuestionsAreAsked)
{
    runSql("CREATE TABLE NAMES (NAME VARCHAR(10))");
    writeNames("NAMES", {"Ada", "Grace"});
    OnTerminal program(connection() << QStringLiteral("to-mysql") << QStringLiteral("NAMES"), settings.folder(),
                       runtimeFolder.path());
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(program.waitFor(QStringLiteral("MySQL password for quintabel@127.0.0.1: "))) << program.seen().toStdString();
    program.type("quintabel-sandbox\n");
    ASSERT_TRUE(program.waitFor(QStringLiteral("Would you like to overwrite NAMES? [y/n] "))) << program.seen().toStdString();
    program.type("maybe\n");
    ASSERT_TRUE(program.waitFor(QStringLiteral("[y/n] maybe\r\nWould you like to overwrite NAMES? [y/n] ")))
        << program.seen().toStdString();
    program.type("y\n");
    EXPECT_EQ(program.exitCode(), 0) << program.seen().toStdString();
    EXPECT_FALSE(program.seen().contains(QLatin1String("quintabel-sandbox"))) << "the password was echoed";
    EXPECT_EQ(queryMySql("SELECT NAME FROM NAMES").size(), 2u);
}

TEST_F(CliProgramTest, TheSavedConnectionIsTheDefaultAndOptionsOverrideIt)
{
    runSql("CREATE TABLE saved_one (id INT)");
    writeNames("NAMES", {"Ada"});
    const ConnectionFields sandbox = fields();
    writeSetting(QString::fromLatin1(settings_keys::kParadoxFolder), sandbox.paradoxFolder);
    writeSetting(QString::fromLatin1(settings_keys::kServer), sandbox.server);
    writeSetting(QString::fromLatin1(settings_keys::kPort), sandbox.port);
    writeSetting(QString::fromLatin1(settings_keys::kUser), sandbox.user);
    writeSetting(QString::fromLatin1(settings_keys::kDatabase), sandbox.database);
    const ProgramRun saved = run({QStringLiteral("tables")});
    EXPECT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    EXPECT_EQ(saved.out, QStringLiteral("MySQL tables:\n  saved_one\n\nParadox tables:\n  NAMES\n"));
    const ProgramRun elsewhere = run({QStringLiteral("tables"), QStringLiteral("--mysql"), QStringLiteral("--database"),
                                      QStringLiteral("no_such_database_here")});
    EXPECT_EQ(elsewhere.exitCode, 2);
    EXPECT_TRUE(elsewhere.out.isEmpty());
}

TEST_F(CliProgramTest, TheCodePageIsTheSavedChoiceUnlessTheOptionGivesOne)
{
    // Text in code page 866 in a table whose header says 936.
    paradox::testing::writeMislabelledTable(paradoxFolder.path(), "CITIES", "CITY", {"Мир", "Москва"}, 866, 936);
    writeSetting(QString::fromLatin1(settings_keys::kParadoxCodePage), QStringLiteral("866"));
    const ProgramRun asTheHeaderSays = run(connection() << QStringLiteral("to-mysql") << QStringLiteral("CITIES")
                                                        << QStringLiteral("--code-page=table"));
    EXPECT_EQ(asTheHeaderSays.exitCode, 2);
    EXPECT_TRUE(asTheHeaderSays.err.contains(QLatin1String("not valid in code page 936"))) << asTheHeaderSays.err.toStdString();
    const ProgramRun asSaved = run(connection() << QStringLiteral("to-mysql") << QStringLiteral("CITIES"));
    EXPECT_EQ(asSaved.exitCode, 0) << asSaved.err.toStdString();
    EXPECT_EQ(queryMySql("SELECT CITY FROM CITIES").at(1).at(0), db::Value(std::string("Москва")));
}

TEST_F(CliProgramTest, AnInvalidChosenTypeFailsItsTableAndTheOthersStillGo)
{
    writeNames("FIRST", {"Ada"});
    writeNames("SECOND", {"Grace"});
    const QString types = writeFile(QStringLiteral("types.json"), "{\"FIRST\": {\"NAME\": \"WIDETEXT\"}}");
    const QString report = files.filePath(QStringLiteral("report.json"));
    const ProgramRun result = run(connection() << QStringLiteral("to-mysql") << QStringLiteral("FIRST")
                                               << QStringLiteral("SECOND") << QStringLiteral("--types") << types
                                               << QStringLiteral("--report") << report);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains(QLatin1String("FIRST.NAME: Invalid datatype."))) << result.err.toStdString();
    EXPECT_EQ(mySqlTables(), std::vector<std::string>{"SECOND"});
    const QJsonArray tables = readReport(report)[QStringLiteral("tables")].toArray();
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(tables[0].toObject()[QStringLiteral("source")].toString(), QStringLiteral("FIRST"));
    EXPECT_EQ(tables[0].toObject()[QStringLiteral("status")].toString(), QStringLiteral("failed"));
    EXPECT_EQ(tables[0].toObject()[QStringLiteral("message")].toString(), QStringLiteral("FIRST.NAME: Invalid datatype."));
    EXPECT_EQ(tables[1].toObject()[QStringLiteral("status")].toString(), QStringLiteral("complete"));
}

TEST_F(CliProgramTest, ChosenTypesShapeTheCreatedTableAndUnknownFieldsAreRefused)
{
    writeNames("NAMES", {"Ada", "Grace"});
    const QString types = writeFile(QStringLiteral("types.json"), "{\"names\": {\"name\": \"VARCHAR(80)\"}}");
    const ProgramRun chosen = run(connection() << QStringLiteral("to-mysql") << QStringLiteral("NAMES")
                                               << QStringLiteral("--types") << types);
    EXPECT_EQ(chosen.exitCode, 0) << chosen.err.toStdString();
    const Rows column = queryMySql("SELECT COLUMN_TYPE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = '"
                                   + fields().database.toStdString() + "' AND TABLE_NAME = 'NAMES'");
    ASSERT_EQ(column.size(), 1u);
    EXPECT_EQ(db::toText(column[0][0]), "varchar(80)");

    // A field the file does not name gets the type a run without --types gives it, which holds
    // a second row longer than the first.
    paradox::TableWriter pairs(paradoxFolder.path(), "PAIRS",
                               {{"NAME", paradox::FieldType::Alpha, 20, 0}, {"NOTE", paradox::FieldType::Alpha, 40, 0}});
    pairs.append(std::vector<paradox::Value>{std::string("Ada"), std::string("short")});
    pairs.append(std::vector<paradox::Value>{std::string("Grace"), std::string("a note longer than the first")});
    pairs.commit();
    const QString one = writeFile(QStringLiteral("one.json"), "{\"PAIRS\": {\"NAME\": \"VARCHAR(80)\"}}");
    const ProgramRun partly = run(connection() << QStringLiteral("to-mysql") << QStringLiteral("PAIRS")
                                               << QStringLiteral("--types") << one);
    EXPECT_EQ(partly.exitCode, 0) << partly.err.toStdString();
    EXPECT_EQ(queryMySql("SELECT NOTE FROM PAIRS").size(), 2u);

    writeNames("OTHER", {"Hedy"});
    const QString unknown = writeFile(QStringLiteral("unknown.json"), "{\"OTHER\": {\"SURNAME\": \"TEXT\"}, \"GONE\": {}}");
    const ProgramRun refused = run(connection() << QStringLiteral("to-mysql") << QStringLiteral("OTHER")
                                                << QStringLiteral("--types") << unknown);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(QLatin1String("OTHER.SURNAME: the table OTHER has no field of that name.")))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QLatin1String("GONE: the types file names it, but there is no Paradox table")))
        << refused.err.toStdString();
    EXPECT_FALSE(mySqlHasTable("OTHER"));
}

TEST_F(CliProgramTest, TheReportListsEveryRefusedRowAndTheStatusIsOne)
{
    makeGreekTable();
    const QString report = files.filePath(QStringLiteral("report.json"));
    const ProgramRun result =
        run(connection() << QStringLiteral("to-paradox") << QStringLiteral("greek") << QStringLiteral("--report") << report);
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("greek: 2 rows sent, 1 refused\n"));
    const QJsonObject json = readReport(report);
    EXPECT_EQ(json[QStringLiteral("command")].toString(), QStringLiteral("to-paradox"));
    EXPECT_EQ(json[QStringLiteral("exitStatus")].toInt(), 1);
    const QJsonObject greek = onlyTable(json);
    EXPECT_EQ(greek[QStringLiteral("source")].toString(), QStringLiteral("greek"));
    EXPECT_EQ(greek[QStringLiteral("status")].toString(), QStringLiteral("rows refused"));
    EXPECT_EQ(greek[QStringLiteral("rowsSent")].toInt(), 2);
    EXPECT_EQ(greek[QStringLiteral("rowsRefused")].toInt(), 1);
    const QJsonArray rows = greek[QStringLiteral("refusedRows")].toArray();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("row")].toInt(), 2);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("column")].toString(), QStringLiteral("name"));
    EXPECT_TRUE(rows[0].toObject()[QStringLiteral("reason")].toString().startsWith(QLatin1String("Row 2 was not copied")));
    EXPECT_EQ(readBackWithPxlib(paradoxFile("greek.db")).records.size(), 2u);
}

TEST_F(CliProgramTest, ChangedValuesAndADamagedFileAreInTheReportEvenWhenQuiet)
{
    runSql("CREATE TABLE visits (id INT, seen DATE)");
    connections::Connection mysql;
    mysql.Open(database.connectionString());
    mysql.Execute("SET SESSION sql_mode = ''"); // a zero date, as older servers let them in
    mysql.Execute("INSERT INTO visits VALUES (1, '0000-00-00'), (2, '2021-04-05')");
    const QString report = files.filePath(QStringLiteral("report.json"));
    const ProgramRun quiet = run(connection() << QStringLiteral("to-paradox") << QStringLiteral("visits")
                                              << QStringLiteral("--quiet") << QStringLiteral("--report") << report);
    EXPECT_EQ(quiet.exitCode, 0) << quiet.err.toStdString();
    EXPECT_TRUE(quiet.out.isEmpty() && quiet.err.isEmpty());
    const QJsonArray changed = onlyTable(readReport(report))[QStringLiteral("notices")].toArray();
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0].toObject()[QStringLiteral("column")].toString(), QStringLiteral("seen"));
    EXPECT_EQ(changed[0].toObject()[QStringLiteral("rows")].toInt(), 1);

    // A genuine table of 224 records whose header is made to promise 230.
    copyTableFamily(paradox::testing::testdataPath("paradox/leonhad-paradoxdriver/db/ORDERS.DB"), paradoxFolder.path());
    {
        std::fstream header(paradoxFile("ORDERS.DB"), std::ios::in | std::ios::out | std::ios::binary);
        header.seekp(0x06);
        header.put(static_cast<char>(230));
    }
    const ProgramRun damaged =
        run(connection() << QStringLiteral("to-mysql") << QStringLiteral("ORDERS") << QStringLiteral("--report") << report);
    EXPECT_EQ(damaged.exitCode, 1) << damaged.err.toStdString();
    EXPECT_EQ(damaged.out, QStringLiteral("ORDERS: 224 rows sent; its header promised 230 (the file may be damaged)\n"));
    EXPECT_TRUE(damaged.err.contains(QLatin1String("says it holds 230 rows, but its file holds 224"))) << damaged.err.toStdString();
    const QJsonObject orders = onlyTable(readReport(report));
    EXPECT_EQ(orders[QStringLiteral("status")].toString(), QStringLiteral("source damaged"));
    const QJsonArray notices = orders[QStringLiteral("notices")].toArray();
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0].toObject()[QStringLiteral("rows")].toInt(), 224);
    EXPECT_EQ(notices[0].toObject()[QStringLiteral("rowsPromised")].toInt(), 230);
}

TEST_F(CliProgramTest, ARowTheMySqlSideRefusesIsReportedWithItsColumn)
{
    runSql("CREATE TABLE NAMES (NAME VARCHAR(3) NOT NULL)");
    writeNames("NAMES", {"Ada", "Grace", "Eve"});
    const QString types = writeFile(QStringLiteral("types.json"), "{\"NAMES\": {\"NAME\": \"VARCHAR(3)\"}}");
    const QString report = files.filePath(QStringLiteral("report.json"));
    const ProgramRun result = run(connection() << QStringLiteral("to-mysql") << QStringLiteral("NAMES")
                                               << QStringLiteral("--types") << types << QStringLiteral("--overwrite=yes")
                                               << QStringLiteral("--report") << report);
    // Not every row could be copied, so the existing table was not replaced.
    EXPECT_EQ(result.exitCode, 2) << result.err.toStdString();
    const QJsonObject names = onlyTable(readReport(report));
    EXPECT_EQ(names[QStringLiteral("status")].toString(), QStringLiteral("failed"));
    EXPECT_EQ(names[QStringLiteral("rowsRefused")].toInt(), 1);
    const QJsonArray rows = names[QStringLiteral("refusedRows")].toArray();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("row")].toInt(), 2);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("column")].toString(), QStringLiteral("NAME"));
    EXPECT_TRUE(queryMySql("SELECT NAME FROM NAMES").empty());
}

TEST_F(CliProgramTest, ATableThatCannotBeCreatedFailsWithStatusTwo)
{
    writeNames("NAMES", {"Ada"});
    // The customisation window lets any text with "char(" through; the server does not.
    const QString types = writeFile(QStringLiteral("types.json"), "{\"NAMES\": {\"NAME\": \"VARCHAR(many)\"}}");
    const QString report = files.filePath(QStringLiteral("report.json"));
    const ProgramRun result = run(connection() << QStringLiteral("to-mysql") << QStringLiteral("NAMES")
                                               << QStringLiteral("--types") << types << QStringLiteral("--report") << report);
    EXPECT_EQ(result.exitCode, 2) << result.err.toStdString();
    EXPECT_TRUE(result.err.startsWith(QLatin1String("quintabel-cli: error: "))) << result.err.toStdString();
    const QJsonObject names = onlyTable(readReport(report));
    EXPECT_EQ(names[QStringLiteral("status")].toString(), QStringLiteral("failed"));
    EXPECT_EQ(names[QStringLiteral("rowsSent")].toInt(), 0);
    EXPECT_FALSE(mySqlHasTable("NAMES"));
}

TEST_F(CliProgramTest, AnExistingTableIsReplacedOnlyWhenOverwriteIsYes)
{
    runSql("CREATE TABLE NAMES (NAME VARCHAR(10))");
    runSql("INSERT INTO NAMES VALUES ('old')");
    writeNames("NAMES", {"Ada", "Grace"});
    const QString report = files.filePath(QStringLiteral("report.json"));
    for (const QStringList& keep : {QStringList{QStringLiteral("--overwrite=no")}, QStringList()}) {
        const ProgramRun kept = run(connection() << QStringLiteral("to-mysql") << QStringLiteral("NAMES") << keep
                                                 << QStringLiteral("--report") << report);
        EXPECT_EQ(kept.exitCode, 0) << kept.err.toStdString();
        EXPECT_EQ(kept.out, QStringLiteral("NAMES: skipped\n"));
        EXPECT_TRUE(kept.err.contains(QLatin1String("Would you like to overwrite NAMES? no"))) << kept.err.toStdString();
        EXPECT_EQ(onlyTable(readReport(report))[QStringLiteral("status")].toString(), QStringLiteral("skipped"));
        EXPECT_EQ(queryMySql("SELECT NAME FROM NAMES").size(), 1u);
    }
    const ProgramRun replaced = run(connection() << QStringLiteral("to-mysql") << QStringLiteral("NAMES")
                                                 << QStringLiteral("--overwrite=yes") << QStringLiteral("--quiet"));
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_TRUE(replaced.out.isEmpty());
    EXPECT_EQ(queryMySql("SELECT NAME FROM NAMES ORDER BY NAME").size(), 2u);
}

TEST_F(CliProgramTest, RenameAndDeleteActOnlyOnTablesThatAreThere)
{
    writeNames("NAMES", {"Ada"});
    writeNames("KEEP", {"Grace"});
    const auto listed = [this] { return run(connection() << QStringLiteral("tables") << QStringLiteral("--paradox")).out; };
    const ProgramRun renamed = run(connection() << QStringLiteral("rename") << QStringLiteral("--paradox")
                                                << QStringLiteral("names") << QStringLiteral("PEOPLE"));
    EXPECT_EQ(renamed.exitCode, 0) << renamed.err.toStdString();
    EXPECT_EQ(renamed.out, QStringLiteral("Renamed NAMES to PEOPLE.\n"));
    EXPECT_EQ(listed(), QStringLiteral("KEEP\nPEOPLE\n"));
    // A rename onto a name that is taken changes nothing, and says so in its status.
    EXPECT_EQ(run(connection() << QStringLiteral("rename") << QStringLiteral("--paradox") << QStringLiteral("PEOPLE")
                               << QStringLiteral("KEEP"))
                  .exitCode,
              2);
    // One name that is not there, and nothing at all is deleted.
    const ProgramRun mistyped = run(connection() << QStringLiteral("delete") << QStringLiteral("--paradox")
                                                 << QStringLiteral("PEOPLE") << QStringLiteral("KEPP"));
    EXPECT_EQ(mistyped.exitCode, 2);
    EXPECT_EQ(listed(), QStringLiteral("KEEP\nPEOPLE\n"));
    const ProgramRun deleted = run(connection() << QStringLiteral("delete") << QStringLiteral("--paradox")
                                                << QStringLiteral("PEOPLE"));
    EXPECT_EQ(deleted.exitCode, 0) << deleted.err.toStdString();
    EXPECT_EQ(deleted.out, QStringLiteral("Deleted PEOPLE.\n"));
    EXPECT_EQ(listed(), QStringLiteral("KEEP\n"));
}

TEST_F(CliProgramTest, TheProgramLoadsNoWindowSystem)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {QStringLiteral(QUINTABEL_CLI_PROGRAM)});
    ASSERT_TRUE(ldd.waitForFinished(-1));
    const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
    EXPECT_TRUE(libraries.contains(QLatin1String("libQt6Core"))) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains(QLatin1String("libQt6Gui"))) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains(QLatin1String("libQt6Widgets"))) << libraries.toStdString();
}

// The window's boxes as the command line writes them: error reports after its prefix, plain
// messages as they are, a question with the answer it got.
QString asCommandLineText(const std::vector<ShownBox>& boxes)
{
    QString text;
    for (const ShownBox& box : boxes) {
        if (box.title == QLatin1String(kErrorReportTitle))
            text += QStringLiteral("quintabel-cli: error: ") + cli::boxTextAsLines(box.text);
        else if (box.buttons == BoxButtons::Ok)
            text += cli::boxTextAsLines(box.text);
    }
    return text;
}

TEST_F(CliProgramTest, TheWindowAndTheCommandLineSendTheSameRowsAndReports)
{
    makeGreekTable();
    sendToParadox({QStringLiteral("greek")});
    const ParadoxReadBack byWindow = readBackWithPxlib(paradoxFile("greek.db"));
    ASSERT_EQ(reports().size(), 1u);

    TemporaryFolder otherFolder;
    const ProgramRun byCommandLine = run(connection(QString::fromStdString(otherFolder.string()))
                                         << QStringLiteral("to-paradox") << QStringLiteral("greek"));
    EXPECT_EQ(byCommandLine.exitCode, 1);
    const ParadoxReadBack byProgram = readBackWithPxlib(otherFolder.path() / "greek.db");
    EXPECT_EQ(byProgram.problem, "");
    EXPECT_EQ(byProgram.fieldNames, byWindow.fieldNames);
    EXPECT_EQ(byProgram.fieldTypes, byWindow.fieldTypes);
    EXPECT_EQ(byProgram.records, byWindow.records);
    EXPECT_EQ(byCommandLine.err, asCommandLineText(boxes.boxes.shown()));
}

} // namespace
} // namespace quintabel::testing
