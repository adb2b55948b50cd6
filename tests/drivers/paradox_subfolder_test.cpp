// The Paradox folder driver on tables that lie in folders below the Paradox folder, where the
// table list finds them: real test tables copied into nested folders.

#include "base/expected_problem.h"
#include "connections/connection.h"
#include "connections/connection_string.h"
#include "drivers/database_error.h"
#include "support/table_compare.h"
#include "support/write_helpers.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <set>

using quintabel::isExpectedProblem;
using quintabel::connections::Connection;
using quintabel::connections::LoginFields;
using quintabel::connections::paradoxConnectionString;
using quintabel::db::DatabaseError;
using quintabel::testing::TemporaryFolder;
namespace fs = std::filesystem;
namespace pxtest = quintabel::paradox::testing;

namespace {

std::string connectionStringFor(const fs::path& folder)
{
    LoginFields fields;
    fields.paradoxFolder = folder.string();
    return paradoxConnectionString(fields);
}

class ParadoxSubfolderTest : public ::testing::Test {
protected:
    void SetUp() override { connection.Open(connectionStringFor(root())); }

    const fs::path& root() const { return folder.path(); }

    // Copies the test table `file` of the test data (tests/data), with its companions, into `into`
    // (relative to the Paradox folder), under the base name `as`.
    void copyTable(const std::string& file, const fs::path& into, const std::string& as)
    {
        const fs::path source = pxtest::testdataPath(file);
        fs::create_directories(root() / into);
        for (const auto& entry : fs::directory_iterator(source.parent_path())) {
            if (entry.path().stem() == source.stem())
                fs::copy_file(entry.path(), root() / into / (as + entry.path().extension().string()));
        }
    }

    // Every file below the Paradox folder, by its path relative to it.
    std::set<std::string> files() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(root())) {
            if (!entry.is_directory())
                names.insert(fs::relative(entry.path(), root()).string());
        }
        return names;
    }

    struct Failure {
        std::string description;
        bool expected = false; // marked as a problem the user can put right
    };

    // How `statement` fails; it must fail.
    Failure failureOf(const std::string& statement)
    {
        try {
            connection.Execute(statement);
        } catch (const DatabaseError& failure) {
            return {failure.description(), isExpectedProblem(failure)};
        }
        ADD_FAILURE() << "did not fail: " << statement;
        return {};
    }

    long recordCount(const std::string& table)
    {
        connection.setCursorLocation(quintabel::connections::adUseClient);
        return connection.Execute("SELECT * FROM `" + table + "`").RecordCount();
    }

    TemporaryFolder folder;
    Connection connection;
};

TEST_F(ParadoxSubfolderTest, ATableBelowTheFolderIsReadAndDroppedWhereItLies)
{
    // AREACODE (135 records) has a .PX and a .VAL; it lies two folders down, in lower case.
    copyTable("paradox/leonhad-paradoxdriver/db/AREACODE.DB", "Regions/west", "areacode");
    copyTable("paradox/leonhad-paradoxdriver/joins/joina.db", ".", "joina");

    EXPECT_EQ(recordCount("AREACODE"), 135);
    Connection firstOnly;
    firstOnly.setCursorLocation(quintabel::connections::adUseClient);
    firstOnly.Open(connectionStringFor(root()));
    EXPECT_EQ(firstOnly.Execute("SELECT top 1 * FROM \"AreaCode\"").RecordCount(), 1);

    connection.Execute("DROP TABLE [AREACODE]");
    EXPECT_EQ(files(), std::set<std::string>{"joina.db"});
}

TEST_F(ParadoxSubfolderTest, TheFolderItselfComesBeforeAnyFolderBelowIt)
{
    copyTable("paradox/leonhad-paradoxdriver/db/ORDERS.DB", "old", "ORDERS"); // 224 records
    copyTable("paradox/leonhad-paradoxdriver/db/SERVER.DB", ".", "orders");   // 4 records

    EXPECT_EQ(recordCount("ORDERS"), 4);
    connection.Execute("DROP TABLE [ORDERS]");
    EXPECT_EQ(files(), (std::set<std::string>{"old/ORDERS.DB", "old/ORDERS.PX"}));
    // With the folder's own table gone, the name finds the one below.
    EXPECT_EQ(recordCount("ORDERS"), 224);
}

TEST_F(ParadoxSubfolderTest, TwoTablesOfOneNameBelowTheFolderAreNamedNotGuessed)
{
    copyTable("paradox/leonhad-paradoxdriver/db/ORDERS.DB", "2023", "ORDERS");
    copyTable("paradox/leonhad-paradoxdriver/db/SERVER.DB", "2024/archive", "Orders");
    const auto before = files();

    for (const auto& [statement, asked] : {std::pair{"SELECT * FROM `orders`", "orders"},
                                           std::pair{"DROP TABLE [ORDERS]", "ORDERS"}}) {
        SCOPED_TRACE(statement);
        const Failure failure = failureOf(statement);
        EXPECT_EQ(failure.description,
                  "Paradox table '" + std::string(asked) + "' is not in folder '" + root().string()
                      + "' itself, and several files below it hold a table of that name: '"
                      + (root() / "2023/ORDERS.DB").string() + "', '" + (root() / "2024/archive/Orders.DB").string()
                      + "'. Quintabel will not guess which one is meant: rename or move all but one of them.");
        // Which table is meant is for the user to settle: told plainly, not as a fault.
        EXPECT_TRUE(failure.expected);
    }
    EXPECT_EQ(files(), before);
}

TEST_F(ParadoxSubfolderTest, FoldersTheTableListPassesOverAreNotSearched)
{
    const fs::path elsewhere = root().parent_path() / (root().filename().string() + "-linked");
    fs::create_directory(elsewhere);
    fs::copy_file(pxtest::testdataPath("paradox/leonhad-paradoxdriver/joins/joina.db"), elsewhere / "LINKED.DB");
    fs::create_directory_symlink(elsewhere, root() / "link");
    copyTable("paradox/leonhad-paradoxdriver/joins/joina.db", ".quintabel-old-abcdef", "ASIDE");
    copyTable("paradox/leonhad-paradoxdriver/joins/joina.db", "bad?name", "QUERIED");
    copyTable("paradox/leonhad-paradoxdriver/joins/joina.db", ".hidden", "HIDDEN");

    for (const std::string table : {"LINKED", "ASIDE", "QUERIED"}) {
        SCOPED_TRACE(table);
        const Failure failure = failureOf("SELECT * FROM `" + table + "`");
        EXPECT_EQ(failure.description,
                  "Paradox table '" + table + "' was not found in folder '" + root().string() + "'.");
        EXPECT_FALSE(failure.expected);
    }
    // A hidden folder that is not one of Quintabel's own is listed, and so is found.
    EXPECT_EQ(recordCount("hidden"), 3);
    fs::remove_all(elsewhere);
}

TEST_F(ParadoxSubfolderTest, TextInAnotherCodePageIsRefusedAsAnExpectedProblem)
{
    fs::create_directories(root() / "locked");
    pxtest::writeTableWithUnreadableName(root() / "locked", "unreadable");

    const Failure failure = failureOf("SELECT * FROM `UNREADABLE`");
    EXPECT_NE(failure.description.find("not valid in code page 936"), std::string::npos) << failure.description;
    EXPECT_TRUE(failure.expected);
}

TEST_F(ParadoxSubfolderTest, APasswordProtectedTableIsReadFromBelow)
{
    copyTable("paradox/leonhad-paradoxdriver/encrypt/encrypted.db", "locked", "encrypted");
    const auto library = pxtest::readWithOurs(pxtest::testdataPath("paradox/leonhad-paradoxdriver/encrypt/encrypted.db"));
    EXPECT_EQ(recordCount("ENCRYPTED"), static_cast<long>(library.records.size()));
}

} // namespace
