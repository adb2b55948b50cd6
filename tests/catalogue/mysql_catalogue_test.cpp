// The MySQL side against the private MariaDB server: the table list, ExistTable, the silent
// check and the "Test Connection" button.

#include "catalogue/window/connection_messages.h"
#include "catalogue/exist_table.h"
#include "catalogue/login_fields.h"
#include "catalogue/mysql_connection_check.h"
#include "catalogue/window/mysql_connection_button.h"
#include "catalogue/window/mysql_table_list.h"
#include "catalogue/mysql_table_names.h"
#include "catalogue/window/table_name_list.h"
#include "catalogue_test_support.h"
#include "connections/connection.h"
#include "mariadb_test_database.h"
#include "shell/pointer_rules.h"
#include "base/step_guard.h"
#include "shell/support/scripted_message_boxes.h"

#include <QListWidget>

#include <gtest/gtest.h>
#include <chrono>
#include <thread>

namespace quintabel {
namespace {

class MySqlCatalogueTest : public ::testing::Test {
protected:
    MySqlCatalogueTest()
    {
        prepareTableList(list);
        addTableName(list, QStringLiteral("from an earlier listing"));
    }

    ConnectionFields fields() const { return testing::SandboxFields(database.name()); }

    void testButton(const ConnectionFields& login)
    {
        StepGuard guard(QStringLiteral("Form1"), QStringLiteral("PushButton6_Click"));
        testMySqlConnectionButton(guard, login, pointer);
    }

    long long openConnectionsToThisDatabase()
    {
        connections::Connection counter;
        counter.setCursorLocation(connections::adUseClient);
        counter.Open(mySqlConnectionStringOf(fields()));
        connections::Recordset rows = counter.Execute(
            "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE DB = '" + database.name() + "'");
        return std::stoll(db::toText(rows.Fields(0).Value()));
    }

    // The server drops a thread a moment after its client said goodbye, so a connection that
    // was closed properly may still be counted for a few milliseconds; one left open never
    // goes away.
    long long openConnectionsOnceSettled(long long expected)
    {
        long long count = openConnectionsToThisDatabase();
        for (int attempt = 0; attempt < 50 && count != expected; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            count = openConnectionsToThisDatabase();
        }
        return count;
    }

    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
    testing::MariaDbTestDatabase database;
    QListWidget list;
    QWidget window;
    PointerRules& pointer = *new PointerRules(window);
};

TEST_F(MySqlCatalogueTest, TablesAndViewsAreListedAsTheServerNamesThemAndOnlyTablesExist)
{
    database.run("CREATE TABLE `orders` (id INT)");
    database.run("CREATE TABLE `Customers` (id INT)");
    database.run("CREATE TABLE `Übersicht 2` (id INT)");
    database.run("CREATE VIEW `big orders` AS SELECT id FROM `orders`");
    ListMySQLTables(list, fields());
    EXPECT_EQ(testing::ItemTexts(list), (QStringList{QStringLiteral("big orders"), QStringLiteral("Customers"),
                                                     QStringLiteral("orders"), QStringLiteral("Übersicht 2")}));
    // The first item becomes current without being chosen for any action.
    EXPECT_EQ(listIndex(list), 0);
    EXPECT_TRUE(testing::SelectedTexts(list).isEmpty());

    connections::Connection connection;
    connection.Open(mySqlConnectionStringOf(fields()));
    EXPECT_TRUE(ExistTable(connection, QStringLiteral("ORDERS")));
    EXPECT_FALSE(ExistTable(connection, QStringLiteral("big orders"))); // a view
    EXPECT_FALSE(ExistTable(connection, QStringLiteral("order")));
}

TEST_F(MySqlCatalogueTest, TheNamesWithoutAWindowAreTheListsNamesInItsOrder)
{
    database.run("CREATE TABLE `orders` (id INT)");
    database.run("CREATE TABLE `ORDERS` (id INT)");
    database.run("CREATE TABLE `b``tick` (id INT)");
    database.run("CREATE TABLE `Übersicht` (id INT)");
    database.run("CREATE VIEW `Big` AS SELECT id FROM `orders`");
    ListMySQLTables(list, fields());
    EXPECT_EQ(mySqlTableNames(fields()), testing::ItemTexts(list));
    EXPECT_EQ(mySqlTableNames(fields()).size(), 5);
    EXPECT_ANY_THROW(mySqlTableNames(testing::UnreachableFields()));
}

TEST_F(MySqlCatalogueTest, AnUnreachableServerKeepsTheEarlierItemsAnEmptyDatabaseClearsThem)
{
    EXPECT_ANY_THROW(ListMySQLTables(list, testing::UnreachableFields()));
    EXPECT_EQ(list.count(), 1);
    ListMySQLTables(list, fields());
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(listIndex(list), -1);
}

TEST_F(MySqlCatalogueTest, TestConnectionSaysWhetherItWorkedAndEndsWithTheDefaultPointer)
{
    const long long before = openConnectionsToThisDatabase();
    testButton(fields());
    EXPECT_EQ(openConnectionsOnceSettled(before), before); // nothing left open

    ConnectionFields smuggled = fields();
    smuggled.password = QStringLiteral("quintabel-sandbox;PORT=1"); // refused whole, never half read
    testButton(testing::UnreachableFields());
    testButton(smuggled);

    ASSERT_EQ(boxes.shown().size(), 3u);
    // The check that "Next >" asks shows nothing either way.
    EXPECT_TRUE(TestMySQLConnection(fields()));
    EXPECT_FALSE(TestMySQLConnection(testing::UnreachableFields()));
    EXPECT_FALSE(TestMySQLConnection(smuggled));
    EXPECT_EQ(boxes.shown().size(), 3u);
    EXPECT_EQ(boxes.shown()[0].text, QLatin1String(kConnectionSuccessful));
    EXPECT_EQ(boxes.shown()[1].text, QLatin1String(kMySqlCouldNotConnect));
    EXPECT_EQ(boxes.shown()[2].text, QLatin1String(kMySqlCouldNotConnect));
    EXPECT_EQ(pointer.shape(), PointerShape::Default);
}

} // namespace
} // namespace quintabel
