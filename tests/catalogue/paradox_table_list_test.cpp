#include "catalogue/paradox_table_list.h"

#include "catalogue/connection_messages.h"
#include "catalogue/login_fields.h"
#include "catalogue/paradox_connection_test.h"
#include "catalogue/table_name_list.h"
#include "catalogue_test_support.h"
#include "connections/connection.h"
#include "shell/application_title.h"
#include "shell/pointer_rules.h"
#include "shell/step_guard.h"
#include "shell/support/scripted_message_boxes.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quintabel {
namespace {

class ParadoxTableListTest : public ::testing::Test {
protected:
    ParadoxTableListTest() { PrepareTableList(list); }

    QString path(const QString& relative) const { return folder.filePath(relative); }

    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
    QTemporaryDir folder;
    QListWidget list;
};

TEST_F(ParadoxTableListTest, EveryTableFileOfTheTreeIsListedByItsUpperCaseNameWithoutDotDb)
{
    testing::CreateFiles(folder.path(), {
        QStringLiteral("customer.DB"), QStringLiteral("sub/Customer.db"), QStringLiteral("sub/deeper/CUSTOMER.dB"),
        QStringLiteral("MY.DBASE.db"), QStringLiteral("a.db.db"), QStringLiteral(".hidden.db"),
        QStringLiteral("sub/deeper/Parts.db"),
        // not tables: other extensions, the memo file, a temporary file, a folder named like a table
        QStringLiteral("x.dbf"), QStringLiteral("customer.MB"), QStringLiteral("~customer.db"),
        QStringLiteral("sub/~lock.db"), QStringLiteral("tables.db/inside.txt"),
    });
    AddTableName(list, QStringLiteral("LEFT OVER"));

    ListParadoxTables(list, folder.path());

    EXPECT_EQ(testing::ItemTexts(list),
              (QStringList{QStringLiteral(".HIDDEN"), QStringLiteral("A"), QStringLiteral("CUSTOMER"),
                           QStringLiteral("CUSTOMER"), QStringLiteral("CUSTOMER"), QStringLiteral("MYASE"),
                           QStringLiteral("PARTS")}));
    EXPECT_EQ(ListIndex(list), -1);

    // A trailing separator in the folder text changes nothing.
    ListParadoxTables(list, folder.path() + QLatin1Char('/'));
    EXPECT_EQ(list.count(), 7);
}

TEST_F(ParadoxTableListTest, ListedNamesLeadBackToTheirTablesThroughTheParadoxFolder)
{
    EXPECT_EQ(ParadoxTableNameOfFile(QStringLiteral("My.dBase.Db")), QStringLiteral("MYASE"));
    // Only a to z change case: the folder's lookup folds no other letters, so a name like
    // "STRASSE" or "KUNDEN-Ä" would find no file.
    EXPECT_EQ(ParadoxTableNameOfFile(QStringLiteral("straße.db")), QStringLiteral("STRAßE"));

    const QString genuine = QStringLiteral(QUINTABEL_TESTDATA_DIR "/paradox/leonhad-paradoxdriver/db/ORDERS.DB");
    for (const QString& copy : {QStringLiteral("kunden-ä.db"), QStringLiteral("straße.db"), QStringLiteral("Mixed.Db")})
        ASSERT_TRUE(QFile::copy(genuine, path(copy)));
    ListParadoxTables(list, folder.path());
    ASSERT_EQ(testing::ItemTexts(list),
              (QStringList{QStringLiteral("KUNDEN-ä"), QStringLiteral("MIXED"), QStringLiteral("STRAßE")}));

    ConnectionFields fields;
    fields.paradoxFolder = folder.path();
    for (const QString& name : testing::ItemTexts(list)) {
        connections::Connection connection;
        connection.Open(ParadoxConnectionStringOf(fields));
        EXPECT_NO_THROW(connection.Execute("SELECT top 1 * FROM \"" + name.toStdString() + "\""))
            << name.toStdString();
    }
}

TEST_F(ParadoxTableListTest, AnEmptyOrMissingFolderHasNoTablesAndEmptiesTheList)
{
    AddTableName(list, QStringLiteral("EARLIER"));
    EXPECT_FALSE(ParadoxFolderHasTables(QString()));
    ListParadoxTables(list, QString());
    EXPECT_EQ(list.count(), 0);

    AddTableName(list, QStringLiteral("EARLIER"));
    const QString missing = path(QStringLiteral("no such folder"));
    EXPECT_FALSE(ParadoxFolderHasTables(missing));
    ListParadoxTables(list, missing);
    EXPECT_EQ(list.count(), 0);
}

TEST_F(ParadoxTableListTest, TheCheckLooksAtTheFolderItselfAndCountsTemporaryFiles)
{
    testing::CreateFiles(folder.path(), {QStringLiteral("below/orders.db")});
    EXPECT_FALSE(ParadoxFolderHasTables(folder.path()));
    ListParadoxTables(list, folder.path());
    EXPECT_EQ(testing::ItemTexts(list), QStringList{QStringLiteral("ORDERS")});

    QTemporaryDir onlyTemporary;
    testing::CreateFiles(onlyTemporary.path(), {QStringLiteral("~orders.db")});
    EXPECT_TRUE(ParadoxFolderHasTables(onlyTemporary.path()));
    ListParadoxTables(list, onlyTemporary.path());
    EXPECT_EQ(list.count(), 0);
}

TEST_F(ParadoxTableListTest, GenuineTablesFolderListsEachTableOnce)
{
    const QString genuine = QStringLiteral(QUINTABEL_TESTDATA_DIR "/paradox/leonhad-paradoxdriver/db");
    ASSERT_TRUE(QDir(genuine).exists());
    ListParadoxTables(list, genuine);
    const QStringList items = testing::ItemTexts(list);
    EXPECT_TRUE(items.contains(QStringLiteral("AREACODE")));
    EXPECT_TRUE(items.contains(QStringLiteral("AREACODES")));
    EXPECT_TRUE(items.contains(QStringLiteral("ORDERS")));
    EXPECT_EQ(items.count(QStringLiteral("ORDERS")), 1);
    for (const QString& item : items)
        EXPECT_FALSE(item.contains(QStringLiteral(".DB"))) << item.toStdString();
}

class ParadoxTestButtonTest : public ParadoxTableListTest {
protected:
    void click(const QString& paradoxFolder)
    {
        StepGuard guard(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));
        TestParadoxConnectionButton(guard, paradoxFolder, pointer);
    }

    QWidget window;
    PointerRules& pointer = *new PointerRules(window);
};

TEST_F(ParadoxTestButtonTest, AnswersFromTheFolderItselfAndEndsWithTheDefaultPointer)
{
    testing::CreateFiles(folder.path(), {QStringLiteral("orders.db"), QStringLiteral("only/in/sub.db")});
    click(folder.path());
    click(path(QStringLiteral("only")));
    click(QString());

    ASSERT_EQ(boxes.shown().size(), 3u);
    EXPECT_EQ(boxes.shown()[0].text, QLatin1String(kConnectionSuccessful));
    EXPECT_EQ(boxes.shown()[1].text, QLatin1String(kParadoxCouldNotConnect));
    EXPECT_EQ(boxes.shown()[2].text, QLatin1String(kParadoxCouldNotConnect));
    for (const testing::ShownBox& box : boxes.shown()) {
        EXPECT_EQ(box.title, ApplicationTitle());
        EXPECT_EQ(box.icon, BoxIcon::None);
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
    }
    EXPECT_EQ(pointer.shape(), PointerShape::Default);
}

TEST_F(ParadoxTestButtonTest, AFolderThatCannotBeSearchedIsReportedAndNeverCalledASuccess)
{
    // A link to itself: the folder text names something that cannot be searched.
    const QString loop = path(QStringLiteral("loop"));
    ASSERT_TRUE(QFile::link(loop, loop));
    click(loop);

    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_TRUE(boxes.shown()[0].text.contains(QStringLiteral("PushButton3_Click at line 104")));
    EXPECT_EQ(boxes.shown()[1].text, QLatin1String(kParadoxCouldNotConnect));
    EXPECT_EQ(pointer.shape(), PointerShape::Default);
}

} // namespace
} // namespace quintabel
