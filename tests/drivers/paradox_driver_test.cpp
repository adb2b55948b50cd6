// The Paradox folder driver on the genuine test tables: every field type's ADO type number,
// every value checked against pxlib's reading, and the statements the program sends.

#include "base/expected_problem.h"
#include "connections/connection.h"
#include "connections/connection_string.h"
#include "drivers/ado_types.h"
#include "drivers/database_error.h"
#include "paradoxfile/errors.h"
#include "support/table_compare.h"
#include "support/write_helpers.h"
#include "temporary_folder.h"
#include "value_description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using quintabel::connections::Connection;
using quintabel::connections::LoginFields;
using quintabel::connections::paradoxConnectionString;
using quintabel::connections::Recordset;
using quintabel::db::DatabaseError;
using quintabel::testing::describe;
using quintabel::testing::TemporaryFolder;
namespace ado = quintabel::db::ado;
namespace fs = std::filesystem;
namespace px = quintabel::paradox;
namespace pxtest = quintabel::paradox::testing;

namespace {

std::string connectionStringFor(const fs::path& folder)
{
    LoginFields fields;
    fields.paradoxFolder = folder.string();
    return paradoxConnectionString(fields);
}

Recordset selectAll(Connection& connection, const std::string& table)
{
    return connection.Execute("SELECT * FROM `" + table + "`");
}

// The driver's value back in the file library's terms, so that the library's comparison with
// pxlib (which knows pxlib's quirks) can judge what the driver handed up.
px::Value toParadoxValue(const quintabel::db::Value& value)
{
    namespace db = quintabel::db;
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return *number;
    if (const auto* number = std::get_if<double>(&value))
        return *number;
    if (const auto* decimal = std::get_if<db::Decimal>(&value))
        return px::Decimal{decimal->digits};
    if (const auto* truth = std::get_if<bool>(&value))
        return *truth;
    if (const auto* date = std::get_if<db::Date>(&value))
        return px::Date{date->year, date->month, date->day};
    if (const auto* time = std::get_if<db::Time>(&value)) {
        EXPECT_EQ(time->microsecond % 1000, 0) << "a Paradox time has whole milliseconds";
        return px::Time{time->hour, time->minute, time->second, time->microsecond / 1000};
    }
    if (const auto* stamp = std::get_if<db::DateTime>(&value)) {
        return px::Timestamp{{stamp->date.year, stamp->date.month, stamp->date.day},
                             {stamp->time.hour, stamp->time.minute, stamp->time.second,
                              stamp->time.microsecond / 1000}};
    }
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* bytes = std::get_if<db::Bytes>(&value))
        return px::Blob(*bytes);
    EXPECT_TRUE(db::isNull(value)) << describe(value);
    return px::Null{};
}

// The ADO type number the Windows Paradox driver reports for each field type.
const std::map<px::FieldType, int> expectedAdoTypes{
    {px::FieldType::Alpha, ado::adVarChar},          {px::FieldType::Number, ado::adDouble},
    {px::FieldType::Money, ado::adDouble},           {px::FieldType::Short, ado::adSmallInt},
    {px::FieldType::Long, ado::adInteger},           {px::FieldType::Date, ado::adDBDate},
    {px::FieldType::Time, ado::adDBTimeStamp},       {px::FieldType::Timestamp, ado::adDBTimeStamp},
    {px::FieldType::Logical, ado::adBoolean},        {px::FieldType::AutoIncrement, ado::adInteger},
    {px::FieldType::Bcd, ado::adDouble},             {px::FieldType::Bytes, ado::adBinary},
    {px::FieldType::Memo, ado::adLongVarChar},       {px::FieldType::FormattedMemo, ado::adLongVarBinary},
    {px::FieldType::Binary, ado::adLongVarBinary},   {px::FieldType::Ole, ado::adLongVarBinary},
    {px::FieldType::Graphic, ado::adLongVarBinary},
};

TEST(ParadoxDriver, ReadsEveryTestTableAsPxlibDoes)
{
    std::set<px::FieldType> typesSeen;
    std::size_t valuesCompared = 0;
    for (const fs::path& table : pxtest::testdataTables()) {
        SCOPED_TRACE(table.string());
        const pxtest::OurTable library = pxtest::readWithOurs(table);
        Connection connection;
        connection.setCursorLocation(quintabel::connections::adUseClient);
        connection.Open(connectionStringFor(table.parent_path()));
        Recordset rows = selectAll(connection, table.stem().string());

        ASSERT_EQ(rows.FieldCount(), static_cast<int>(library.header.fields.size()));
        for (int i = 0; i < rows.FieldCount(); ++i) {
            const px::Field& field = library.header.fields[static_cast<std::size_t>(i)];
            EXPECT_EQ(rows.Fields(i).Name(), field.name);
            EXPECT_EQ(rows.Fields(i).Type(), expectedAdoTypes.at(field.type)) << field.name;
            typesSeen.insert(field.type);
        }
        EXPECT_EQ(rows.RecordCount(), static_cast<std::int64_t>(library.records.size()));

        pxtest::OurTable throughDriver;
        throughDriver.header = library.header;
        for (; !rows.Eof(); rows.MoveNext()) {
            std::vector<px::Value> record;
            for (int i = 0; i < rows.FieldCount(); ++i)
                record.push_back(toParadoxValue(rows.Fields(i).Value()));
            throughDriver.records.push_back(std::move(record));
        }
        const auto comparison =
            pxtest::compareWithPxlib(throughDriver, pxtest::readWithPxlibAndBlobs(table));
        for (const std::string& difference : comparison.differences)
            ADD_FAILURE() << difference;
        valuesCompared += comparison.valuesCompared;
    }
    // Every field type the test tables hold was seen, and a good many values compared.
    EXPECT_GE(typesSeen.size(), 15u);
    EXPECT_GT(valuesCompared, 10000u) << valuesCompared;
}

// Read as a stream (a server-side cursor), a table tells its record count before a row is
// read, and yields the same rows as when read whole.
TEST(ParadoxDriver, StreamsEveryTestTableWithItsRecordCountUpFront)
{
    std::size_t tablesStreamed = 0;
    for (const fs::path& table : pxtest::testdataTables()) {
        SCOPED_TRACE(table.string());
        const pxtest::OurTable library = pxtest::readWithOurs(table);
        Connection whole;
        whole.setCursorLocation(quintabel::connections::adUseClient);
        whole.Open(connectionStringFor(table.parent_path()));
        Recordset held = selectAll(whole, table.stem().string());
        Connection streaming;
        streaming.setCursorLocation(quintabel::connections::adUseServer);
        streaming.Open(connectionStringFor(table.parent_path()));
        Recordset streamed = selectAll(streaming, table.stem().string());

        EXPECT_EQ(streamed.RecordCount(), static_cast<std::int64_t>(library.records.size()));
        std::int64_t rowsRead = 0;
        for (; !streamed.Eof(); streamed.MoveNext(), held.MoveNext(), ++rowsRead) {
            ASSERT_FALSE(held.Eof());
            for (int i = 0; i < streamed.FieldCount(); ++i)
                ASSERT_EQ(describe(streamed.Fields(i).Value()), describe(held.Fields(i).Value()))
                    << "row " << rowsRead + 1 << ", field " << i;
        }
        EXPECT_TRUE(held.Eof());
        EXPECT_EQ(rowsRead, held.RecordCount());

        Recordset first;
        first.Open("SELECT top 1 * FROM `" + table.stem().string() + "`", streaming);
        EXPECT_EQ(first.RecordCount(), std::min<std::int64_t>(1, rowsRead));
        ++tablesStreamed;
    }
    EXPECT_GT(tablesStreamed, 10u);
}

class ParadoxFolderTest : public ::testing::Test {
protected:
    // Copies the test tables of `subfolder` (with their companions) into the folder.
    void copyTables(const std::string& subfolder)
    {
        for (const auto& entry : fs::directory_iterator(pxtest::testdataPath(subfolder)))
            fs::copy_file(entry.path(), folder.path() / entry.path().filename());
    }

    std::set<std::string> files() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            names.insert(entry.path().filename().string());
        return names;
    }

    TemporaryFolder folder;
};

TEST_F(ParadoxFolderTest, AnswersTheProgramsStatementsWithNamesInAnyCase)
{
    copyTables("paradox/leonhad-paradoxdriver/joins");
    Connection connection;
    connection.setCursorLocation(quintabel::connections::adUseClient);
    connection.Open(connectionStringFor(folder.path()));

    Recordset all = selectAll(connection, "FK4");
    EXPECT_EQ(all.RecordCount(), 2);
    Recordset first;
    first.Open("SELECT top 1 * FROM \"Fk4\"", connection, quintabel::connections::adOpenStatic,
               quintabel::connections::adLockOptimistic);
    EXPECT_EQ(first.RecordCount(), 1);
    EXPECT_EQ(describe(first.Fields(0).Value()), describe(all.Fields(0).Value()));
    Recordset empty = connection.Execute("SELECT top 1 * FROM \"FK1\"");
    EXPECT_TRUE(empty.Eof());
    EXPECT_EQ(empty.FieldCount(), 2);

    Recordset schema = connection.OpenSchema(20);
    std::set<std::string> tables;
    for (; !schema.Eof(); schema.MoveNext()) {
        EXPECT_EQ(quintabel::db::toText(schema.Fields("TABLE_TYPE").Value()), "TABLE");
        tables.insert(quintabel::db::toText(schema.Fields("TABLE_NAME").Value()));
    }
    EXPECT_EQ(tables, (std::set<std::string>{"fk1", "fk4", "joina"}));
}

TEST_F(ParadoxFolderTest, DropTableRemovesTheWholeFamilyAndNothingElse)
{
    copyTables("paradox/leonhad-paradoxdriver/joins");
    Connection connection;
    connection.Open(connectionStringFor(folder.path()));
    connection.Execute("DROP TABLE [FK1]");
    EXPECT_EQ(files(), (std::set<std::string>{"fk4.XG0", "fk4.YG0", "fk4.db", "fk4.px", "fk4.val",
                                              "joina.db"}));
    EXPECT_THROW(connection.Execute("DROP TABLE [FK1]"), DatabaseError);
    EXPECT_THROW(selectAll(connection, "fk1"), DatabaseError);
}

TEST_F(ParadoxFolderTest, RefusesWhatItCannotDoWithAClearMessage)
{
    copyTables("paradox/leonhad-paradoxdriver/joins");
    Connection connection;
    connection.Open(connectionStringFor(folder.path()));
    try {
        selectAll(connection, "ORDERS");
        ADD_FAILURE() << "a missing table was read";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.description(), "Paradox table 'ORDERS' was not found in folder '"
                                           + folder.string() + "'.");
    }
    for (const char* statement :
         {"DELETE FROM `fk4`", "SELECT a FROM `fk4`", "SELECT * FROM `fk4` WHERE 1",
          "SELECT top 0 * FROM \"fk4\"", "DROP TABLE [fk4]; DROP TABLE [joina]",
          "SELECT * FROM `../joins/fk4`", "DROP TABLE [fk4]x]", "CREATE TABLE `x`(`a` INT)"}) {
        SCOPED_TRACE(statement);
        EXPECT_THROW(connection.Execute(statement), DatabaseError);
    }
    EXPECT_EQ(files().size(), 11u); // nothing was removed
}

TEST(ParadoxDriverOpening, NeedsOneExistingFolder)
{
    TemporaryFolder folder;
    const std::string other = folder.string() + "/missing";
    const std::vector<std::string> refused{
        connectionStringFor(other),
        "Driver={Microsoft Paradox Driver (*.db )};DefaultDir=" + folder.string()
            + ";Dbq=/tmp;",
        "Driver={Microsoft Paradox Driver (*.db )};DriverID=538;Fil=Paradox 5.X;DefaultDir=;Dbq=;"
        "CollatingSequence=ASCII;",
    };
    for (const std::string& text : refused) {
        SCOPED_TRACE(text);
        Connection connection;
        EXPECT_THROW(connection.Open(text), DatabaseError);
    }
    Connection connection;
    connection.Open(connectionStringFor(folder.path()));
    EXPECT_TRUE(connection.OpenSchema(20).Eof());
}

TEST(ParadoxDriverOpening, TextInAnotherCodePageFailsAsAProblemTheUserCanPutRight)
{
    pxtest::ScratchFolder folder;
    pxtest::writeTableWithUnreadableName(folder.path(), "names");
    Connection connection;
    connection.Open(connectionStringFor(folder.path()));
    try {
        Recordset rows = selectAll(connection, "names");
        ADD_FAILURE() << "a table with text that is not valid in its code page was read";
    } catch (const DatabaseError& error) {
        EXPECT_NE(error.description().find("names.DB"), std::string::npos) << error.description();
        EXPECT_NE(error.description().find("code page 936"), std::string::npos) << error.description();
        EXPECT_EQ(error.description().find("Corrupt"), std::string::npos) << error.description();
        EXPECT_TRUE(quintabel::isExpectedProblem(error));
    }
}

// A table whose text is in code page 866 but whose header says 936, as old tools sometimes
// labelled them: "Мир" in 866 ends in a lone lead byte, which no 936 text has.
void writeMislabelledCities(const fs::path& folder)
{
    px::testing::writeMislabelledTable(folder, "CITIES", "NAME", {"Мир"}, 866, 936);
}

TEST(ParadoxDriverCodePage, ATableInAnotherCodePageThanItsHeaderSaysIsReadInTheChosenOne)
{
    TemporaryFolder folder;
    writeMislabelledCities(folder.path());
    LoginFields fields;
    fields.paradoxFolder = folder.string();

    Connection asTheTableSays;
    asTheTableSays.Open(paradoxConnectionString(fields));
    try {
        Recordset rows = selectAll(asTheTableSays, "CITIES");
        ADD_FAILURE() << "text that is not valid in 936 was read";
    } catch (const DatabaseError& error) {
        // Something the user can put right, and the message says how.
        EXPECT_TRUE(quintabel::isExpectedProblem(error));
        EXPECT_NE(error.description().find("936"), std::string::npos) << error.description();
        EXPECT_NE(error.description().find("choose it under Code Page in the connection window"), std::string::npos)
            << error.description();
    }

    // A chosen code page that does not fit either says so, and how to go back to the header's.
    fields.paradoxCodePage = 936;
    Connection wronglyChosen;
    wronglyChosen.Open(paradoxConnectionString(fields));
    try {
        Recordset rows = selectAll(wronglyChosen, "CITIES");
        ADD_FAILURE() << "text that is not valid in the chosen 936 was read";
    } catch (const DatabaseError& error) {
        EXPECT_NE(error.description().find("chosen"), std::string::npos) << error.description();
        EXPECT_NE(error.description().find("\"As each table says\""), std::string::npos) << error.description();
    }

    fields.paradoxCodePage = 866;
    Connection chosen;
    chosen.Open(paradoxConnectionString(fields));
    Recordset rows = selectAll(chosen, "CITIES");
    ASSERT_FALSE(rows.Eof());
    EXPECT_EQ(describe(rows.Fields(0).Value()), "text Мир");
}

TEST(ParadoxDriverCodePage, AConnectionStringWithAnUnknownCodePageIsRefused)
{
    TemporaryFolder folder;
    LoginFields fields;
    fields.paradoxFolder = folder.string();
    const std::string plain = paradoxConnectionString(fields);
    for (const char* codePage : {"CodePage=abc;", "CodePage=12345;", "CodePage=-1;", "CodePage=866x;"}) {
        SCOPED_TRACE(codePage);
        Connection connection;
        EXPECT_THROW(connection.Open(plain + codePage), DatabaseError);
    }
}

} // namespace
