// The scratch database's write-out to a Paradox 5.x table: the field chosen for each column,
// the values read back with our reader and with pxlib, and the refusals that keep values and
// files unchanged.

#include "connections/connection.h"
#include "connections/connection_string.h"
#include "drivers/database_error.h"
#include "drivers/exact_number.h"
#include "paradoxfile/calendar.h"
#include "paradoxfile/table_reader.h"
#include "drivers/scratch/paradox_write_out.h"
#include "support/pxlib_oracle.h"
#include "support/table_compare.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <fstream>
#include <set>

#include <sys/resource.h>

using quintabel::connections::Connection;
using quintabel::connections::scratchConnectionString;
using quintabel::db::DatabaseError;
using quintabel::testing::TemporaryFolder;
namespace fs = std::filesystem;
namespace px = quintabel::paradox;
namespace pxtest = quintabel::paradox::testing;

namespace {

class ScratchWriteOutTest : public ::testing::Test {
protected:
    ScratchWriteOutTest()
    {
        fs::create_directory(paradoxFolder());
        std::ofstream{program.path() / "dbtemp.mdb"};
        scratch.Open(scratchConnectionString(program.string()));
    }

    fs::path paradoxFolder() const { return program.path() / "paradox"; }

    void writeOut(const std::string& source, const std::string& target)
    {
        scratch.Execute("select * into [Paradox 5.x;Database=" + paradoxFolder().string()
                        + "/].[" + target + ".db] from [" + source + "]");
    }

    std::set<std::string> paradoxFiles() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(paradoxFolder()))
            names.insert(entry.path().filename().string());
        return names;
    }

    std::string writeOutFailure(const std::string& source, const std::string& target)
    {
        try {
            writeOut(source, target);
        } catch (const DatabaseError& error) {
            return error.description();
        }
        ADD_FAILURE() << "the write-out of " << source << " succeeded";
        return {};
    }

    TemporaryFolder program;
    Connection scratch;
};

struct ColumnCase {
    const char* name;
    const char* type;
    std::vector<std::string> literals; // one per row
    px::FieldType expectedType;
    int expectedSize;                  // Alpha width, BCD decimals; 0 where it does not matter
    std::vector<px::Value> expectedValues;
};

px::Timestamp stamp(int y, int mo, int d, int h, int mi, int s, int ms)
{
    return px::Timestamp{px::Date{y, mo, d}, px::Time{h, mi, s, ms}};
}

const std::string longText(300, 'x');

const std::vector<ColumnCase> columnCases{
    {"id", "INT", {"'1'", "'-2147483647'", "NULL"}, px::FieldType::Long, 0,
     {std::int64_t{1}, std::int64_t{-2147483647}, px::Null{}}},
    {"small", "SMALLINT", {"'5'", "'-32767'", "'0'"}, px::FieldType::Short, 0,
     {std::int64_t{5}, std::int64_t{-32767}, std::int64_t{0}}},
    {"byte", "tinyint", {"'255'", "NULL", "'0'"}, px::FieldType::Short, 0,
     {std::int64_t{255}, px::Null{}, std::int64_t{0}}},
    {"widened", "INT", {"'3000000000'", "NULL", "'1'"}, px::FieldType::Number, 0,
     {3e9, px::Null{}, 1.0}},
    {"fraction", "INT", {"'1.5'", "'2'", "'-0.25'"}, px::FieldType::Number, 0, {1.5, 2.0, -0.25}},
    {"big", "bigint", {"'9007199254740993'", "'1'", "NULL"}, px::FieldType::Bcd, 0,
     {px::Decimal{"9007199254740993"}, px::Decimal{"1"}, px::Null{}}},
    {"amount", "DECIMAL", {"'1.10'", "'-0.001'", "'100'"}, px::FieldType::Number, 0,
     {1.1, -0.001, 100.0}},
    {"exact", "decimal(28, 2)", {"'12345678901234567890.12'", "'0.5'", "NULL"}, px::FieldType::Bcd, 2,
     {px::Decimal{"12345678901234567890.12"}, px::Decimal{"0.50"}, px::Null{}}},
    {"price", "Money", {"'19.99'", "NULL", "'-5'"}, px::FieldType::Money, 0, {19.99, px::Null{}, -5.0}},
    {"ratio", "FLOAT", {"'0.1'", "'1e+20'", "'5e-324'"}, px::FieldType::Number, 0,
     {0.1, 1e20, 5e-324}},
    {"name", "TEXT", {"'O''Neil'", "'\xC3\xBC'", "' '"}, px::FieldType::Alpha, 6,
     {std::string("O'Neil"), std::string("\xC3\xBC"), std::string(" ")}},
    {"title", "VARCHAR(50)", {"'abc'", "NULL", "'a\\b'"}, px::FieldType::Alpha, 50,
     {std::string("abc"), px::Null{}, std::string("a\\b")}},
    {"story", "TEXT", {"'" + longText + "'", "'short'", "NULL"}, px::FieldType::Memo, 0,
     {longText, std::string("short"), px::Null{}}},
    {"remark", "ntext", {"'short'", "NULL", "'x'"}, px::FieldType::Memo, 0,
     {std::string("short"), px::Null{}, std::string("x")}},
    {"code", "Char (10)", {"'abcdefghij'", "'a'", "NULL"}, px::FieldType::Alpha, 10,
     {std::string("abcdefghij"), std::string("a"), px::Null{}}},
    {"happened", "DATETIME", {"'2021-08-31 14:05:09.123'", "'2021-09-01'", "NULL"},
     px::FieldType::Timestamp, 0,
     {stamp(2021, 8, 31, 14, 5, 9, 123), stamp(2021, 9, 1, 0, 0, 0, 0), px::Null{}}},
    {"at", "DATETIME", {"'14:05:09'", "'00:00:00'", "'23:59:59.999'"}, px::FieldType::Time, 0,
     {px::Time{14, 5, 9, 0}, px::Time{0, 0, 0, 0}, px::Time{23, 59, 59, 999}}},
    {"flag", "Bit", {"'True'", "'False'", "NULL"}, px::FieldType::Logical, 0,
     {true, false, px::Null{}}},
    {"photo", "OLEOBJECT", {"X'00FF10'", "NULL", "X'41'"}, px::FieldType::Binary, 0,
     {px::Blob{0x00, 0xFF, 0x10}, px::Null{}, px::Blob{0x41}}},
    {"raw", "VARCHAR", {"X'0102'", "X'03'", "NULL"}, px::FieldType::Binary, 0,
     {px::Blob{0x01, 0x02}, px::Blob{0x03}, px::Null{}}},
};

TEST_F(ScratchWriteOutTest, WritesEveryColumnInAFieldThatHoldsItsValuesExactly)
{
    std::string create = "CREATE TABLE `all kinds`(";
    for (const ColumnCase& column : columnCases)
        create += std::string("`") + column.name + "` " + column.type + ",";
    create.back() = ')';
    scratch.Execute(create + ";");
    for (std::size_t row = 0; row < 3; ++row) {
        std::string insert = "INSERT INTO `all kinds` VALUES(";
        for (const ColumnCase& column : columnCases)
            insert += column.literals[row] + ", ";
        insert.resize(insert.size() - 2);
        scratch.Execute(insert + ")");
    }
    writeOut("all kinds", "KINDS");
    EXPECT_EQ(paradoxFiles(), (std::set<std::string>{"KINDS.db", "KINDS.mb"}));

    const fs::path written = paradoxFolder() / "KINDS.db";
    const pxtest::OurTable table = pxtest::readWithOurs(written);
    EXPECT_EQ(table.header.fileVersion, 11); // Paradox 5.x
    ASSERT_EQ(table.header.fields.size(), columnCases.size());
    ASSERT_EQ(table.records.size(), 3u);
    for (std::size_t i = 0; i < columnCases.size(); ++i) {
        const ColumnCase& column = columnCases[i];
        const px::Field& field = table.header.fields[i];
        SCOPED_TRACE(column.name);
        EXPECT_EQ(field.name, column.name);
        EXPECT_EQ(field.type, column.expectedType);
        if (column.expectedType == px::FieldType::Alpha) {
            EXPECT_EQ(field.size, column.expectedSize);
        }
        if (column.expectedType == px::FieldType::Bcd) {
            EXPECT_EQ(field.decimals, column.expectedSize);
        }
        for (std::size_t row = 0; row < 3; ++row)
            EXPECT_TRUE(table.records[row][i] == column.expectedValues[row]) << "row " << row + 1;
    }
    const auto comparison = pxtest::compareWithPxlib(table, pxtest::readWithPxlibAndBlobs(written));
    for (const std::string& difference : comparison.differences)
        ADD_FAILURE() << "pxlib: " << difference;
    EXPECT_GT(comparison.valuesCompared, 40u);
}

// A transfer weighs every row on its way into the scratch table and hands the fields it chose
// to the write-out, which then need not read the table twice. Fields it cannot be sure of are
// not taken: the write-out reads the rows and chooses for itself (an Alpha of 2 for "ab").
TEST_F(ScratchWriteOutTest, HandedFieldsAreTakenOnlyWhileTheyCoverEveryRowTheTableHolds)
{
    const std::vector<px::Field> wide{{"s", px::FieldType::Alpha, 30, 0}};
    struct Case {
        const char* what;
        std::function<void()> fillAndHand;
        int expectedWidth;
    };
    const std::vector<Case> cases{
        {"chosen from every row",
         [&] {
             scratch.Execute("CREATE TABLE `t`(`s` TEXT)");
             scratch.Execute("INSERT INTO `t` VALUES('ab')");
             scratch.ExpectWriteOutFields("t", wide, 1);
         },
         30},
        {"chosen from fewer rows",
         [&] {
             scratch.Execute("CREATE TABLE `t`(`s` TEXT)");
             scratch.Execute("INSERT INTO `t` VALUES('ab')");
             scratch.Execute("INSERT INTO `t` VALUES('a')");
             scratch.ExpectWriteOutFields("t", wide, 1);
         },
         2},
        {"a row given after them",
         [&] {
             scratch.Execute("CREATE TABLE `t`(`s` TEXT)");
             scratch.Execute("INSERT INTO `t` VALUES('ab')");
             scratch.ExpectWriteOutFields("t", wide, 1);
             scratch.Execute("INSERT INTO `t` VALUES('a')");
         },
         2},
        {"for other columns",
         [&] {
             scratch.Execute("CREATE TABLE `t`(`s` TEXT)");
             scratch.Execute("INSERT INTO `t` VALUES('ab')");
             scratch.ExpectWriteOutFields("t", {{"other", px::FieldType::Alpha, 30, 0}}, 1);
         },
         2},
        {"for a table made by another connection",
         [&] {
             {
                 Connection other;
                 other.Open(scratchConnectionString(program.string()));
                 other.Execute("CREATE TABLE `t`(`s` TEXT)");
             }
             scratch.Execute("INSERT INTO `t` VALUES('ab')");
             scratch.ExpectWriteOutFields("t", wide, 1);
         },
         2},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        test.fillAndHand();
        writeOut("t", "T");
        const pxtest::OurTable table = pxtest::readWithOurs(paradoxFolder() / "T.db");
        ASSERT_EQ(table.header.fields.size(), 1u);
        EXPECT_EQ(table.header.fields[0].type, px::FieldType::Alpha);
        EXPECT_EQ(table.header.fields[0].size, test.expectedWidth);
        EXPECT_TRUE(table.records.front()[0] == px::Value(std::string("ab")));
        scratch.Execute("DROP TABLE [t]");
        fs::remove(paradoxFolder() / "T.db");
    }
}

// What another connection does to a table this one made, filled and handed fields for was
// never weighed: the fields must still hold its rows (a fraction in an INT column, a text too
// long for an Alpha), whether it added rows or made the table anew with as many rows as before.
TEST_F(ScratchWriteOutTest, ATableAnotherConnectionChangedIsReadWhole)
{
    auto changeElsewhere = [&](const std::vector<std::string>& statements) {
        scratch.Execute("CREATE TABLE `commit the rows`(`x` INT)");
        {
            Connection other;
            other.Open(scratchConnectionString(program.string()));
            for (const std::string& statement : statements)
                other.Execute(statement);
        } // the other connection commits its rows as it closes
        scratch.Execute("DROP TABLE [commit the rows]");
    };
    const std::string wideRow = "INSERT INTO `shared` VALUES('1.5', '" + longText + "')";
    for (const bool remade : {false, true}) {
        SCOPED_TRACE(remade ? "made anew" : "rows added");
        scratch.Execute("CREATE TABLE `shared`(`n` INT,`s` TEXT)");
        scratch.Execute("INSERT INTO `shared` VALUES('1', 'ab')");
        scratch.ExpectWriteOutFields("shared", {{"n", px::FieldType::Long, 0, 0}, {"s", px::FieldType::Alpha, 2, 0}}, 1);
        if (remade)
            changeElsewhere({"DROP TABLE [shared]", "CREATE TABLE `shared`(`n` INT,`s` TEXT)", wideRow});
        else
            changeElsewhere({wideRow});
        writeOut("shared", "SHARED");
        const pxtest::OurTable table = pxtest::readWithOurs(paradoxFolder() / "SHARED.db");
        ASSERT_EQ(table.records.size(), remade ? 1u : 2u);
        EXPECT_EQ(table.header.fields[0].type, px::FieldType::Number);
        EXPECT_EQ(table.header.fields[1].type, px::FieldType::Memo);
        EXPECT_TRUE(table.records.back()[0] == px::Value(1.5));
        EXPECT_TRUE(table.records.back()[1] == px::Value(longText));
        scratch.Execute("DROP TABLE [shared]");
        fs::remove(paradoxFolder() / "SHARED.db");
        fs::remove(paradoxFolder() / "SHARED.mb");
    }
}

// Fields that do not hold a value are a fault of whoever chose them; the write-out refuses
// the table rather than write a value changed.
TEST_F(ScratchWriteOutTest, AValueTheChosenFieldCannotHoldIsRefusedNotChanged)
{
    struct Case {
        px::Field field;
        const char* literal;
    };
    const std::vector<Case> cases{
        {{"c", px::FieldType::Long, 0, 0}, "'1.5'"},
        {{"c", px::FieldType::Number, 0, 0}, "'12abc'"},
        {{"c", px::FieldType::Logical, 0, 0}, "'maybe'"},
        {{"c", px::FieldType::Timestamp, 0, 0}, "'10:00:00'"},
        {{"c", px::FieldType::Time, 0, 0}, "'2021-01-01'"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.literal);
        scratch.Execute("CREATE TABLE `t`(`c` TEXT)");
        scratch.Execute(std::string("INSERT INTO `t` VALUES(") + test.literal + ")");
        scratch.ExpectWriteOutFields("t", {test.field}, 1);
        const std::string message = writeOutFailure("t", "T");
        EXPECT_NE(message.find("does not fit the field chosen for the column 'c'"), std::string::npos) << message;
        EXPECT_TRUE(paradoxFiles().empty());
        scratch.Execute("DROP TABLE [t]");
    }
}

// A long table's rows are read ahead on a thread of their own while they are written out:
// every row still arrives once and in order, and a value refused deep in the table (while
// the reading is under way, in the weighing pass or the writing pass) still leaves no table.
TEST_F(ScratchWriteOutTest, ALongTableIsWrittenWholeAndInOrderOrNotAtAll)
{
    constexpr int kRows = 5000;
    const auto fill = [&](const std::string& table, int oddRow, const std::string& oddLiteral) {
        scratch.Execute("CREATE TABLE `" + table + "`(`id` TEXT,`name` TEXT)");
        for (int row = 1; row <= kRows; ++row) {
            const std::string id = row == oddRow ? oddLiteral : "'" + std::to_string(row) + "'";
            scratch.Execute("INSERT INTO `" + table + "` VALUES(" + id + ", 'row " + std::to_string(row) + "')");
        }
    };
    fill("long", 0, "");
    writeOut("long", "LONG");
    const pxtest::OurTable table = pxtest::readWithOurs(paradoxFolder() / "LONG.db");
    ASSERT_EQ(table.records.size(), static_cast<std::size_t>(kRows));
    for (int row = 1; row <= kRows; ++row) {
        const auto& record = table.records[static_cast<std::size_t>(row - 1)];
        ASSERT_TRUE(record[0] == px::Value{std::string(std::to_string(row))}) << "row " << row;
        ASSERT_TRUE(record[1] == px::Value{std::string("row " + std::to_string(row))}) << "row " << row;
    }
    fs::remove(paradoxFolder() / "LONG.db");

    // Refused while the fields are weighed: an empty text, which no Paradox field holds.
    fill("weighed", 4321, "''");
    std::string message = writeOutFailure("weighed", "WEIGHED");
    EXPECT_NE(message.find("row 4321"), std::string::npos) << message;
    // Refused while the rows are written, under fields handed over that cannot hold it.
    fill("handed", 4321, "'4321.5'");
    scratch.ExpectWriteOutFields("handed", {{"id", px::FieldType::Long, 0, 0}, {"name", px::FieldType::Alpha, 9, 0}},
                                 kRows);
    message = writeOutFailure("handed", "HANDED");
    EXPECT_NE(message.find("does not fit the field chosen for the column 'id'"), std::string::npos) << message;
    EXPECT_TRUE(paradoxFiles().empty());
}

TEST_F(ScratchWriteOutTest, NeverReplacesAnExistingTable)
{
    scratch.Execute("CREATE TABLE `orders`(`id` INT)");
    scratch.Execute("INSERT INTO `orders` VALUES('1')");
    const std::string oldContent = "an old table that must survive";
    std::ofstream(paradoxFolder() / "orders.DB") << oldContent;
    const std::string message = writeOutFailure("orders", "ORDERS");
    EXPECT_NE(message.find("Cannot write the scratch table 'orders'"), std::string::npos) << message;
    EXPECT_EQ(paradoxFiles(), (std::set<std::string>{"orders.DB"}));
    std::ifstream old(paradoxFolder() / "orders.DB");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), oldContent);
    // An orphan memo file blocks the name too: a new table must not adopt it.
    fs::remove(paradoxFolder() / "orders.DB");
    std::ofstream(paradoxFolder() / "ORDERS.MB") << "old memo";
    writeOutFailure("orders", "orders");
    EXPECT_EQ(paradoxFiles(), (std::set<std::string>{"ORDERS.MB"}));
}

TEST_F(ScratchWriteOutTest, RefusesAValueItWouldHaveToChangeNamingTableColumnAndRow)
{
    struct Refusal {
        const char* type;
        const char* literal;
        const char* words; // part of the message
    };
    const std::vector<Refusal> refusals{
        {"INT", "'12abc'", "is not a number"},
        {"FLOAT", "'NaN'", "is not a number"},
        {"DECIMAL", "'1234567890123456789012345678901234.5'", "32"},
        {"DATETIME", "'2021-02-30'", "is not a date"},
        {"DATETIME", "'2021-01-01 10:00:00.0001'", "millisecond"},
        {"TEXT", "''", "empty text"},
        {"TEXT", "'\xF0\x9F\x98\x80'", "1252"},
        {"VARCHAR(10)", "X''", "empty bytes"},
        {"Bit", "'maybe'", "True or False"},
        {"OLEOBJECT", "'text'", "is text"},
        // Sizes and types chosen in the customisation window are limits, not starting points.
        {"VarChar (5)", "'abcdef'", "6 characters, more than the 5"},
        {"Char (3)", "'\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC'", "4 characters"},
        {"Binary (2)", "X'010203'", "3 bytes, more than the 2"},
        {"SmallInt", "'40000'", "-32767 to 32767"},
        {"SmallInt", "'-32768'", "-32767 to 32767"},
        {"SmallInt", "'1.5'", "-32767 to 32767"},
        {"tinyint", "'256'", "0 to 255"},
        {"tinyint", "'-1'", "0 to 255"},
        {"Money", "'0.1000000000000000055511151231257827'", "Money field"},
        {"decimal(5, 2)", "'1.125'", "at most 3 digits before the point and 2 after"},
        {"numeric(4, 0)", "'12345'", "at most 4 digits before the point"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(std::string(refusal.type) + " " + refusal.literal);
        scratch.Execute(std::string("CREATE TABLE `t`(`before` INT,`c` ") + refusal.type + ")");
        scratch.Execute("INSERT INTO `t` VALUES('1', NULL)");
        scratch.Execute(std::string("INSERT INTO `t` VALUES('2', ") + refusal.literal + ")");
        const std::string message = writeOutFailure("t", "T");
        EXPECT_NE(message.find("Cannot write the scratch table 't'"), std::string::npos) << message;
        EXPECT_NE(message.find("column 'c'"), std::string::npos) << message;
        EXPECT_NE(message.find("row 2"), std::string::npos) << message;
        EXPECT_NE(message.find(refusal.words), std::string::npos) << message;
        EXPECT_TRUE(paradoxFiles().empty());
        scratch.Execute("DROP TABLE [t]");
    }
}

TEST_F(ScratchWriteOutTest, RefusesTargetsItCannotWrite)
{
    scratch.Execute("CREATE TABLE `t`(`a` INT)");
    const std::string folder = paradoxFolder().string();
    for (const std::string& statement : {
             "select * into [Paradox 5.x;Database=" + folder + "/missing/].[T.db] from [t]",
             "select * into [Paradox 4.x;Database=" + folder + "/].[T.db] from [t]",
             "select * into [Paradox 5.x;Database=" + folder + "/].[../T.db] from [t]",
             "select * into [Paradox 5.x;Database=" + folder + "/].[T.txt] from [t]",
             "select * into [Paradox 5.x;Database=" + folder + "/].[T.db] from [nothing]",
             "select * into [Paradox 5.x;Database=" + folder + "/].[T.db] from [t] where 1",
         }) {
        SCOPED_TRACE(statement);
        EXPECT_THROW(scratch.Execute(statement), DatabaseError);
    }
    EXPECT_TRUE(paradoxFiles().empty());
    // A column name Paradox cannot take is a clear failure too, with nothing written.
    scratch.Execute("CREATE TABLE `wide`(`a_name_longer_than_25_chars` INT)");
    EXPECT_NE(writeOutFailure("wide", "WIDE").find("25"), std::string::npos);
    EXPECT_TRUE(paradoxFiles().empty());
}

TEST_F(ScratchWriteOutTest, TheTargetMayNameTheCodePageTheTableIsWrittenIn)
{
    scratch.Execute("CREATE TABLE `t`(`name` TEXT)");
    scratch.Execute("INSERT INTO `t` VALUES('Мир')");
    const std::string folder = paradoxFolder().string();
    // The folder runs to the bracket and may hold ";" and "CodePage=" of its own.
    const fs::path odd = paradoxFolder() / "a;CodePage=7";
    fs::create_directory(odd);
    scratch.Execute("select * into [Paradox 5.x;CodePage=866;Database=" + odd.string() + "/].[CYR.db] from [t]");
    const pxtest::OurTable table = pxtest::readWithOurs(odd / "CYR.db");
    EXPECT_EQ(table.header.codePage, 866);
    ASSERT_EQ(table.records.size(), 1u);
    EXPECT_EQ(table.records[0][0], px::Value(std::string("Мир")));

    for (const char* codePage : {"CodePage=;", "CodePage=x;", "CodePage=0;", "CodePage=866"}) {
        SCOPED_TRACE(codePage);
        EXPECT_THROW(scratch.Execute(std::string("select * into [Paradox 5.x;") + codePage + "Database=" + folder
                                     + "/].[T.db] from [t]"),
                     DatabaseError);
    }
    EXPECT_EQ(paradoxFiles(), std::set<std::string>{"a;CodePage=7"});
}

// A key field's value as the keyed write-out test lists it: a whole number or a text; blank "".
std::string keyText(const px::Value& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return std::to_string(*number);
    if (const auto* real = std::get_if<double>(&value))
        return std::to_string(static_cast<long long>(*real));
    return {};
}

// With "KeyFields=N;" the table is keyed: its records in key order (whatever order the rows
// came in), its .PX read by pxlib; a key Paradox cannot keep fails the write-out, writing
// nothing, with its own error number.
TEST_F(ScratchWriteOutTest, AKeyedWriteOutPutsTheRowsInKeyOrderOrSaysWhyTheKeyCannotBeKept)
{
    struct Case {
        const char* name;
        const char* columns;
        std::vector<const char*> rows; // VALUES texts
        int keyFields;
        std::vector<std::string> firstColumn; // as read back, in the table's order; empty: refused
        const char* refusal = "";
    };
    const std::string memo = "'" + longText + "','1'";
    const std::vector<Case> cases = {
        {"INORDER", "`id` INT,`n` TEXT", {"'1','a'", "'2','b'", "'10','c'"}, 1, {"1", "2", "10"}},
        {"SORTED", "`k` VARCHAR(5),`n` INT", {"'b','1'", "'a','2'", "'B','3'", "'a ','4'", "NULL,'5'"}, 1,
         {"", "B", "a", "a ", "b"}},
        {"TWOKEYS", "`a` INT,`b` VARCHAR(3)", {"'2','x'", "'1','y'", "'1','x'"}, 2, {"1", "1", "2"}},
        {"DUPLICATE", "`id` INT,`n` TEXT", {"'1','a'", "'1','b'"}, 1, {}, "rows 1 and 2 have the same key"},
        {"BLANKTWICE", "`k` VARCHAR(5),`n` INT", {"'z','1'", "NULL,'2'", "NULL,'3'"}, 1, {},
         "rows 2 and 3 have the same key"},
        {"MEMOKEY", "`m` TEXT,`n` INT", {memo.c_str()}, 1, {}, "cannot be"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        scratch.Execute(std::string("CREATE TABLE `") + test.name + "`(" + test.columns + ")");
        for (const char* row : test.rows)
            scratch.Execute(std::string("INSERT INTO `") + test.name + "` VALUES(" + row + ")");
        const std::string statement = "select * into [Paradox 5.x;KeyFields=" + std::to_string(test.keyFields)
            + ";Database=" + paradoxFolder().string() + "/].[" + test.name + ".db] from [" + test.name + "]";
        if (test.firstColumn.empty()) {
            try {
                scratch.Execute(statement);
                ADD_FAILURE() << "keyed although the key cannot be kept";
            } catch (const DatabaseError& error) {
                EXPECT_EQ(error.number(), quintabel::db::scratch::kKeyNotKept);
                EXPECT_NE(error.description().find(test.refusal), std::string::npos) << error.description();
            }
            EXPECT_FALSE(fs::exists(paradoxFolder() / (std::string(test.name) + ".db")));
            continue;
        }
        scratch.Execute(statement);
        const fs::path table = paradoxFolder() / (std::string(test.name) + ".db");
        const pxtest::OurTable ours = pxtest::readWithOurs(table);
        EXPECT_EQ(ours.header.keyFieldCount, test.keyFields);
        std::vector<std::string> firstColumn;
        for (const auto& record : ours.records)
            firstColumn.push_back(keyText(record[0]));
        EXPECT_EQ(firstColumn, test.firstColumn);
        const pxtest::PxlibPrimaryIndex index =
            pxtest::readPrimaryIndexWithPxlib(paradoxFolder() / (std::string(test.name) + ".px"), table);
        EXPECT_TRUE(index.read && index.acceptedByTable) << index.errors;
    }
}

TEST_F(ScratchWriteOutTest, AnEmptyTableBecomesAnEmptyParadoxTable)
{
    scratch.Execute("CREATE TABLE `empty`(`id` INT,`name` TEXT,`note` VARCHAR(20))");
    writeOut("empty", "EMPTY");
    const pxtest::OurTable table = pxtest::readWithOurs(paradoxFolder() / "EMPTY.db");
    EXPECT_TRUE(table.records.empty());
    ASSERT_EQ(table.header.fields.size(), 3u);
    EXPECT_EQ(table.header.fields[0].type, px::FieldType::Long);
    EXPECT_EQ(table.header.fields[2].size, 20);
}

// Rows are kept in one transaction until the write-out; when the disk refuses them, not one
// row that was accepted may be missing from a Paradox table that is written.
TEST_F(ScratchWriteOutTest, RowsTheDiskRefusedAreNeverWrittenOutAsAWholeTable)
{
    scratch.Execute("CREATE TABLE `big`(`id` INT,`text` TEXT)");
    const fs::path scratchFile = program.path() / "dbtemp.mdb";
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(fs::file_size(scratchFile)) + 64 * 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string filler(1000, 'x');
    int accepted = 0;
    int refused = 0;
    for (int row = 0; row < 6000; ++row) {
        try {
            scratch.Execute("INSERT INTO `big` VALUES('" + std::to_string(row) + "', '" + filler + "')");
            ++accepted;
        } catch (const DatabaseError&) {
            ++refused;
        }
    }
    std::string failure;
    try {
        writeOut("big", "BIG");
    } catch (const DatabaseError& error) {
        failure = error.description();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_GT(refused, 0) << "the file limit was never reached";
    if (failure.empty()) {
        EXPECT_EQ(pxtest::readWithOurs(paradoxFolder() / "BIG.db").records.size(),
                  static_cast<std::size_t>(accepted));
    } else {
        EXPECT_NE(failure.find("were lost"), std::string::npos) << failure;
        EXPECT_TRUE(paradoxFiles().empty());
    }
    // Once dropped, the name can be filled and written out again.
    scratch.Execute("DROP TABLE [big]");
    scratch.Execute("CREATE TABLE `big`(`id` INT)");
    scratch.Execute("INSERT INTO `big` VALUES('1')");
    writeOut("big", "AGAIN");
    EXPECT_EQ(pxtest::readWithOurs(paradoxFolder() / "AGAIN.db").records.size(), 1u);
}

TEST(ExactNumbers, TellWhichDoublesHoldAValue)
{
    using quintabel::db::readExactNumber;
    using quintabel::db::toExactDouble;
    for (const char* exact : {"0.1", "1.10", "-0", "1e+20", "0.30000000000000004", "123456789012345",
                              "9007199254740992", "5e-324", "1.7976931348623157e308"}) {
        SCOPED_TRACE(exact);
        ASSERT_TRUE(readExactNumber(exact).has_value());
        EXPECT_TRUE(toExactDouble(*readExactNumber(exact)).has_value());
    }
    for (const char* inexact : {"0.1000000000000000055511151231257827", "9007199254740993",
                                "12345678901234567890", "1e400", "2e-400"}) {
        SCOPED_TRACE(inexact);
        ASSERT_TRUE(readExactNumber(inexact).has_value());
        EXPECT_FALSE(toExactDouble(*readExactNumber(inexact)).has_value());
    }
    for (const char* notANumber : {"", "-", ".", "1.2.3", "1e", "0x10", " 1", "1,5", "Infinity"})
        EXPECT_FALSE(readExactNumber(notANumber).has_value()) << notANumber;
}

} // namespace
