// "Send Table/s To Paradox" against the tests' MariaDB server, read back with pxlib.

#include "canonical_values.h"
#include "catalogue/window/progress_bar.h"
#include "catalogue/window/table_name_list.h"
#include "catalogue_test_support.h"
#include "connections/connection.h"
#include "shell/pointer_rules.h"
#include "support/pxlib_oracle.h"
#include "support/table_compare.h"
#include "transfer_fixture.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

#include <fstream>
#include <unistd.h>
#include <iterator>

#include <sys/mount.h>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;
namespace px = quintabel::paradox;
namespace pxtest = quintabel::paradox::testing;

class MySqlToParadoxTest : public TransferTest {
protected:
    ParadoxReadBack readBack(const std::string& fileName)
    {
        ParadoxReadBack table = readBackWithPxlib(paradoxFile(fileName));
        EXPECT_EQ(table.problem, "");
        return table;
    }

    static std::string fileBytes(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // No hidden folder of a replacement and no table left in the scratch database.
    void expectNothingLeftBehind()
    {
        for (const std::string& name : paradoxFolderFiles())
            EXPECT_NE(name.rfind(".quintabel", 0), 0u) << name;
        EXPECT_TRUE(scratchTables(programFolder.path()).empty());
    }
};

std::vector<Cell> cells(std::initializer_list<const char*> texts)
{
    std::vector<Cell> row;
    for (const char* text : texts)
        row.push_back(text == nullptr ? Cell() : Cell(text));
    return row;
}

TEST_F(MySqlToParadoxTest, EveryColumnTypeArrivesExactlyOrItsRowFailsWithAReportNamingTheColumn)
{
    runSql("CREATE TABLE alltypes (id INT, c_tinyint TINYINT, c_smallint SMALLINT, c_mediumint MEDIUMINT,"
           " c_int INT, c_bigint BIGINT, c_ubigint BIGINT UNSIGNED, c_decimal DECIMAL(30,4), c_float FLOAT,"
           " c_double DOUBLE, c_bit1 BIT(1), c_bit8 BIT(8), c_date DATE, c_datetime DATETIME(6),"
           " c_timestamp TIMESTAMP NULL DEFAULT NULL, c_time TIME, c_year YEAR, c_char CHAR(10),"
           " c_varchar VARCHAR(300), c_text TEXT, c_binary BINARY(4), c_varbinary VARBINARY(10), c_blob BLOB,"
           " c_enum ENUM('a','b'), c_set SET('x','y'), c_json JSON, c_wide DECIMAL(40,0))");
    connections::Connection mysql;
    mysql.Open(database.connectionString());
    mysql.Execute("SET SESSION sql_mode = ''"); // zero dates, as older servers let them in
    mysql.Execute("INSERT INTO alltypes (id) VALUES (1)");
    mysql.Execute("INSERT INTO alltypes VALUES (2, -128, -32768, -8388608, -2147483648, -9223372036854775808,"
                  " 18446744073709551615, -12345678901234567890.1234, -3.5, -1.7976931348623157e308, b'1',"
                  " b'10101010', '1000-01-01', '9999-12-31 23:59:59.999', '2038-01-19 03:14:07', '-838:59:59',"
                  " 1901, 'a\\\\b''c', CONCAT(REPEAT('x', 299), ''''), 'Grüße aus Köln', X'00FF4100', X'0A',"
                  " X'DEADBEEF00', 'b', 'x,y', '{\"k\":[1,2]}', 12345678901234567890123456789012)");
    mysql.Execute("INSERT INTO alltypes VALUES (3, 0, 0, 0, 0, 0, 0, 0, 0, 0, b'0', b'0', '0000-00-00',"
                  " '0000-00-00 00:00:00', NULL, '00:00:00', 0, '  x', ' ', 'Müller & Søn – “quoted” €',"
                  " X'00000000', X'00', X'00', 'a', 'y', '[]', 0)");
    mysql.Execute("INSERT INTO alltypes (id, c_text) VALUES (4, 'Tokyo 東京')");
    mysql.Execute("INSERT INTO alltypes (id, c_datetime) VALUES (5, '2021-08-31 14:05:09.123456')");
    mysql.Execute("INSERT INTO alltypes (id, c_wide) VALUES (6, 1234567890123456789012345678901234567890)");

    sendToParadox({"alltypes"});

    EXPECT_TRUE(questions().empty()) << "a name of 8 characters is not trimmed";
    const std::vector<ShownBox> failures = reports();
    ASSERT_EQ(failures.size(), 3u);
    const char* failingColumns[] = {"'c_text'", "'c_datetime'", "'c_wide'"};
    for (std::size_t i = 0; i < failures.size(); ++i) {
        EXPECT_TRUE(failures[i].text.contains(QString::fromLatin1(failingColumns[i]))) << failures[i].text.toStdString();
        EXPECT_TRUE(failures[i].text.contains(QStringLiteral("in Tabulex2021/08/31.Form2.PushButton3_Click at line 354")));
        EXPECT_TRUE(statementOfReport(failures[i]).startsWith(QStringLiteral("INSERT INTO `alltypes` VALUES('%1'").arg(i + 4)));
    }

    const ParadoxReadBack table = readBack("alltypes.db");
    ASSERT_EQ(table.fieldNames.size(), 27u);
    EXPECT_EQ(table.fieldNames[26], "c_wide");
    const std::vector<std::vector<Cell>> expected = {
        cells({"1", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
               nullptr, nullptr, nullptr, nullptr}),
        cells({"2", "-128", "-32768", "-8388608", "-2147483648", "-9223372036854775808", "18446744073709551615",
               "-12345678901234567890.1234", "-3.5", canonicalNumber(-1.7976931348623157e308).c_str(), "True", "0xAA",
               "1000-01-01 00:00:00", "9999-12-31 23:59:59.999", "2038-01-19 03:14:07", "-838:59:59", "1901",
               "a\\b'c", (std::string(299, 'x') + "'").c_str(), "Grüße aus Köln", "0x00FF4100", "0x0A",
               "0xDEADBEEF00", "b", "x,y", "{\"k\":[1,2]}", "12345678901234567890123456789012"}),
        // MySQL's zero dates arrive blank: the driver reads them as NULL, since no day has them.
        cells({"3", "0", "0", "0", "0", "0", "0", "0", "0", "0", "False", "0x00", nullptr, nullptr, nullptr,
               "00:00:00", "0", "  x", " ", "Müller & Søn – “quoted” €", "0x00000000", "0x00", "0x00", "a", "y",
               "[]", "0"}),
    };
    ASSERT_EQ(table.records.size(), expected.size());
    for (std::size_t row = 0; row < expected.size(); ++row) {
        for (std::size_t column = 0; column < expected[row].size(); ++column)
            EXPECT_EQ(table.records[row][column], expected[row][column])
                << "row " << row + 1 << ", column " << table.fieldNames[column];
    }
    expectNothingLeftBehind();
}

TEST_F(MySqlToParadoxTest, ZeroDatesArriveBlankAndAreNamedOncePerColumnAfterTheTableIsWritten)
{
    runSql("CREATE TABLE visits (id INT, seen DATE, stamp DATETIME, paid TIMESTAMP NULL DEFAULT NULL)");
    connections::Connection mysql;
    mysql.Open(database.connectionString());
    mysql.Execute("SET SESSION sql_mode = ''"); // zero dates, as older servers let them in
    mysql.Execute("INSERT INTO visits VALUES (1, '0000-00-00', '0000-00-00 00:00:00', '0000-00-00 00:00:00'),"
                  " (2, '0000-00-00', '2020-02-03 04:05:06', NULL), (3, '2021-04-05', NULL, '2022-01-02 03:04:05'),"
                  " (4, '0000-00-00', '2020-02-03 00:00:00', NULL)");
    runSql("CREATE TABLE plain (id INT, seen DATE)");
    runSql("INSERT INTO plain VALUES (1, NULL), (2, '1999-12-31')");

    sendToParadox({"plain", "visits"});

    EXPECT_TRUE(reports().empty());
    const std::vector<ShownBox> messages = boxes.boxes.plainMessages();
    ASSERT_EQ(messages.size(), 1u) << "one message for the table with zero dates, none for the other";
    EXPECT_EQ(messages[0].text,
              QStringLiteral("The MySQL table visits holds zero dates (such as 0000-00-00), which a Paradox date "
                             "cannot hold. They were left blank in the Paradox table visits: column 'seen' in 3 rows, "
                             "column 'stamp' in 1 row, column 'paid' in 1 row."));
    const ParadoxReadBack table = readBack("visits.db");
    const std::vector<std::vector<Cell>> expected = {
        cells({"1", nullptr, nullptr, nullptr}),
        cells({"2", nullptr, "2020-02-03 04:05:06", nullptr}),
        cells({"3", "2021-04-05 00:00:00", nullptr, "2022-01-02 03:04:05"}),
        cells({"4", nullptr, "2020-02-03 00:00:00", nullptr}),
    };
    EXPECT_EQ(table.records, expected);
    expectNothingLeftBehind();
}

TEST_F(MySqlToParadoxTest, ZeroDatesOfATableThatWasNotWrittenAreNotMentioned)
{
    writeNames("VISITS", {"old"});
    runSql("CREATE TABLE visits (id INT, seen DATE, note VARCHAR(20))");
    connections::Connection mysql;
    mysql.Open(database.connectionString());
    mysql.Execute("SET SESSION sql_mode = ''");
    mysql.Execute("INSERT INTO visits VALUES (1, '0000-00-00', 'a'), (2, NULL, 'Tokyo 東京')");
    boxes.boxes.answerNext(BoxAnswer::Yes);

    sendToParadox({"visits"});

    // The row that cannot be held keeps the old table; its blanks are never written.
    EXPECT_EQ(reports().size(), 2u);
    EXPECT_TRUE(boxes.boxes.plainMessages().empty());
    EXPECT_EQ(readBack("VISITS.DB").records, (std::vector<std::vector<Cell>>{cells({"old"})}));
}

TEST_F(MySqlToParadoxTest, TablesGoFromTheBottomOfTheListAndOnlyLongNamesAreQuestioned)
{
    for (const char* table : {"abcdefgh", "abcdefghi", "Longername"}) {
        runSql(std::string("CREATE TABLE ") + table + " (n INT)");
        runSql(std::string("INSERT INTO ") + table + " VALUES (7)");
    }
    boxes.boxes.answerNext(BoxAnswer::Yes); // Longername, the last in the list, comes first
    boxes.boxes.answerNext(BoxAnswer::No);  // abcdefghi is skipped, and only it

    sendToParadox({"abcdefgh", "abcdefghi", "Longername"});

    const std::vector<ShownBox> asked = questions();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, QStringLiteral("LONGERNAME is more than 8 characters. It will be trimmed into LONGERNA. Continue?"));
    EXPECT_EQ(asked[0].title, QStringLiteral("Continue?"));
    EXPECT_EQ(asked[0].icon, BoxIcon::None);
    EXPECT_EQ(asked[1].text, QStringLiteral("ABCDEFGHI is more than 8 characters. It will be trimmed into ABCDEFGH. Continue?"));
    EXPECT_TRUE(reports().empty());
    // The trimmed name keeps its letter case.
    EXPECT_EQ(paradoxFolderFiles(), (std::vector<std::string>{"Longerna.db", "abcdefgh.db"}));
    EXPECT_EQ(readBack("Longerna.db").records, (std::vector<std::vector<Cell>>{cells({"7"})}));
    EXPECT_EQ(ItemTexts(*window.List2), (QStringList{QStringLiteral("ABCDEFGH"), QStringLiteral("LONGERNA")}));
    EXPECT_EQ(window.pointer().shape(), PointerShape::Default);
    expectNothingLeftBehind();
}

TEST_F(MySqlToParadoxTest, OverwriteIsAskedOnlyForListedNamesAndYesReplacesTheTableWhole)
{
    writeNames("ORDERS", {"old 1", "old 2", "old 3"});
    runSql("CREATE TABLE orders (id INT, note VARCHAR(20))");
    runSql("INSERT INTO orders VALUES (1, 'new'), (2, NULL)");
    runSql("CREATE TABLE fresh (id INT)");
    runSql("INSERT INTO fresh VALUES (5)");
    boxes.boxes.answerNext(BoxAnswer::Yes);

    sendToParadox({"fresh", "orders"});

    const std::vector<ShownBox> asked = questions();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, QStringLiteral("Would you like to overwrite orders?"));
    EXPECT_EQ(asked[0].title, QStringLiteral("Overwrite?"));
    EXPECT_TRUE(reports().empty());
    EXPECT_EQ(paradoxFolderFiles(), (std::vector<std::string>{"fresh.db", "orders.db"}));
    EXPECT_EQ(readBack("orders.db").records, (std::vector<std::vector<Cell>>{cells({"1", "new"}), cells({"2", nullptr})}));
    EXPECT_EQ(ItemTexts(*window.List2), (QStringList{QStringLiteral("FRESH"), QStringLiteral("ORDERS")}));
    expectNothingLeftBehind();
}

TEST_F(MySqlToParadoxTest, WhatCannotBeWrittenIsSaidPlainlyBeforeARowIsRead)
{
    struct Case {
        std::string table;
        std::string refusal;       // what the plain message says; empty when a question comes instead
        const char* leftOver;      // a memo left in the folder without its table
        bool readOnlyFolder = false;
    };
    std::vector<Case> cases = {
        {"../evil", "cannot be the name of a Paradox table: a table name cannot hold '/'", nullptr},
        {"a/b", "cannot be the name of a Paradox table: a table name cannot hold '/'", nullptr},
        {"~old", "cannot be the name of a Paradox table: names beginning with '~'", nullptr},
        {"lone", "", "lone.mb"},
    };
    if (::geteuid() != 0) // root writes in a read-only folder
        cases.push_back({"shut", "Cannot write in the Paradox folder", nullptr, true});
    for (const Case& test : cases) {
        runSql("CREATE TABLE `" + test.table + "` (id INT)");
        runSql("INSERT INTO `" + test.table + "` SELECT seq FROM seq_1_to_300");
        if (test.leftOver)
            std::ofstream(paradoxFile(test.leftOver)) << "memos of a table that is gone";
        bool rowsShown = false;
        duringTransfer([&] {
            rowsShown = rowsShown || window.ProgressBar1->text().contains(QString::fromStdString(test.table));
            return false;
        });
        if (test.leftOver)
            boxes.boxes.answerNext(BoxAnswer::No);
        const auto before = paradoxFolderFiles();
        const std::size_t shownBefore = boxes.boxes.shown().size();
        if (test.readOnlyFolder)
            fs::permissions(paradoxFolder.path(), fs::perms::owner_write, fs::perm_options::remove);

        sendToParadox({QString::fromStdString(test.table)});

        fs::permissions(paradoxFolder.path(), fs::perms::owner_write, fs::perm_options::add);
        EXPECT_FALSE(rowsShown) << test.table;
        EXPECT_TRUE(reports().empty()) << test.table;
        const std::vector<ShownBox> shown(boxes.boxes.shown().begin() + static_cast<long>(shownBefore),
                                          boxes.boxes.shown().end());
        ASSERT_EQ(shown.size(), 1u) << test.table;
        if (test.refusal.empty())
            EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("The Paradox folder holds 'lone.mb', left over from "
                                                                "a table lone")))
                << shown[0].text.toStdString();
        else
            EXPECT_TRUE(shown[0].text.contains(QString::fromStdString(test.refusal))) << shown[0].text.toStdString();
        EXPECT_EQ(paradoxFolderFiles(), before) << test.table;
        runSql("DROP TABLE `" + test.table + "`");
    }
    expectNothingLeftBehind();
}

TEST_F(MySqlToParadoxTest, YesToLeftOverFilesReplacesThemWithTheNewTable)
{
    std::ofstream(paradoxFile("lone.mb")) << "memos of a table that is gone";
    std::ofstream(paradoxFile("LONE.PX")) << "its index";
    runSql("CREATE TABLE lone (id INT)");
    runSql("INSERT INTO lone VALUES (7)");
    boxes.boxes.answerNext(BoxAnswer::Yes);

    sendToParadox({"lone"});

    ASSERT_EQ(questions().size(), 1u);
    EXPECT_TRUE(questions()[0].text.contains(QStringLiteral("'LONE.PX', 'lone.mb'")));
    EXPECT_TRUE(reports().empty());
    EXPECT_EQ(paradoxFolderFiles(), std::vector<std::string>{"lone.db"});
    EXPECT_EQ(readBack("lone.db").records, std::vector<std::vector<Cell>>{cells({"7"})});
    expectNothingLeftBehind();
}

// A MySQL table whose primary key is its first columns becomes a keyed Paradox table, its
// records in key order and its .PX one entry per data block, which pxlib reads; a key that
// cannot be kept leaves the table unkeyed, with one message saying why.
TEST_F(MySqlToParadoxTest, AKeyThatCanTravelMakesAKeyedTableAndOneThatCannotIsSaidOnce)
{
    struct Case {
        const char* table;
        const char* columns;
        const char* rows; // SELECT giving the rows, inserted as they come
        int codePage;
        int keyFields; // expected in the Paradox header
        std::vector<std::string> firstKeys; // the first records' first field, in the table's order
        const char* why = "";
    };
    const std::vector<Case> cases = {
        // Rows out of order, enough of them for many data blocks.
        {"numbers", "(id INT PRIMARY KEY, note VARCHAR(200))",
         "SELECT 3001 - seq, REPEAT('x', 150) FROM seq_1_to_3000", 0, 1, {"1", "2", "3"}},
        // Byte order: upper case before lower, and "a" apart from "A".
        {"words", "(k VARCHAR(5) COLLATE utf8mb4_bin, n INT, PRIMARY KEY (k, n))",
         "SELECT ELT(seq, 'b', 'a', 'B', 'a', 'A'), seq FROM seq_1_to_5", 0, 2, {"A", "B", "a", "a", "b"}},
        // A collation that folds case hands the rows over in another order: sorted on the way.
        {"folded", "(k VARCHAR(5) PRIMARY KEY)", "SELECT ELT(seq, 'b', 'a', 'C') FROM seq_1_to_3", 0, 1,
         {"C", "a", "b"}},
        {"second", "(note TEXT, id INT PRIMARY KEY)", "SELECT 'n', seq FROM seq_1_to_3", 0, 0, {},
         "is not made of its first columns"},
        {"cyrillic", "(id INT PRIMARY KEY)", "SELECT seq FROM seq_1_to_3", 866, 0, {}, "866"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.table);
        runSql(std::string("CREATE TABLE ") + test.table + test.columns);
        runSql(std::string("INSERT INTO ") + test.table + " " + test.rows);
        paradoxCodePage = test.codePage;
        const std::size_t messagesBefore = boxes.boxes.plainMessages().size();

        sendToParadox({QString::fromLatin1(test.table)});

        EXPECT_TRUE(reports().empty());
        const fs::path db = paradoxFile(std::string(test.table) + ".db");
        const pxtest::OurTable ours = pxtest::readWithOurs(db);
        EXPECT_EQ(ours.header.keyFieldCount, test.keyFields);
        const auto messages = boxes.boxes.plainMessages();
        if (test.keyFields == 0) {
            ASSERT_EQ(messages.size(), messagesBefore + 1);
            EXPECT_TRUE(messages.back().text.contains(QString::fromLatin1(test.why))) << messages.back().text.toStdString();
            continue;
        }
        EXPECT_EQ(messages.size(), messagesBefore);
        const ParadoxReadBack table = readBack(std::string(test.table) + ".db");
        for (std::size_t row = 0; row < test.firstKeys.size(); ++row)
            EXPECT_EQ(table.records.at(row).at(0), Cell(test.firstKeys[row]));
        const pxtest::PxlibPrimaryIndex index = pxtest::readPrimaryIndexWithPxlib(paradoxFile(std::string(test.table) + ".px"), db);
        EXPECT_TRUE(index.read && index.acceptedByTable) << index.errors;
        int indexed = 0;
        int leaves = 0;
        for (const auto& entry : index.entries) {
            if (entry.level != 1)
                continue;
            ++leaves;
            indexed += entry.records;
        }
        EXPECT_EQ(leaves, ours.header.blocksInUse);
        EXPECT_EQ(indexed, static_cast<int>(ours.records.size()));
    }
    paradoxCodePage = 0;
}

TEST_F(MySqlToParadoxTest, YesToOverwriteThenACancelledCustomisationLeavesTheOldTableAndEndsTheRun)
{
    writeNames("ORDERS", {"old"});
    const std::string before = fileBytes(paradoxFile("ORDERS.DB"));
    runSql("CREATE TABLE orders (id INT)");
    runSql("CREATE TABLE alpha (id INT)");
    listBothSides();
    // A table that appears meanwhile shows that the Paradox list is not read again.
    writeNames("LATE", {"x"});
    selectOnly(*window.List1, {QStringLiteral("alpha"), QStringLiteral("orders")});
    window.Check15->setChecked(true);
    boxes.boxes.answerNext(BoxAnswer::Yes);
    customisation.cancelNext();

    window.PushButton3->click();

    ASSERT_EQ(customisation.shown().size(), 1u);
    EXPECT_EQ(customisation.shown()[0].mType, "Paradox");
    EXPECT_EQ(customisation.shown()[0].mSQL, "CREATE TABLE `orders`(");
    EXPECT_EQ(customisation.shown()[0].mTableName, "orders");
    EXPECT_TRUE(reports().empty());
    EXPECT_EQ(fileBytes(paradoxFile("ORDERS.DB")), before);
    EXPECT_EQ(paradoxFolderFiles(), (std::vector<std::string>{"LATE.DB", "ORDERS.DB"})) << "alpha is not sent";
    EXPECT_EQ(ItemTexts(*window.List2), QStringList{QStringLiteral("ORDERS")});
    EXPECT_EQ(window.pointer().shape(), PointerShape::Default);
    expectNothingLeftBehind();
}

TEST_F(MySqlToParadoxTest, AnOverwriteWhoseNewTableWouldLackRowsKeepsTheOldTable)
{
    writeNames("ORDERS", {"old"});
    const std::string before = fileBytes(paradoxFile("ORDERS.DB"));
    runSql("CREATE TABLE orders (id INT, city VARCHAR(20))");
    runSql("INSERT INTO orders VALUES (1, 'Köln'), (2, 'Tokyo 東京'), (3, 'Lyon')");
    boxes.boxes.answerNext(BoxAnswer::Yes);

    sendToParadox({"orders"});

    const std::vector<ShownBox> failures = reports();
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_TRUE(failures[0].text.contains(QStringLiteral("'city'")));
    EXPECT_EQ(statementOfReport(failures[0]), QStringLiteral("INSERT INTO `orders` VALUES('2', 'Tokyo 東京')"));
    EXPECT_TRUE(failures[1].text.startsWith(QStringLiteral(
        "The table orders was not overwritten, because 1 of its 3 rows could not be copied. The existing table is unchanged.")));
    // The last row's statement is still the one in hand after the rows.
    EXPECT_EQ(statementOfReport(failures[1]), QStringLiteral("INSERT INTO `orders` VALUES('3', 'Lyon')"));
    EXPECT_EQ(fileBytes(paradoxFile("ORDERS.DB")), before);
    EXPECT_EQ(paradoxFolderFiles(), std::vector<std::string>{"ORDERS.DB"});
    expectNothingLeftBehind();
}

TEST_F(MySqlToParadoxTest, AFailedCreateReportsOnceSendsNoRowAndKeepsTheOldTable)
{
    writeNames("ORDERS", {"old"});
    const std::string before = fileBytes(paradoxFile("ORDERS.DB"));
    runSql("CREATE TABLE orders (id INT)");
    runSql("INSERT INTO orders VALUES (1), (2)");
    window.Check15->setChecked(true);
    boxes.boxes.answerNext(BoxAnswer::Yes);
    customisation.acceptNext("CREATE TABLE `orders`([id] NOSUCHTYPE)");

    sendToParadox({"orders"});

    const std::vector<ShownBox> failures = reports();
    ASSERT_EQ(failures.size(), 1u) << "the CREATE's report alone: no INSERT into a table that is not there";
    EXPECT_TRUE(failures[0].text.contains(QStringLiteral("at line 314")));
    EXPECT_EQ(statementOfReport(failures[0]), QStringLiteral("CREATE TABLE `orders`([id] NOSUCHTYPE)"));
    EXPECT_EQ(fileBytes(paradoxFile("ORDERS.DB")), before);
    EXPECT_EQ(window.ProgressBar1->text(), QStringLiteral("Progress Bar"));
    expectNothingLeftBehind();
}

TEST_F(MySqlToParadoxTest, AListedTableThatCannotBeOpenedGivesOneReportAndTheRunGoesOn)
{
    runSql("CREATE TABLE alpha (id INT)");
    runSql("INSERT INTO alpha VALUES (7)");
    runSql("CREATE TABLE gone (id INT)");
    listBothSides();
    selectOnly(*window.List1, {QStringLiteral("alpha"), QStringLiteral("gone")});
    runSql("DROP TABLE gone"); // after the list was read: the list still offers it

    window.PushButton3->click();

    ASSERT_EQ(boxes.boxes.shown().size(), 1u);
    EXPECT_TRUE(reports().at(0).text.contains(QStringLiteral("at line 162")));
    EXPECT_FALSE(reports().at(0).text.contains(QStringLiteral("needs an open record set")));
    EXPECT_EQ(paradoxFolderFiles(), std::vector<std::string>{"alpha.db"});
    expectNothingLeftBehind();
}

TEST_F(MySqlToParadoxTest, ClosingTheWindowDuringTheRowsLeavesNoParadoxTable)
{
    runSql("CREATE TABLE big (id INT, label VARCHAR(30))");
    runSql("INSERT INTO big SELECT seq, CONCAT('row ', seq) FROM seq_1_to_400");
    duringTransfer([this] {
        if (window.ProgressBar1->value() < 50)
            return false;
        window.close();
        return true;
    });

    sendToParadox({"big"});

    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(paradoxFolderFiles().empty());
    expectNothingLeftBehind();
}

// A file system of 512 KiB laid over `folder` while it lives; only root may mount one.
struct SmallDisk {
    explicit SmallDisk(fs::path over)
        : folder(std::move(over)), mounted(::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=512k") == 0) {}
    SmallDisk(const SmallDisk&) = delete;
    ~SmallDisk() { if (mounted) ::umount2(folder.c_str(), MNT_DETACH); }
    const fs::path folder;
    const bool mounted;
};

TEST_F(MySqlToParadoxTest, AFullDiskIsToldPlainlyAndTheOldTableStaysUntouched)
{
    runSql("CREATE TABLE big (id INT, label TEXT)");
    runSql("INSERT INTO big SELECT seq, REPEAT('x', 500) FROM seq_1_to_4000");
    // The Paradox folder's disk fills as the table is written out; the scratch database's as
    // the rows are copied into it.
    for (const bool paradoxFolderFull : {true, false}) {
        SCOPED_TRACE(paradoxFolderFull ? "Paradox folder full" : "scratch database full");
        const SmallDisk disk(paradoxFolderFull ? paradoxFolder.path() : programFolder.path());
        if (!disk.mounted)
            GTEST_SKIP() << "no permission to mount a small file system";
        std::ofstream(programFolder.path() / "dbtemp.mdb");
        writeNames("BIG", {"old"});
        boxes.boxes.answerNext(BoxAnswer::Yes);

        sendToParadox({"big"});

        EXPECT_TRUE(reports().empty()) << reports().front().text.toStdString();
        ASSERT_EQ(boxes.boxes.plainMessages().size(), paradoxFolderFull ? 1u : 2u) << "one message for each";
        const QString message = boxes.boxes.plainMessages().back().text;
        EXPECT_TRUE(message.contains(QStringLiteral("is full: make room on it, then try again"))) << message.toStdString();
        EXPECT_TRUE(message.contains(paradoxFolderFull ? QStringLiteral("The table big was not written.")
                                                       : QStringLiteral("The table big was not sent")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("existing table"))) << message.toStdString();
        EXPECT_EQ(readBack("BIG.DB").records.size(), 1u);
        expectNothingLeftBehind();
        fs::remove(paradoxFile("BIG.DB"));
    }
}

TEST_F(MySqlToParadoxTest, ASecondClickDuringARunStartsNothing)
{
    runSql("CREATE TABLE big (id INT)");
    runSql("INSERT INTO big SELECT seq FROM seq_1_to_300");
    int clicks = 0;
    duringTransfer([&] {
        if (window.ProgressBar1->value() < 30)
            return false;
        window.PushButton3->click();
        window.PushButton4->click();
        ++clicks;
        return true;
    });

    sendToParadox({"big"});

    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(boxes.boxes.shown().empty());
    EXPECT_EQ(readBack("big.db").records.size(), 300u);
    EXPECT_EQ(paradoxFolderFiles(), std::vector<std::string>{"big.db"});
}

TEST_F(MySqlToParadoxTest, WithoutACurrentItemItAsksForOneAndWithoutASelectionItOnlyListsAgain)
{
    runSql("CREATE TABLE orders (id INT)");
    listBothSides();
    setListIndex(*window.List1, -1);
    window.PushButton3->click();
    ASSERT_EQ(boxes.boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.boxes.shown()[0].text, QStringLiteral("Please select a table to send."));
    EXPECT_EQ(boxes.boxes.shown()[0].buttons, BoxButtons::Ok);

    writeNames("LATE", {"x"});
    setListIndex(*window.List1, 0);
    deselectAllItems(*window.List1);
    window.PushButton3->click();
    EXPECT_EQ(boxes.boxes.shown().size(), 1u);
    EXPECT_EQ(paradoxFolderFiles(), std::vector<std::string>{"LATE.DB"});
    EXPECT_EQ(ItemTexts(*window.List2), QStringList{QStringLiteral("LATE")});
}

TEST_F(MySqlToParadoxTest, AnEmptyTableGivesAnEmptyParadoxTableWithItsColumns)
{
    runSql("CREATE TABLE nothing (id INT, name VARCHAR(20), born DATE)");

    sendToParadox({"nothing"});

    EXPECT_TRUE(reports().empty());
    const ParadoxReadBack table = readBack("nothing.db");
    EXPECT_EQ(table.fieldNames, (std::vector<std::string>{"id", "name", "born"}));
    EXPECT_TRUE(table.records.empty());
    EXPECT_EQ(window.ProgressBar1->value(), 0);
    EXPECT_EQ(window.ProgressBar1->text(), QStringLiteral("Progress Bar"));
}

} // namespace
} // namespace quintabel::testing
