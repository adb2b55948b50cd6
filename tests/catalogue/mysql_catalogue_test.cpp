// The MySQL side of the catalogue against the private MariaDB server: the table list, the
// silent connection check, the "Test Connection" button, and ExistTable on a database with
// views.

#include "catalogue/connection_messages.h"
#include "catalogue/exist_table.h"
#include "catalogue/login_fields.h"
#include "catalogue/mysql_connection_check.h"
#include "catalogue/mysql_connection_test.h"
#include "catalogue/mysql_table_list.h"
#include "catalogue/table_name_list.h"
#include "catalogue_test_support.h"
#include "connections/connection.h"
#include "mariadb_test_database.h"
#include "shell/application_title.h"
#include "shell/pointer_rules.h"
#include "shell/step_guard.h"
#include "shell/support/scripted_message_boxes.h"

#include <QListWidget>

#include <gtest/gtest.h>

namespace quintabel {
namespace {

class MySqlCatalogueTest : public ::testing::Test {
protected:
    MySqlCatalogueTest() { PrepareTableList(list); }

    ConnectionFields fields() const { return testing::SandboxFields(database.name()); }

    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
    testing::MariaDbTestDatabase database;
    QListWidget list;
};

TEST_F(MySqlCatalogueTest, TablesAndViewsAreListedExactlyAsTheServerNamesThem)
{
    database.run("CREATE TABLE `orders` (id INT)");
    database.run("CREATE TABLE `Customers` (id INT)");
    database.run("CREATE TABLE `zip codes` (id INT)");
    database.run("CREATE TABLE `Übersicht` (id INT)");
    database.run("CREATE VIEW `big orders` AS SELECT id FROM `orders`");
    AddTableName(list, QStringLiteral("from an earlier listing"));

    ListMySQLTables(list, fields());

    EXPECT_EQ(testing::ItemTexts(list),
              (QStringList{QStringLiteral("big orders"), QStringLiteral("Customers"), QStringLiteral("orders"),
                           QStringLiteral("zip codes"), QStringLiteral("Übersicht")}));
    // The first item becomes current without being chosen for any action.
    EXPECT_EQ(ListIndex(list), 0);
    EXPECT_TRUE(SelectedTableNames(list).isEmpty());
}

TEST_F(MySqlCatalogueTest, ADatabaseWithoutTablesLeavesAnEmptyListWithoutACurrentItem)
{
    AddTableName(list, QStringLiteral("from an earlier listing"));
    SetListIndex(list, 0);
    ListMySQLTables(list, fields());
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(ListIndex(list), -1);
}

TEST_F(MySqlCatalogueTest, AServerThatCannotBeReachedKeepsTheEarlierItemsAndThrows)
{
    AddTableName(list, QStringLiteral("from an earlier listing"));
    EXPECT_ANY_THROW(ListMySQLTables(list, testing::UnreachableFields()));
    EXPECT_EQ(testing::ItemTexts(list), QStringList{QStringLiteral("from an earlier listing")});
}

TEST_F(MySqlCatalogueTest, TheSilentCheckAnswersWithoutShowingAnything)
{
    EXPECT_TRUE(TestMySQLConnection(fields()));
    EXPECT_FALSE(TestMySQLConnection(testing::UnreachableFields()));
    ConnectionFields wrongPassword = fields();
    wrongPassword.password = QStringLiteral("not the password");
    EXPECT_FALSE(TestMySQLConnection(wrongPassword));
    ConnectionFields missingDatabase = fields();
    missingDatabase.database += QStringLiteral("_missing");
    EXPECT_FALSE(TestMySQLConnection(missingDatabase));
    EXPECT_TRUE(boxes.shown().empty());
}

class MySqlTestButtonTest : public MySqlCatalogueTest {
protected:
    void click(const ConnectionFields& login)
    {
        StepGuard guard(QStringLiteral("Form1"), QStringLiteral("PushButton6_Click"));
        TestMySqlConnectionButton(guard, login, pointer);
    }

    // The connections the sandbox server holds for the test user right now.
    long long openConnections()
    {
        connections::Connection counter;
        counter.setCursorLocation(connections::adUseClient);
        counter.Open(MySqlConnectionStringOf(fields()));
        connections::Recordset rows = counter.Execute(
            "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE USER = 'quintabel' AND DB = '" +
            database.name() + "'");
        return std::stoll(db::toText(rows.Fields(0).Value()));
    }

    QWidget window;
    PointerRules& pointer = *new PointerRules(window);
};

TEST_F(MySqlTestButtonTest, ASuccessfulTestSaysSoAndLeavesNoConnectionOpen)
{
    const long long before = openConnections();
    click(fields());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, QLatin1String(kConnectionSuccessful));
    EXPECT_EQ(boxes.shown()[0].title, ApplicationTitle());
    EXPECT_EQ(boxes.shown()[0].icon, BoxIcon::None);
    EXPECT_EQ(pointer.shape(), PointerShape::Default);
    EXPECT_EQ(openConnections(), before);
}

TEST_F(MySqlTestButtonTest, AFailedTestShowsOnlyTheLongMessageAndEndsWithTheDefaultPointer)
{
    ConnectionFields smuggled = fields();
    // A ";" in a value turns the rest into further attributes; the string is refused whole.
    smuggled.password = QStringLiteral("quintabel-sandbox;PORT=1");
    for (const ConnectionFields& login : {testing::UnreachableFields(), smuggled}) {
        const std::size_t first = boxes.shown().size();
        pointer.setShape(PointerShape::Hand);
        click(login);
        ASSERT_EQ(boxes.shown().size(), first + 1);
        EXPECT_EQ(boxes.shown()[first].text, QLatin1String(kMySqlCouldNotConnect));
        EXPECT_EQ(boxes.shown()[first].title, ApplicationTitle());
        EXPECT_EQ(pointer.shape(), PointerShape::Default);
    }
}

TEST_F(MySqlCatalogueTest, ExistTableMatchesTablesWithoutRegardToCaseAndNeverViews)
{
    database.run("CREATE TABLE `Orders` (id INT)");
    database.run("CREATE VIEW `recent` AS SELECT id FROM `Orders`");
    connections::Connection connection;
    connection.Open(MySqlConnectionStringOf(fields()));
    EXPECT_TRUE(ExistTable(connection, QStringLiteral("Orders")));
    EXPECT_TRUE(ExistTable(connection, QStringLiteral("ORDERS")));
    EXPECT_TRUE(ExistTable(connection, QStringLiteral("orders")));
    EXPECT_FALSE(ExistTable(connection, QStringLiteral("recent")));
    EXPECT_FALSE(ExistTable(connection, QStringLiteral("Order")));
}

} // namespace
} // namespace quintabel
