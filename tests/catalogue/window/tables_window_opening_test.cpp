// "Next >" and the start-up that takes it by itself, from a real connection window to the
// tables window, against the private MariaDB server and a folder of table files.

#include "catalogue/window/connection_messages.h"
#include "catalogue/window/table_name_list.h"
#include "catalogue/window/tables_window_opening.h"
#include "catalogue_test_support.h"
#include "mariadb_test_database.h"
#include "base/settings_store.h"
#include "shell/support/scripted_message_boxes.h"
#include "shell/support/temporary_settings.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace quintabel {
namespace {

using namespace settings_keys;

class TablesWindowOpeningTest : public ::testing::Test {
protected:
    TablesWindowOpeningTest()
    {
        testing::CreateFiles(paradoxFolder.path(), {QStringLiteral("orders.db"), QStringLiteral("archive/Parts.DB")});
        database.run("CREATE TABLE `Customers` (id INT)");
        database.run("CREATE TABLE `invoices` (id INT)");
    }

    ConnectionFields workingLogin() const { return testing::SandboxFields(database.name(), paradoxFolder.path()); }

    void openConnectionWindow(const ConnectionFields& login)
    {
        form1.Form_Load();
        testing::TypeFields(form1, login);
        form1.show();
    }

    void storeLogin(const ConnectionFields& login)
    {
        const std::pair<const char*, QString> values[] = {
            {kParadoxFolder, login.paradoxFolder}, {kServer, login.server},     {kPort, login.port},
            {kUser, login.user},                   {kPassword, login.password}, {kDatabase, login.database}};
        for (const auto& [key, value] : values)
            writeSetting(QLatin1String(key), value);
    }

    QString stored(const char* key) { return readSetting(QLatin1String(key), QStringLiteral("<none>")); }

    void expectStillOnTheConnectionWindow()
    {
        EXPECT_TRUE(form1.isVisible());
        EXPECT_FALSE(form2.isVisible());
        EXPECT_EQ(form1.pointer().shape(), PointerShape::Default);
    }

    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
    testing::TemporarySettings settings;
    QTemporaryDir programFolder;
    QTemporaryDir paradoxFolder;
    testing::MariaDbTestDatabase database;
    int programEnds = 0;
    Form1 form1{testing::QuietConnectionWindow(programFolder.path(), programEnds)};
    Form2& form2 = attachTablesWindow(form1, testing::QuietTablesWindow(programFolder.path(), programEnds));
};

TEST_F(TablesWindowOpeningTest, NextListsBothSidesSetsTheBoxesAndSwapsTheWindows)
{
    writeSetting(QLatin1String(kWithDataTypeChange1), QStringLiteral("yes")); // anything but "0" ticks
    openConnectionWindow(workingLogin());
    // A second click arrives while the listing yields to the window system: ignored, or the
    // lists would be filled twice.
    QTimer::singleShot(0, form1.PushButton2, [this] { form1.PushButton2->click(); });
    form1.PushButton2->click();

    EXPECT_TRUE(form2.isVisible());
    EXPECT_FALSE(form1.isVisible());
    EXPECT_EQ(testing::ItemTexts(*form2.List1), (QStringList{QStringLiteral("Customers"), QStringLiteral("invoices")}));
    EXPECT_EQ(testing::ItemTexts(*form2.List2), (QStringList{QStringLiteral("ORDERS"), QStringLiteral("PARTS")}));
    EXPECT_TRUE(form2.Check15->isChecked());
    EXPECT_FALSE(form2.Check16->isChecked());
    // The box that changed stored itself in the program's own form; the other wrote nothing.
    EXPECT_EQ(stored(kWithDataTypeChange1), QStringLiteral("1"));
    EXPECT_EQ(stored(kWithDataTypeChange2), QStringLiteral("<none>"));
    EXPECT_EQ(form1.pointer().shape(), PointerShape::Default);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(TablesWindowOpeningTest, NextDoesNothingVisibleWhenEitherSideCannotBeReached)
{
    ConnectionFields noFolder = workingLogin();
    noFolder.paradoxFolder.clear();
    ConnectionFields noServer = testing::UnreachableFields();
    noServer.paradoxFolder = paradoxFolder.path();

    openConnectionWindow(noFolder);
    for (const ConnectionFields& login : {noFolder, noServer}) {
        testing::TypeFields(form1, login);
        form1.PushButton2->click();
        expectStillOnTheConnectionWindow();
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(TablesWindowOpeningTest, NextOpensOnAnyFolderThatIsThereAndNamesOneThatIsNot)
{
    QTemporaryDir empty; // where a user sends MySQL tables to make the folder's first ones
    QTemporaryDir tablesOnlyBelow;
    testing::CreateFiles(tablesOnlyBelow.path(), {QStringLiteral("below/orders.db")});
    openConnectionWindow(workingLogin());
    for (const auto& [folder, listed] : {std::pair{empty.path(), QStringList()},
                                         std::pair{tablesOnlyBelow.path(), QStringList{QStringLiteral("ORDERS")}}}) {
        ConnectionFields login = workingLogin();
        login.paradoxFolder = folder;
        testing::TypeFields(form1, login);
        form1.PushButton2->click();
        EXPECT_TRUE(form2.isVisible()) << folder.toStdString();
        EXPECT_EQ(testing::ItemTexts(*form2.List2), listed);
        form2.PushButton2->click(); // "< Back"
    }
    EXPECT_TRUE(boxes.shown().empty());

    ConnectionFields gone = workingLogin();
    gone.paradoxFolder = empty.path() + QStringLiteral("/gone");
    testing::TypeFields(form1, gone);
    form1.PushButton2->click();
    EXPECT_TRUE(form1.isVisible());
    EXPECT_FALSE(form2.isVisible());
    ASSERT_EQ(boxes.shown().size(), 1u);
    const QString message = boxes.shown()[0].text;
    EXPECT_TRUE(message.contains(QStringLiteral("'%1'").arg(gone.paradoxFolder))) << message.toStdString();
}

TEST_F(TablesWindowOpeningTest, TheParadoxTestPutsRightWhatAKilledRunLeftBeforeItAnswers)
{
    QTemporaryDir folder;
    // A replacement killed while the folder's only table stood aside.
    testing::CreateFiles(folder.path(), {QStringLiteral(".quintabel-old-abc123/ORDERS.DB")});
    ConnectionFields login = workingLogin();
    login.paradoxFolder = folder.path();
    openConnectionWindow(login);
    form1.PushButton3->click();
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_TRUE(boxes.shown()[0].text.contains(QStringLiteral("ORDERS"))) << boxes.shown()[0].text.toStdString();
    EXPECT_EQ(boxes.shown()[1].text, QLatin1String(kConnectionSuccessful));
}

TEST_F(TablesWindowOpeningTest, NextAfterBackListsBothSidesAfresh)
{
    openConnectionWindow(workingLogin());
    form1.PushButton2->click();
    selectAllItems(*form2.List1);
    form2.PushButton2->click();
    EXPECT_TRUE(form1.isVisible());
    EXPECT_FALSE(form2.isVisible());

    database.run("DROP TABLE `invoices`"); // other programs change both sides meanwhile
    database.run("CREATE TABLE `Accounts` (id INT)");
    testing::CreateFiles(paradoxFolder.path(), {QStringLiteral("rates.db")});
    form1.PushButton2->click();

    EXPECT_EQ(testing::ItemTexts(*form2.List1), (QStringList{QStringLiteral("Accounts"), QStringLiteral("Customers")}));
    EXPECT_EQ(form2.List2->count(), 3);
    EXPECT_TRUE(testing::SelectedTexts(*form2.List1).isEmpty());
}

TEST_F(TablesWindowOpeningTest, AStartWithAWorkingSavedLoginLandsInTheTablesWindow)
{
    storeLogin(workingLogin());
    writeSetting(QLatin1String(kWithDataTypeChange2), QStringLiteral("1"));
    form1.loadAndShow();
    EXPECT_FALSE(form1.isVisible());
    EXPECT_TRUE(form2.isVisible());
    EXPECT_EQ(form2.List1->count(), 2);
    EXPECT_TRUE(form2.Check16->isChecked());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(TablesWindowOpeningTest, AStartWithAnUnreachableServerStaysSilentlyAndTheTestButtonsSayWhy)
{
    ConnectionFields login = testing::UnreachableFields();
    login.paradoxFolder = paradoxFolder.path();
    storeLogin(login);
    form1.loadAndShow();
    expectStillOnTheConnectionWindow();
    EXPECT_TRUE(boxes.shown().empty());

    form1.PushButton3->click();
    form1.PushButton6->click();
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, QLatin1String(kConnectionSuccessful));
    EXPECT_EQ(boxes.shown()[1].text, QLatin1String(kMySqlCouldNotConnect));
    EXPECT_EQ(form1.pointer().shape(), PointerShape::Default);
}

} // namespace
} // namespace quintabel
