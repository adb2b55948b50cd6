// How long the program takes to end when the tables window is closed in the middle of a
// transfer's rows. Run by hand against a private MariaDB server:
//
//   transfer_close_bench PORT ROWS FOLDER [PERCENT]
//
// fills a table of mixed types with ROWS rows on the server (database qbench_close), then, in
// a tables window of its own, sends it to a Paradox folder under FOLDER and closes the window
// once the progress bar shows PERCENT (50 unless given; 0 closes it at the run's first chance
// to notice, as a user who closes it at once); then writes it whole and sends it back to
// MySQL, closing again at PERCENT.
// For each direction it prints the seconds from the start to the close, and from the close to
// the end of the transfer, after which the program has nothing left but to return.

#include "catalogue/window/form2.h"
#include "catalogue/window/progress_bar.h"
#include "catalogue/window/table_name_list.h"
#include "connections/connection.h"
#include "connections/connection_string.h"
#include "base/message_boxes.h"
#include "transfer/window/attach_transfers.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace fs = std::filesystem;
using namespace quintabel;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kDatabase = "qbench_close";

double secondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

ConnectionFields benchFields(const std::string& port, const fs::path& paradoxFolder)
{
    ConnectionFields fields;
    fields.paradoxFolder = QString::fromStdString(paradoxFolder.string());
    fields.server = QStringLiteral("127.0.0.1");
    fields.port = QString::fromStdString(port);
    fields.user = QStringLiteral("quintabel");
    fields.password = QStringLiteral("quintabel-sandbox");
    fields.database = QString::fromLatin1(kDatabase);
    return fields;
}

void runOnServer(const std::string& port, const std::string& database, const std::string& statement)
{
    connections::LoginFields login;
    login.server = "127.0.0.1";
    login.port = port;
    login.user = "quintabel";
    login.password = "quintabel-sandbox";
    login.database = database;
    connections::Connection connection;
    connection.setCommandTimeout(0);
    connection.Open(connections::mySqlConnectionString(login));
    connection.Execute(statement);
}

// Every box is printed and answered with its default: the bench watches time, not dialogue.
class PrintedBoxes final : public MessageBoxes {
public:
    BoxAnswer showBox(const BoxRequest& request) override
    {
        std::fprintf(stderr, "box: %s\n", request.text.left(300).toStdString().c_str());
        return BoxAnswer::Yes;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

// Sends `table` in a fresh tables window; closes the window once the bar reaches
// `closeAtPercent` (never when above 100) and prints the two spans.
void sendAndClose(bool toParadox, const ConnectionFields& fields, const fs::path& programFolder,
                  const QString& table, int closeAtPercent)
{
    QWidget connectionWindow;
    Form2::Environment environment;
    environment.programFolder = QString::fromStdString(programFolder.string());
    Form2 window(environment, connectionWindow);
    window.ensureLoaded();
    window.show();
    // The bench's folder, with its empty dbtemp.mdb, stands in for the program's scratch folder.
    attachTransfers(window, {[fields] { return fields; }, [folder = environment.programFolder] { return folder; }, nullptr});

    QListWidget& source = toParadox ? *window.List1 : *window.List2;
    addTableName(source, table);
    source.item(0)->setSelected(true);
    setListIndex(source, 0);

    std::optional<Clock::time_point> closedAt;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!closedAt && window.ProgressBar1->value() >= closeAtPercent) {
            closedAt = Clock::now();
            window.close();
        }
    });
    watcher.start(0);
    const auto start = Clock::now();
    (toParadox ? window.PushButton3 : window.PushButton4)->click();
    const auto end = Clock::now();
    watcher.stop();
    const char* direction = toParadox ? "MySQL to Paradox" : "Paradox to MySQL";
    if (closedAt)
        std::printf("%-17s start to close %8.3f s, close to end %8.3f s\n", direction,
                    secondsBetween(start, *closedAt), secondsBetween(*closedAt, end));
    else
        std::printf("%-17s whole run %8.3f s\n", direction, secondsBetween(start, end));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: transfer_close_bench PORT ROWS FOLDER [PERCENT]\n");
        return 2;
    }
    const std::string port = argv[1];
    const std::string rows = argv[2];
    const fs::path root = argv[3];
    const int closeAtPercent = argc == 5 ? std::atoi(argv[4]) : 50;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    PrintedBoxes boxes;
    MessageBoxesInstallation installed(boxes);

    const fs::path programFolder = root / "program";
    const fs::path paradoxFolder = root / "paradox";
    fs::remove_all(root);
    fs::create_directories(programFolder);
    fs::create_directories(paradoxFolder);
    std::ofstream(programFolder / "dbtemp.mdb");

    runOnServer(port, "", std::string("DROP DATABASE IF EXISTS `") + kDatabase + "`");
    runOnServer(port, "", std::string("CREATE DATABASE `") + kDatabase + "` CHARACTER SET utf8mb4");
    runOnServer(port, kDatabase,
                "CREATE TABLE mixed (id INT, name VARCHAR(40), amount DECIMAL(10,2), ratio DOUBLE, born DATE,"
                " stamp DATETIME)");
    runOnServer(port, kDatabase,
                "INSERT INTO mixed SELECT seq, CONCAT('Name ', seq, ' e'), (seq % 1000000) / 100, (seq % 1000) / 8,"
                " DATE_ADD('1950-01-01', INTERVAL seq % 20000 DAY),"
                " DATE_ADD('2000-01-01 00:00:00', INTERVAL seq * 37 SECOND) FROM seq_1_to_" + rows);

    const ConnectionFields fields = benchFields(port, paradoxFolder);
    sendAndClose(true, fields, programFolder, QStringLiteral("mixed"), closeAtPercent);
    sendAndClose(true, fields, programFolder, QStringLiteral("mixed"), 101); // the whole table, for the way back
    runOnServer(port, kDatabase, "DROP TABLE mixed");
    sendAndClose(false, fields, programFolder, QStringLiteral("mixed"), closeAtPercent);
    return 0;
}
