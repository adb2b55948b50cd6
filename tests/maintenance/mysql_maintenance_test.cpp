// Deleting and renaming MySQL tables against the private MariaDB server, each test in a
// database of its own.

#include "maintenance_test_support.h"

#include "catalogue/window/form2.h"
#include "catalogue/login_fields.h"
#include "catalogue/window/mysql_table_list.h"
#include "catalogue/window/table_name_list.h"
#include "catalogue_test_support.h"
#include "connections/connection.h"
#include "catalogue/window/list_box_front_end.h"
#include "maintenance/maintenance_messages.h"
#include "maintenance/mysql_table_maintenance.h"
#include "maintenance/window/table_maintenance.h"
#include "mariadb_test_database.h"
#include "shell/pointer_rules.h"

#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace quintabel::testing {
namespace {

const QString kDelete = QStringLiteral("PushButton1_Click");
const QString kRename = QStringLiteral("PushButton6_Click");

class MySqlMaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override { prepareTableList(list); }

    ConnectionFields fields() const { return SandboxFields(database.name()); }

    void createTables(const QStringList& names)
    {
        for (const QString& name : names) {
            QString quoted = name;
            quoted.replace(QLatin1Char('`'), QLatin1String("``"));
            database.run("CREATE TABLE `" + quoted.toStdString() + "` (id INT, note VARCHAR(20))");
            database.run("INSERT INTO `" + quoted.toStdString() + "` VALUES (1, 'kept')");
        }
    }

    // The tables and views on the server, sorted by character codes.
    QStringList serverTables()
    {
        QListWidget listed;
        ListMySQLTables(listed, fields());
        QStringList names = ItemTexts(listed);
        names.sort(Qt::CaseSensitive);
        return names;
    }

    void deleteTables(const ConnectionFields& login)
    {
        StepGuard guard(QStringLiteral("Form2"), kDelete);
        ListBoxFrontEnd frontEnd({list, nullptr, nullptr, nullptr, &pointer, {}});
        deleteMySqlTables(guard, frontEnd, login);
    }

    void renameTable(const std::optional<QString>& typed)
    {
        boxes().typeNext(typed);
        StepGuard guard(QStringLiteral("Form2"), kRename);
        ListBoxFrontEnd frontEnd({list, nullptr, nullptr, nullptr, &pointer, {}});
        renameMySqlTable(guard, frontEnd, fields());
    }

    ScriptedMessageBoxes& boxes() { return installed.boxes; }

    ScriptedBoxesInstalled installed;
    MariaDbTestDatabase database;
    QWidget window;
    PointerRules pointer{window};
    QListWidget list;
};

TEST_F(MySqlMaintenanceTest, DeleteDropsEverySelectedTableFromLastToFirst)
{
    createTables({"alpha", "beta", "Gamma", "delta", "omega"});
    ListMySQLTables(list, fields());
    // The first, a middle one and the last; the current item is not among them.
    SelectTables(list, {"alpha", "Gamma", "omega"}, QStringLiteral("beta"));

    deleteTables(fields());

    EXPECT_EQ(serverTables(), (QStringList{"beta", "delta"}));
    EXPECT_EQ(ItemTexts(list), (QStringList{"beta", "delta"}));
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(pointer.shape(), PointerShape::Default);
}

TEST_F(MySqlMaintenanceTest, ARefusedDropIsReportedAndTheItemStillLeavesTheList)
{
    createTables({"books", "loans"});
    database.run("CREATE VIEW `overdue` AS SELECT * FROM `loans`");
    ListMySQLTables(list, fields());
    addTableName(list, QStringLiteral("vanished"));
    SelectTables(list, {"books", "overdue", "vanished"}, QStringLiteral("books"));

    deleteTables(fields());

    EXPECT_EQ(serverTables(), (QStringList{"loans", "overdue"})); // a view is not a table to DROP TABLE
    EXPECT_EQ(ItemTexts(list), QStringList{"loans"});
    const auto reports = boxes().errorReports();
    ASSERT_EQ(reports.size(), 2u);
    for (const ShownBox& report : reports)
        EXPECT_TRUE(report.text.contains(ReportedStep(kDelete, 112))) << report.text.toStdString();
    EXPECT_TRUE(reports[0].text.contains(QStringLiteral("vanished")));
}

TEST_F(MySqlMaintenanceTest, ANameCannotBreakOutOfItsQuotes)
{
    createTables({"x", "y", "it`s"});
    ListMySQLTables(list, fields());
    // Unquoted, this item would read as the two tables x and y.
    addTableName(list, QStringLiteral("x`, `y"));
    SelectTables(list, {"x`, `y", "it`s"}, QStringLiteral("x"));

    deleteTables(fields());

    EXPECT_EQ(serverTables(), (QStringList{"x", "y"}));
    ASSERT_EQ(boxes().errorReports().size(), 1u);
    EXPECT_TRUE(boxes().errorReports()[0].text.contains(QStringLiteral("x`, `y")));
}

TEST_F(MySqlMaintenanceTest, RenameKeepsTheNameAsTyped)
{
    createTables({"books", "loans"});
    ListMySQLTables(list, fields());
    SelectTables(list, {"loans"}, QStringLiteral("books"));

    renameTable(QStringLiteral("Loans2024 `Archive`"));

    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].text, QStringLiteral("Enter new name of loans:"));
    EXPECT_EQ(boxes().shown()[0].defaultText, QStringLiteral("loans"));
    EXPECT_EQ(serverTables(), (QStringList{"Loans2024 `Archive`", "books"}));
    EXPECT_EQ(ItemTexts(list), (QStringList{"books", "Loans2024 `Archive`"}));
    EXPECT_TRUE(SelectedTexts(list).isEmpty());
    EXPECT_EQ(listIndex(list), 0);
    // The renamed table kept its rows.
    connections::Connection connection;
    connection.setCursorLocation(connections::adUseClient);
    connection.Open(database.connectionString());
    EXPECT_EQ(connection.Execute("SELECT * FROM `Loans2024 ``Archive```").RecordCount(), 1);
}

TEST_F(MySqlMaintenanceTest, ARenameTheServerRefusesIsReportedAndBothTablesStay)
{
    createTables({"books", "loans"});
    ListMySQLTables(list, fields());

    SelectTables(list, {"books"}, QStringLiteral("books"));
    renameTable(QStringLiteral("books")); // its own name, offered as the default
    EXPECT_EQ(ItemTexts(list), (QStringList{"books", "loans"}));

    SelectTables(list, {"loans"}, QStringLiteral("loans"));
    renameTable(QStringLiteral("books")); // taken
    // A taken name is told, and the list stays as the message says the tables are.
    EXPECT_EQ(ItemTexts(list), (QStringList{"books", "loans"}));

    SelectTables(list, {"loans"}, QStringLiteral("loans"));
    const QString tooLong(70, QLatin1Char('x')); // longer than any MySQL name
    renameTable(tooLong);
    // Any other refusal is a report, and the list is edited all the same; the next listing
    // shows the truth.
    EXPECT_EQ(ItemTexts(list), (QStringList{"books", tooLong}));

    EXPECT_EQ(serverTables(), (QStringList{"books", "loans"}));
    const auto messages = boxes().plainMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, QStringLiteral("A MySQL table called 'books' already exists, so table 'books' was "
                                               "not renamed. Choose another name, or delete or rename that table "
                                               "first."));
    EXPECT_EQ(messages[1].text, QStringLiteral("A MySQL table called 'books' already exists, so table 'loans' was "
                                               "not renamed. Choose another name, or delete or rename that table "
                                               "first."));
    const auto reports = boxes().errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains(ReportedStep(kRename, 120))) << reports[0].text.toStdString();
}

TEST_F(MySqlMaintenanceTest, SelectionRulesAndCancelThroughTheTablesWindow)
{
    createTables({"books", "loans"});
    int programEnds = 0;
    QWidget connectionWindow;
    Form2 tablesWindow(QuietTablesWindow(QString(), programEnds), connectionWindow);
    attachTableMaintenance(tablesWindow, [this] { return fields(); });
    QListWidget& shown = *tablesWindow.List1;
    ListMySQLTables(shown, fields());

    setListIndex(shown, -1);
    tablesWindow.PushButton1->click();
    tablesWindow.PushButton6->click();
    SelectTables(shown, {"books", "loans"}, QStringLiteral("books"));
    tablesWindow.PushButton6->click();
    SelectTables(shown, {"books"}, QStringLiteral("books"));
    boxes().typeNext(std::nullopt); // Cancel
    tablesWindow.PushButton6->click();
    boxes().typeNext(QString()); // OK on an emptied field
    tablesWindow.PushButton6->click();

    EXPECT_EQ(ShownTexts(boxes()),
              (QStringList{QString::fromLatin1(kSelectTableMySql), QString::fromLatin1(kSelectTableToRename),
                           QString::fromLatin1(kSelectJustOneTable), QStringLiteral("Enter new name of books:"),
                           QStringLiteral("Enter new name of books:")}));
    EXPECT_EQ(serverTables(), (QStringList{"books", "loans"}));
    EXPECT_EQ(ItemTexts(shown), (QStringList{"books", "loans"}));
    EXPECT_EQ(tablesWindow.pointer().shape(), PointerShape::Default);
}

} // namespace
} // namespace quintabel::testing
