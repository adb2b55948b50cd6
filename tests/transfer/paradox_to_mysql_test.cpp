// "Send Table/s To MySQL" against the tests' MariaDB server, from real Paradox files.

#include "canonical_values.h"
#include "catalogue/window/paradox_table_list.h"
#include "catalogue/window/progress_bar.h"
#include "catalogue_test_support.h"
#include "connections/connection.h"
#include "paradoxfile/calendar.h"
#include "shell/pointer_rules.h"
#include "support/table_compare.h"
#include "support/write_helpers.h"
#include "transfer_fixture.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <fstream>
#include <set>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;
namespace px = quintabel::paradox;

class ParadoxToMySqlTest : public TransferTest {
protected:
    // The first column of every row, as text.
    std::vector<Cell> firstColumn(const std::string& table) const
    {
        std::vector<Cell> column;
        for (const auto& row : queryMySql("SELECT * FROM `" + table + "`"))
            column.push_back(canonicalOfMySql(row.at(0)));
        return column;
    }
};

// What a Paradox value becomes in a MySQL column of its default type, in the canonical form.
Cell expectedInMySql(px::FieldType type, const px::Value& value)
{
    if (px::isNull(value))
        return std::nullopt;
    switch (type) {
    case px::FieldType::Alpha:
    case px::FieldType::Memo:
        return std::get<std::string>(value);
    case px::FieldType::Short:
    case px::FieldType::Long:
    case px::FieldType::AutoIncrement:
        return std::to_string(std::get<std::int64_t>(value));
    case px::FieldType::Number:
    case px::FieldType::Money:
        return canonicalNumber(std::get<double>(value));
    case px::FieldType::Bcd:
        return canonicalDecimal(std::get<px::Decimal>(value).digits);
    case px::FieldType::Logical:
        return std::get<bool>(value) ? "True" : "False";
    case px::FieldType::Date: {
        const px::Date& d = std::get<px::Date>(value);
        return canonicalDateTime(d.year, d.month, d.day, 0, 0, 0, 0);
    }
    case px::FieldType::Time: {
        const px::Time& t = std::get<px::Time>(value);
        return canonicalDateTime(1899, 12, 30, t.hour, t.minute, t.second, t.millisecond);
    }
    case px::FieldType::Timestamp: {
        const px::Timestamp& s = std::get<px::Timestamp>(value);
        return canonicalDateTime(s.date.year, s.date.month, s.date.day, s.time.hour, s.time.minute, s.time.second,
                                 s.time.millisecond);
    }
    case px::FieldType::Bytes: { // a TEXT column: the bytes arrive only as the text they spell
        const px::Blob& bytes = std::get<px::Blob>(value);
        return std::string(bytes.begin(), bytes.end());
    }
    default: {
        const px::Blob& bytes = std::get<px::Blob>(value);
        return canonicalBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    }
}

// A MySQL value in the canonical form; a BCD value too precise for DECIMAL arrives as text.
Cell arrivedInMySql(px::FieldType type, const db::Value& value)
{
    if (type == px::FieldType::Bcd && std::holds_alternative<std::string>(value))
        return canonicalDecimal(std::get<std::string>(value));
    return canonicalOfMySql(value);
}

class EveryTestTable : public ParadoxToMySqlTest, public ::testing::WithParamInterface<fs::path> {};

TEST_P(EveryTestTable, ArrivesValueByValueOrEachMissingRowIsReported)
{
    const fs::path source = GetParam();
    copyTableFamily(source, paradoxFolder.path());
    const QString name = paradoxTableNameOfFile(QString::fromStdString(source.filename().string()));
    paradox::testing::OurTable ours;
    try {
        ours = paradox::testing::readWithOurs(source);
    } catch (const std::exception& unreadable) {
        // A table the program cannot read is told, and nothing arrives.
        sendToMySql({name});
        const auto messages = boxes.boxes.plainMessages();
        ASSERT_FALSE(messages.empty());
        EXPECT_TRUE(messages[0].text.contains(QString::fromStdString(source.filename().string()))) << unreadable.what();
        EXPECT_FALSE(mySqlHasTable(name.toStdString()));
        return;
    }
    // pxlib vouches for the reading that the MySQL rows are held against.
    const auto agreement = paradox::testing::compareWithPxlib(ours, paradox::testing::readWithPxlibAndBlobs(source));
    ASSERT_TRUE(agreement.differences.empty()) << agreement.differences.front();

    sendToMySql({name});

    int rowReports = 0;
    for (const ShownBox& report : reports()) {
        EXPECT_TRUE(report.text.contains(QStringLiteral("PushButton4_Click at line 338"))) << report.text.toStdString();
        rowReports += report.text.contains(QStringLiteral("at line 338")) ? 1 : 0;
    }
    const std::string table = name.toStdString();
    const Rows arrived = queryMySql("SELECT * FROM `" + table + "`");
    // Every source row arrived unchanged or was reported. A keyed table hands its rows back in
    // its key's order, so they are matched whatever their order.
    std::multiset<std::vector<Cell>> unmatched;
    for (const auto& row : arrived) {
        std::vector<Cell> cells;
        for (std::size_t f = 0; f < row.size() && f < ours.header.fields.size(); ++f)
            cells.push_back(arrivedInMySql(ours.header.fields[f].type, row[f]));
        unmatched.insert(std::move(cells));
    }
    int missing = 0;
    int missingWithBcd = 0;
    for (const auto& record : ours.records) {
        std::vector<Cell> cells;
        for (std::size_t f = 0; f < record.size(); ++f)
            cells.push_back(expectedInMySql(ours.header.fields[f].type, record[f]));
        if (const auto match = unmatched.find(cells); match != unmatched.end()) {
            unmatched.erase(match);
            continue;
        }
        ++missing;
        for (std::size_t f = 0; f < record.size(); ++f)
            missingWithBcd += ours.header.fields[f].type == px::FieldType::Bcd && !px::isNull(record[f]) ? 1 : 0;
    }
    // The keys travel: pxlib's count of key fields, the autoincrement field going on after the
    // header's counter, and an index for each index file beside the table.
    const paradox::testing::PxlibTable pxlib = paradox::testing::readWithPxlib(source);
    const Rows primary = queryMySql("SELECT COLUMN_NAME FROM information_schema.KEY_COLUMN_USAGE WHERE TABLE_SCHEMA "
                                    "= DATABASE() AND TABLE_NAME = '" + table + "' AND CONSTRAINT_NAME = 'PRIMARY' "
                                    "ORDER BY ORDINAL_POSITION");
    const bool keyLost = !boxes.boxes.plainMessages().empty()
        && boxes.boxes.plainMessages().back().text.contains(QStringLiteral("without some of its keys"));
    if (!keyLost) {
        ASSERT_EQ(static_cast<int>(primary.size()), pxlib.keyFields);
        for (std::size_t k = 0; k < primary.size(); ++k)
            EXPECT_EQ(canonicalOfMySql(primary[k][0]), Cell(ours.header.fields[k].name));
    }
    for (const px::Field& field : ours.header.fields) {
        if (field.type != px::FieldType::AutoIncrement || keyLost)
            continue;
        const Rows extra = queryMySql("SELECT EXTRA, (SELECT AUTO_INCREMENT FROM information_schema.TABLES WHERE "
                                      "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '" + table + "') FROM "
                                      "information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '"
                                      + table + "' AND COLUMN_NAME = '" + field.name + "'");
        ASSERT_EQ(extra.size(), 1u);
        EXPECT_EQ(canonicalOfMySql(extra[0][0]), Cell("auto_increment"));
        EXPECT_GT(std::stoll(*canonicalOfMySql(extra[0][1])), static_cast<long long>(ours.header.autoIncrementValue));
        break; // MySQL numbers one column of a table
    }
    int indexFiles = 0;
    for (const auto& entry : fs::directory_iterator(source.parent_path())) {
        const std::string file = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        indexFiles += entry.path().stem() == source.stem() && extension.size() == 4
                && (extension[1] == 'X' || extension[1] == 'x') ? 1 : 0;
    }
    const Rows indexes = queryMySql("SELECT DISTINCT INDEX_NAME FROM information_schema.STATISTICS WHERE TABLE_SCHEMA "
                                    "= DATABASE() AND TABLE_NAME = '" + table + "' AND INDEX_NAME <> 'PRIMARY'");
    EXPECT_GE(static_cast<int>(indexes.size()), indexFiles);
    // The default column of a BCD field holds every value it can store, digit for digit.
    EXPECT_EQ(missingWithBcd, 0);
    RecordProperty("rows_arrived", static_cast<int>(arrived.size()));
    RecordProperty("rows_reported", rowReports);
    EXPECT_TRUE(unmatched.empty()) << "a row arrived that differs from its source";
    EXPECT_EQ(missing, rowReports);
    EXPECT_TRUE(window.List1->findItems(name, Qt::MatchExactly).size() == 1);
}

std::string testName(const ::testing::TestParamInfo<fs::path>& info)
{
    std::string name = fs::relative(info.param, paradox::testing::testdataPath("paradox")).string();
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(SharedParadoxTables, EveryTestTable,
                         ::testing::ValuesIn(paradox::testing::testdataTables()), testName);

TEST_F(ParadoxToMySqlTest, OverwriteIsAskedWhenTheListShowsTheNameInAnyCaseAndYesReplacesThatTableUnderItsName)
{
    runSql("CREATE TABLE ORDERS (NAME TEXT)");
    runSql("INSERT INTO ORDERS VALUES ('old')");
    runSql("CREATE TABLE customer (NAME TEXT)");
    runSql("INSERT INTO customer VALUES ('old')");
    writeNames("ORDERS", {"n1", "n2"});
    writeNames("CUSTOMER", {"c1"});
    boxes.boxes.answerNext(BoxAnswer::Yes);
    boxes.boxes.answerNext(BoxAnswer::Yes);

    sendToMySql({QStringLiteral("CUSTOMER"), QStringLiteral("ORDERS")});

    const std::vector<ShownBox> asked = questions();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, QStringLiteral("Would you like to overwrite ORDERS?"));
    // The server tells names apart by case: the table the question names is the one replaced,
    // and it keeps its name; no second table in other letters comes beside it.
    EXPECT_EQ(asked[1].text, QStringLiteral("Would you like to overwrite customer?"));
    EXPECT_TRUE(reports().empty());
    EXPECT_EQ(firstColumn("ORDERS"), (std::vector<Cell>{"n1", "n2"}));
    EXPECT_EQ(firstColumn("customer"), std::vector<Cell>{"c1"});
    EXPECT_EQ(mySqlTables(), (std::vector<std::string>{"ORDERS", "customer"}));
    EXPECT_EQ(ItemTexts(*window.List1), (QStringList{QStringLiteral("customer"), QStringLiteral("ORDERS")}));
}

// A key never costs a row: keys MySQL would treat as one stay apart, and what the server
// refuses because of a key (a damaged table's duplicate, a blank key field, a type the user
// chose that cannot be keyed) makes the table arrive whole without it, said once.
TEST_F(ParadoxToMySqlTest, EveryRowArrivesWhateverTheKeyAndAKeyThatCannotBeKeptIsSaidOnce)
{
    struct Case {
        const char* table;
        std::vector<px::Value> names;
        const char* customised; // the statement the customisation window hands back, if any
        bool keyKept;
        const char* why;
    };
    const std::vector<Case> cases = {
        {"APART", {std::string("a"), std::string("A"), std::string("a "), std::string("\xC3\xA4")}, nullptr, true, ""},
        {"DUPS", {std::string("a"), std::string("a"), std::string("b")}, nullptr, false, "Duplicate entry"},
        {"BLANK", {std::string("x"), px::Null{}}, nullptr, false, "cannot be null"},
        {"CUST", {std::string("a"), std::string("b")}, "CREATE TABLE `quintabel-new-CUST`(`NAME` TEXT)", false,
         "BLOB/TEXT column"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.table);
        // Written keyless, then marked keyed on its first field, as a table whose index is gone.
        writeParadoxTable(test.table, px::Field{"NAME", px::FieldType::Alpha, 10, 0}, test.names);
        {
            std::fstream file(paradoxFile(std::string(test.table) + ".DB"), std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(0x04).put('\0');
            file.seekp(0x23).put('\1');
        }
        window.Check16->setChecked(test.customised != nullptr);
        if (test.customised)
            customisation.acceptNext(test.customised);
        const std::size_t messagesBefore = boxes.boxes.plainMessages().size();

        sendToMySql({QString::fromLatin1(test.table)});

        EXPECT_TRUE(reports().empty());
        EXPECT_EQ(queryMySql(std::string("SELECT * FROM `") + test.table + "`").size(), test.names.size());
        const Rows primary = queryMySql(std::string("SHOW KEYS FROM `") + test.table + "` WHERE Key_name = 'PRIMARY'");
        EXPECT_EQ(primary.size(), test.keyKept ? 1u : 0u);
        const auto messages = boxes.boxes.plainMessages();
        ASSERT_EQ(messages.size(), messagesBefore + (test.keyKept ? 0 : 1));
        if (!test.keyKept) {
            EXPECT_TRUE(messages.back().text.contains(QString::fromLatin1(test.why), Qt::CaseInsensitive))
                << messages.back().text.toStdString();
        }
    }
    // The user's own type stays: the column is TEXT, as chosen.
    EXPECT_EQ(canonicalOfMySql(queryMySql("SELECT DATA_TYPE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = "
                                          "DATABASE() AND TABLE_NAME = 'CUST'")[0][0]),
              Cell("text"));
}

TEST_F(ParadoxToMySqlTest, YesToOverwriteThenACancelledCustomisationLeavesTheOldTableAndEndsTheRun)
{
    runSql("CREATE TABLE ORDERS (NAME TEXT)");
    runSql("INSERT INTO ORDERS VALUES ('old')");
    writeNames("ORDERS", {"new"});
    writeNames("ALPHA", {"a"});
    window.Check16->setChecked(true);
    boxes.boxes.answerNext(BoxAnswer::Yes);
    customisation.cancelNext();

    sendToMySql({QStringLiteral("ALPHA"), QStringLiteral("ORDERS")});

    ASSERT_EQ(customisation.shown().size(), 1u);
    EXPECT_EQ(customisation.shown()[0].mType, "MySQL");
    // The window builds on the head of the new copy's statement: the copy's temporary name.
    EXPECT_EQ(customisation.shown()[0].mSQL, "CREATE TABLE `quintabel-new-ORDERS`(");
    EXPECT_EQ(customisation.shown()[0].mTableName, "ORDERS");
    EXPECT_TRUE(reports().empty());
    EXPECT_EQ(firstColumn("ORDERS"), std::vector<Cell>{"old"});
    EXPECT_EQ(mySqlTables(), std::vector<std::string>{"ORDERS"}) << "ALPHA is not sent";
    EXPECT_EQ(window.pointer().shape(), PointerShape::Default);
}

TEST_F(ParadoxToMySqlTest, YesToOverwriteThenAFailedCreateReportsOnceSendsNoRowAndKeepsTheOldTable)
{
    runSql("CREATE TABLE ORDERS (NAME TEXT)");
    runSql("INSERT INTO ORDERS VALUES ('old')");
    writeNames("ORDERS", {"n1", "n2"});
    window.Check16->setChecked(true);
    boxes.boxes.answerNext(BoxAnswer::Yes);
    customisation.acceptNext("CREATE TABLE `quintabel-new-ORDERS`(`NAME` NOSUCHTYPE)");

    sendToMySql({QStringLiteral("ORDERS")});

    const std::vector<ShownBox> failures = reports();
    ASSERT_EQ(failures.size(), 1u) << "the CREATE's report alone: no INSERT into a table that is not there";
    EXPECT_TRUE(failures[0].text.contains(QStringLiteral("PushButton4_Click at line 286")));
    // The statement as sent: the window's, with the new copy's mark as its table comment.
    EXPECT_TRUE(statementOfReport(failures[0])
                    .startsWith(QStringLiteral("CREATE TABLE `quintabel-new-ORDERS`(`NAME` NOSUCHTYPE) COMMENT="
                                               "'Quintabel: new copy of `ORDERS`, not yet complete; the old table "
                                               "goes to `quintabel-old-ORDERS`; built by connection ")))
        << statementOfReport(failures[0]).toStdString();
    EXPECT_EQ(firstColumn("ORDERS"), std::vector<Cell>{"old"});
    EXPECT_EQ(mySqlTables(), std::vector<std::string>{"ORDERS"});
    EXPECT_EQ(ItemTexts(*window.List1), QStringList{QStringLiteral("ORDERS")});
}

TEST_F(ParadoxToMySqlTest, YesToOverwriteFromATableThatCannotBeReadKeepsTheOldTable)
{
    runSql("CREATE TABLE ORDERS (NAME TEXT)");
    runSql("INSERT INTO ORDERS VALUES ('old')");
    // A table under the listed name whose header the program cannot read.
    paradox::testing::writeTableWithUnreadableName(paradoxFolder.path(), "ORDERS");
    window.Check16->setChecked(true);
    boxes.boxes.answerNext(BoxAnswer::Yes);
    customisation.acceptNext("CREATE TABLE `quintabel-new-ORDERS`(`NAME` TEXT)");

    sendToMySql({QStringLiteral("ORDERS")});

    // The open's own message, and nothing after it: the table is skipped.
    EXPECT_EQ(boxes.boxes.shown().size(), questions().size() + 1);
    EXPECT_TRUE(customisation.shown().empty());
    EXPECT_EQ(firstColumn("ORDERS"), std::vector<Cell>{"old"});
    EXPECT_EQ(mySqlTables(), std::vector<std::string>{"ORDERS"});
    EXPECT_EQ(ItemTexts(*window.List1), QStringList{QStringLiteral("ORDERS")});
}

TEST_F(ParadoxToMySqlTest, ATableThatCannotBeOpenedGivesOneMessageAndTheRunGoesOnWithTheNext)
{
    paradox::testing::writeTableWithUnreadableName(paradoxFolder.path(), "SECRET");
    writeNames("ALPHA", {"a"});

    sendToMySql({QStringLiteral("ALPHA"), QStringLiteral("SECRET")});

    ASSERT_EQ(boxes.boxes.shown().size(), 1u);
    EXPECT_FALSE(boxes.boxes.shown()[0].text.contains(QStringLiteral("needs an open record set")));
    EXPECT_EQ(mySqlTables(), std::vector<std::string>{"ALPHA"});
    EXPECT_EQ(firstColumn("ALPHA"), std::vector<Cell>{"a"});
    EXPECT_EQ(ItemTexts(*window.List1), QStringList{QStringLiteral("ALPHA")});
    EXPECT_EQ(window.pointer().shape(), PointerShape::Default);
}

TEST_F(ParadoxToMySqlTest, AFailedCreateOfANewTableReportsOnceAndListsNoTable)
{
    writeNames("ORDERS", {"n1", "n2", "n3"});
    window.Check16->setChecked(true);
    customisation.acceptNext("CREATE TABLE `quintabel-new-ORDERS`(`NAME` NOSUCHTYPE)");

    sendToMySql({QStringLiteral("ORDERS")});

    ASSERT_EQ(reports().size(), 1u);
    EXPECT_TRUE(reports()[0].text.contains(QStringLiteral("at line 286")));
    EXPECT_TRUE(mySqlTables().empty());
    EXPECT_TRUE(ItemTexts(*window.List1).isEmpty()) << "the list names only tables the server holds";
    EXPECT_EQ(window.ProgressBar1->text(), QStringLiteral("Progress Bar"));
}

TEST_F(ParadoxToMySqlTest, EveryNumberArrivesBitForBitInADoubleColumn)
{
    // Money and lengths as a Paradox Number holds them: 7.49 is the double 7.4899999999999997...,
    // more digits than a single-precision FLOAT keeps.
    const std::vector<double> numbers{7.49, 3.14159265, 0.1 + 0.2, 1e300, -2.5, 5e-324};
    writeParadoxTable("PRICES", px::Field{"N", px::FieldType::Number, 8, 0},
                      std::vector<px::Value>(numbers.begin(), numbers.end()));

    sendToMySql({QStringLiteral("PRICES")});

    EXPECT_TRUE(reports().empty());
    const Rows types = queryMySql("SELECT DATA_TYPE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = '"
                                  + database.name() + "' AND TABLE_NAME = 'PRICES'");
    ASSERT_EQ(types.size(), 1u);
    EXPECT_EQ(db::toText(types[0][0]), "double");
    const std::vector<Cell> stored = firstColumn("PRICES");
    ASSERT_EQ(stored.size(), numbers.size());
    for (std::size_t row = 0; row < numbers.size(); ++row) {
        ASSERT_TRUE(stored[row].has_value()) << row;
        EXPECT_EQ(std::strtod(stored[row]->c_str(), nullptr), numbers[row]) << *stored[row];
    }
}

TEST_F(ParadoxToMySqlTest, TablesGoFromTheBottomOfTheListAndAnUnchangedStatementMeansTheDefaultTypes)
{
    writeNames("ALPHA", {"a"});
    writeNames("ZETA", {"z"});
    window.Check16->setChecked(true);
    customisation.acceptUnchangedNext();
    customisation.acceptUnchangedNext();

    sendToMySql({QStringLiteral("ALPHA"), QStringLiteral("ZETA")});

    ASSERT_EQ(customisation.shown().size(), 2u);
    EXPECT_EQ(customisation.shown()[0].mTableName, "ZETA");
    EXPECT_EQ(customisation.shown()[1].mTableName, "ALPHA");
    EXPECT_TRUE(reports().empty());
    const Rows types = queryMySql("SELECT DATA_TYPE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = '"
                                  + database.name() + "' ORDER BY TABLE_NAME");
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(db::toText(types[0][0]), "text");
    EXPECT_EQ(db::toText(types[1][0]), "text");
}

TEST_F(ParadoxToMySqlTest, AServerLostDuringTheRowsEndsTheRunWithOnePlainMessage)
{
    std::vector<std::string> names;
    for (int i = 1; i <= 40; ++i)
        names.push_back("row " + std::to_string(i));
    writeNames("LENGTHY", names);
    writeNames("AFTER", {"a"}); // above LENGTHY in the list, so sent after it
    duringTransfer([this] {
        if (window.ProgressBar1->value() < 25)
            return false;
        // Ends every other connection to the test's database: the transfer's.
        for (const auto& row : queryMySql("SELECT ID FROM information_schema.PROCESSLIST WHERE DB = '"
                                          + database.name() + "' AND ID <> CONNECTION_ID()"))
            runSql("KILL CONNECTION " + db::toText(row.at(0)));
        return true;
    });

    sendToMySql({QStringLiteral("AFTER"), QStringLiteral("LENGTHY")});

    // The copy could neither take its name nor be dropped: it waits, marked, for the next run.
    EXPECT_EQ(mySqlTables(), std::vector<std::string>{"quintabel-new-LENGTHY"});
    // Its rows went in one transaction, which the server undid when the connection ended.
    EXPECT_TRUE(queryMySql("SELECT * FROM `quintabel-new-LENGTHY`").empty());
    ASSERT_EQ(boxes.boxes.shown().size(), 1u) << "one message, not one per remaining row";
    // A server lost is no fault of the program: a plain message that says what to do.
    EXPECT_TRUE(reports().empty()) << "no error report";
    const QString report = boxes.boxes.shown()[0].text;
    EXPECT_TRUE(report.contains(QStringLiteral("Check that the MySQL server is running"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("The table LENGTHY was not sent"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("unfinished copy quintabel-new-LENGTHY"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("transfer ended here"))) << report.toStdString();
    EXPECT_TRUE(ItemTexts(*window.List1).isEmpty()) << "neither table was made";
    EXPECT_EQ(window.pointer().shape(), PointerShape::Default);
    EXPECT_EQ(window.ProgressBar1->text(), QStringLiteral("Progress Bar"));

    const std::size_t boxesBefore = boxes.boxes.shown().size();
    writeNames("NEXT", {"n"});
    sendToMySql({QStringLiteral("NEXT")});
    EXPECT_EQ(mySqlTables(), std::vector<std::string>{"NEXT"});
    ASSERT_EQ(boxes.boxes.shown().size(), boxesBefore + 1);
    EXPECT_TRUE(boxes.boxes.shown().back().text.endsWith(QStringLiteral(
        "LENGTHY: its unfinished copy (quintabel-new-LENGTHY) was deleted; the table LENGTHY was not created.")));
}

TEST_F(ParadoxToMySqlTest, ATableDroppedDuringItsRowsEndsThatTableWithOneReportAndTheRunGoesOn)
{
    runSql("CREATE TABLE LENGTHY (NAME TEXT)");
    runSql("INSERT INTO LENGTHY VALUES ('old')");
    std::vector<std::string> names;
    for (int i = 1; i <= 40; ++i)
        names.push_back("row " + std::to_string(i));
    writeNames("LENGTHY", names);
    writeNames("AFTER", {"a"});
    boxes.boxes.answerNext(BoxAnswer::Yes);
    duringTransfer([this] {
        if (window.ProgressBar1->value() < 25)
            return false;
        runSql("DROP TABLE `quintabel-new-LENGTHY`");
        return true;
    });

    sendToMySql({QStringLiteral("AFTER"), QStringLiteral("LENGTHY")});

    ASSERT_EQ(reports().size(), 1u) << "one report, not one per remaining row";
    const QString report = reports()[0].text;
    EXPECT_TRUE(report.contains(QStringLiteral("The table LENGTHY was not sent"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("The existing table is unchanged."))) << report.toStdString();
    EXPECT_FALSE(report.contains(QStringLiteral("unfinished copy"))) << "the copy is gone: nothing is left over";
    EXPECT_FALSE(report.contains(QStringLiteral("transfer ended"))) << report.toStdString();
    EXPECT_EQ(firstColumn("LENGTHY"), std::vector<Cell>{"old"});
    EXPECT_EQ(firstColumn("AFTER"), std::vector<Cell>{"a"}) << "the next table is sent";
    EXPECT_EQ(mySqlTables(), (std::vector<std::string>{"AFTER", "LENGTHY"}));
    EXPECT_EQ(ItemTexts(*window.List1), (QStringList{QStringLiteral("AFTER"), QStringLiteral("LENGTHY")}));
}

TEST_F(ParadoxToMySqlTest, TheProgressBarNamesTheTableAndTheRowThenGoesBackToIdle)
{
    std::vector<std::string> names;
    for (int i = 1; i <= 40; ++i)
        names.push_back("row " + std::to_string(i));
    writeNames("LENGTHY", names);
    QStringList seen;
    duringTransfer([this, &seen] {
        const QString text = window.ProgressBar1->text();
        if (seen.isEmpty() || seen.back() != text)
            seen.push_back(text);
        return false;
    });

    sendToMySql({QStringLiteral("LENGTHY")});

    EXPECT_TRUE(seen.contains(QStringLiteral("LENGTHY: 10 of 40 rows (25%)"))) << seen.join(u'|').toStdString();
    EXPECT_FALSE(seen.contains(QStringLiteral("quintabel-new-LENGTHY: 10 of 40 rows (25%)")))
        << "the table as the user knows it, not its temporary copy";
    EXPECT_EQ(window.ProgressBar1->text(), QStringLiteral("Progress Bar"));
    EXPECT_EQ(window.ProgressBar1->value(), 0);
}

TEST_F(ParadoxToMySqlTest, ClosingTheWindowStopsTheRowsWithinOneRow)
{
    std::vector<std::string> names;
    for (int i = 1; i <= 400; ++i)
        names.push_back("row " + std::to_string(i));
    writeNames("LENGTHY", names);
    // The server's count of INSERT statements tells whether anything was sent after the close,
    // the copy being gone by the end. The count is the whole server's: this test runs alone.
    const auto insertsSoFar = [this] {
        return std::stoll(db::toText(queryMySql("SHOW GLOBAL STATUS LIKE 'Com_insert'").at(0).at(1)));
    };
    long long insertsAtClose = -1;
    const auto rowShown = [this] {
        const QString text = window.ProgressBar1->text();
        return text.startsWith(QStringLiteral("LENGTHY: ")) ? text.section(u' ', 1, 1).remove(u',').toLongLong() : 0;
    };
    long long rowAtClose = -1;
    long long lastRowShown = 0;
    duringTransfer([&] {
        if (rowAtClose >= 0) {
            lastRowShown = std::max(lastRowShown, rowShown());
            return false;
        }
        if (window.ProgressBar1->value() < 50)
            return false;
        rowAtClose = rowShown();
        insertsAtClose = insertsSoFar();
        window.close();
        return false;
    });

    sendToMySql({QStringLiteral("LENGTHY")});

    ASSERT_GE(rowAtClose, 200);
    // The row whose fields were being read when the window closed may still go; no other.
    EXPECT_LE(lastRowShown, rowAtClose + 1);
    EXPECT_LE(insertsSoFar() - insertsAtClose, 1);
    EXPECT_TRUE(mySqlTables().empty());
    EXPECT_TRUE(reports().empty());
}

TEST_F(ParadoxToMySqlTest, ClosingTheWindowDuringTheRowsLeavesNoHalfTableAndPutsAnOldOneBack)
{
    runSql("CREATE TABLE LENGTHY (NAME TEXT)");
    runSql("INSERT INTO LENGTHY VALUES ('old')");
    std::vector<std::string> names;
    for (int i = 1; i <= 200; ++i)
        names.push_back("row " + std::to_string(i));
    writeNames("LENGTHY", names);
    writeNames("FRESH", names);
    boxes.boxes.answerNext(BoxAnswer::Yes);
    duringTransfer([this] {
        if (window.ProgressBar1->value() < 50)
            return false;
        window.close();
        return true;
    });

    sendToMySql({QStringLiteral("FRESH"), QStringLiteral("LENGTHY")});

    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(firstColumn("LENGTHY"), std::vector<Cell>{"old"});
    EXPECT_EQ(mySqlTables(), std::vector<std::string>{"LENGTHY"}) << "FRESH is not sent";
}

} // namespace
} // namespace quintabel::testing
