// The three connection strings byte for byte, and reading them back as ODBC attributes.

#include "connections/connection.h"
#include "connections/connection_string.h"
#include "drivers/database_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using quintabel::connections::Connection;
using quintabel::connections::LoginFields;
using quintabel::connections::mySqlConnectionString;
using quintabel::connections::paradoxConnectionString;
using quintabel::connections::parseConnectionString;
using quintabel::connections::scratchConnectionString;
using quintabel::db::DatabaseError;

namespace {

LoginFields typicalFields()
{
    LoginFields fields;
    fields.paradoxFolder = "/home/ann/paradox";
    fields.server = "db.example.org";
    fields.port = "3306";
    fields.user = "ann";
    fields.password = "s3cret";
    fields.database = "shop";
    return fields;
}

TEST(ConnectionStrings, AreBuiltByteForByte)
{
    EXPECT_EQ(mySqlConnectionString(typicalFields()),
              "DRIVER={MySQL ODBC 5.1 Driver};SERVER=db.example.org;USER=ann;DATABASE=shop;"
              "PASSWORD=s3cret;PORT=3306;");
    EXPECT_EQ(mySqlConnectionString(LoginFields{}),
              "DRIVER={MySQL ODBC 5.1 Driver};SERVER=;USER=;DATABASE=;PASSWORD=;PORT=;");
    EXPECT_EQ(paradoxConnectionString(typicalFields()),
              "Driver={Microsoft Paradox Driver (*.db )};DriverID=538;Fil=Paradox 5.X;"
              "DefaultDir=/home/ann/paradox;Dbq=/home/ann/paradox;CollatingSequence=ASCII;");
    EXPECT_EQ(paradoxConnectionString(LoginFields{}),
              "Driver={Microsoft Paradox Driver (*.db )};DriverID=538;Fil=Paradox 5.X;"
              "DefaultDir=;Dbq=;CollatingSequence=ASCII;");
    // A code page chosen over the tables' own travels at the end, and only when chosen.
    LoginFields withCodePage = typicalFields();
    withCodePage.paradoxCodePage = 1251;
    EXPECT_EQ(paradoxConnectionString(withCodePage),
              "Driver={Microsoft Paradox Driver (*.db )};DriverID=538;Fil=Paradox 5.X;"
              "DefaultDir=/home/ann/paradox;Dbq=/home/ann/paradox;CollatingSequence=ASCII;CodePage=1251;");
    EXPECT_EQ(scratchConnectionString("/opt/quintabel"),
              "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=/opt/quintabel/dbtemp.mdb;");

    // Values go in exactly as typed: a trailing separator, blanks, a ";".
    LoginFields odd = typicalFields();
    odd.paradoxFolder = "/data/tables/";
    odd.password = " a;b ";
    EXPECT_EQ(paradoxConnectionString(odd),
              "Driver={Microsoft Paradox Driver (*.db )};DriverID=538;Fil=Paradox 5.X;"
              "DefaultDir=/data/tables/;Dbq=/data/tables/;CollatingSequence=ASCII;");
    EXPECT_EQ(mySqlConnectionString(odd),
              "DRIVER={MySQL ODBC 5.1 Driver};SERVER=db.example.org;USER=ann;DATABASE=shop;"
              "PASSWORD= a;b ;PORT=3306;");
}

TEST(ConnectionStrings, ReadBackTheFieldsThatWentIn)
{
    LoginFields fields;
    fields.server = " host with blanks ";
    fields.port = "";
    fields.user = "O'Neil=admin";
    fields.password = "p}a{s\\s \xC3\xBC";
    fields.database = "b\xC3\xBC" "cher";
    fields.paradoxFolder = "/tmp/with space/";

    const auto mySql = parseConnectionString(mySqlConnectionString(fields));
    EXPECT_EQ(mySql.find("driver"), "MySQL ODBC 5.1 Driver");
    EXPECT_EQ(mySql.find("SERVER"), fields.server);
    EXPECT_EQ(mySql.find("Port"), fields.port);
    EXPECT_EQ(mySql.find("user"), fields.user);
    EXPECT_EQ(mySql.find("PASSWORD"), fields.password);
    EXPECT_EQ(mySql.find("database"), fields.database);
    EXPECT_EQ(mySql.pairs().size(), 6u);

    const auto paradox = parseConnectionString(paradoxConnectionString(fields));
    EXPECT_EQ(paradox.find("DRIVER"), "Microsoft Paradox Driver (*.db )");
    EXPECT_EQ(paradox.find("dbq"), fields.paradoxFolder);
    EXPECT_EQ(paradox.find("DEFAULTDIR"), fields.paradoxFolder);

    const auto scratch = parseConnectionString(scratchConnectionString("/opt/q"));
    EXPECT_EQ(scratch.find("provider"), "Microsoft.Jet.OLEDB.4.0");
    EXPECT_EQ(scratch.find("DATA SOURCE"), "/opt/q/dbtemp.mdb");
}

TEST(ConnectionStrings, BracedValuesFollowOdbcRules)
{
    const auto attributes = parseConnectionString("A={x;y};B={p}}q};C= {z};D={}");
    EXPECT_EQ(attributes.find("A"), "x;y");
    EXPECT_EQ(attributes.find("B"), "p}q");
    EXPECT_EQ(attributes.find("C"), " {z}"); // not braced: the value starts with a blank
    EXPECT_EQ(attributes.find("D"), "");
    // A typed value that happens to start with "{" loses its braces, as under ODBC.
    LoginFields fields;
    fields.password = "{secret}";
    EXPECT_EQ(parseConnectionString(mySqlConnectionString(fields)).find("PASSWORD"), "secret");
}

TEST(ConnectionStrings, AValueHoldingASemicolonNeverConnectsElsewhere)
{
    // Each text, typed into any field, must make the whole string fail: as a piece without
    // "=", as a repeated key, or as a key the driver does not know.
    const std::vector<std::string> breakingValues{
        "a;b", "x;SERVER=evil.example.org", "x;PORT=1", "x;DATABASE=mysql", "x;;", "x;OPTION=3",
        "{unclosed", "{a}b"};
    for (const std::string& value : breakingValues) {
        for (int field = 0; field < 5; ++field) {
            LoginFields fields = typicalFields();
            std::string* targets[] = {&fields.server, &fields.port, &fields.user,
                                      &fields.password, &fields.database};
            *targets[field] = value;
            SCOPED_TRACE("field " + std::to_string(field) + " = " + value);
            Connection connection;
            try {
                connection.Open(mySqlConnectionString(fields));
                ADD_FAILURE() << "opened";
            } catch (const DatabaseError& error) {
                EXPECT_EQ(error.description().rfind("The connection string", 0), 0u)
                    << error.description();
            }
            EXPECT_EQ(connection.State(), quintabel::connections::adStateClosed);
        }
    }
}

TEST(ConnectionStrings, MalformedStringsAreRefusedWithTheirPlace)
{
    for (const char* text : {"A=1;;B=2", "A=1;B", "=1", "A=1;B=2;a=3", "A={1}x;", " ;A=1"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(parseConnectionString(text), DatabaseError);
    }
    EXPECT_NO_THROW(parseConnectionString(""));
    EXPECT_NO_THROW(parseConnectionString("A=1"));
}

TEST(ConnectionStrings, OnlyKnownDriversOpen)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"DRIVER={SQL Server};SERVER=x;", "No driver named 'SQL Server' is installed."},
        {"PROVIDER=SQLOLEDB;Data Source=x;", "No provider named 'SQLOLEDB' is installed."},
        {"SERVER=x;", "The connection string names no DRIVER and no PROVIDER."},
        {"DRIVER={MySQL ODBC 5.1 Driver};PROVIDER=Microsoft.Jet.OLEDB.4.0;",
         "The connection string names both a DRIVER and a PROVIDER."},
    };
    for (const auto& [text, message] : cases) {
        Connection connection;
        try {
            connection.Open(text);
            ADD_FAILURE() << text << " opened";
        } catch (const DatabaseError& error) {
            EXPECT_EQ(error.description(), message);
        }
    }
}

TEST(ConnectionObject, RefusesOperationsOutOfOrder)
{
    Connection connection;
    EXPECT_EQ(connection.State(), quintabel::connections::adStateClosed);
    EXPECT_THROW(connection.Execute("SELECT 1"), DatabaseError);
    EXPECT_THROW(connection.OpenSchema(20), DatabaseError);
    EXPECT_THROW(connection.Close(), DatabaseError);
    EXPECT_THROW(connection.setCursorLocation(1), DatabaseError);
    EXPECT_THROW(connection.setMode(4), DatabaseError);
    EXPECT_THROW(connection.setCommandTimeout(-1), DatabaseError);
    connection.setCursorLocation(3);
    connection.setCommandTimeout(5000);
    connection.setConnectionTimeout(5000);
    EXPECT_EQ(connection.CursorLocation(), 3);
    EXPECT_EQ(connection.CommandTimeout(), 5000);
}

} // namespace
