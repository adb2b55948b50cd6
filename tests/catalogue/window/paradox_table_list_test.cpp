#include "catalogue/window/paradox_table_list.h"

#include "catalogue/window/connection_messages.h"
#include "catalogue/login_fields.h"
#include "catalogue/window/paradox_connection_button.h"
#include "catalogue/window/table_name_list.h"
#include "catalogue_test_support.h"
#include "connections/connection.h"
#include "shell/pointer_rules.h"
#include "base/step_guard.h"
#include "shell/support/scripted_message_boxes.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quintabel {
namespace {

class ParadoxTableListTest : public ::testing::Test {
protected:
    ParadoxTableListTest() { prepareTableList(list); }

    void testButton(const QString& paradoxFolder)
    {
        StepGuard guard(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));
        testParadoxConnectionButton(guard, paradoxFolder, pointer);
    }

    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
    QTemporaryDir folder;
    QListWidget list;
    QWidget window;
    PointerRules& pointer = *new PointerRules(window);
};

TEST_F(ParadoxTableListTest, EveryTableFileOfTheTreeIsListedByItsUpperCaseNameWithoutDotDb)
{
    testing::CreateFiles(folder.path(), {
        QStringLiteral("customer.DB"), QStringLiteral("sub/Customer.db"), QStringLiteral("sub/deeper/CUSTOMER.dB"),
        QStringLiteral("MY.DBASE.db"), QStringLiteral(".hidden.db"),
        // no tables: another extension, a memo file, a temporary file, a folder named like a table
        QStringLiteral("x.dbf"), QStringLiteral("customer.MB"), QStringLiteral("sub/~lock.db"),
        QStringLiteral("tables.db/inside.txt"),
    });
    addTableName(list, QStringLiteral("LEFT OVER"));
    ListParadoxTables(list, folder.path() + QLatin1Char('/'));
    EXPECT_EQ(testing::ItemTexts(list), (QStringList{QStringLiteral(".HIDDEN"), QStringLiteral("CUSTOMER"),
                                                     QStringLiteral("CUSTOMER"), QStringLiteral("CUSTOMER"),
                                                     QStringLiteral("MYASE")}));
    EXPECT_EQ(listIndex(list), -1);

    // Without a window: the same names in the same order.
    EXPECT_EQ(paradoxTableNames(folder.path() + QLatin1Char('/')), testing::ItemTexts(list));
    EXPECT_TRUE(paradoxTableNames(QString()).isEmpty());

    // The check looks at the folder itself, where a temporary file counts.
    QTemporaryDir onlyTemporary;
    testing::CreateFiles(onlyTemporary.path(), {QStringLiteral("~orders.db"), QStringLiteral("below/orders.db")});
    ListParadoxTables(list, onlyTemporary.path());
    EXPECT_EQ(testing::ItemTexts(list), QStringList{QStringLiteral("ORDERS")});
    EXPECT_TRUE(ParadoxFolderHasTables(onlyTemporary.path()));

    for (const QString& noFolder : {QString(), folder.filePath(QStringLiteral("missing"))}) {
        ListParadoxTables(list, noFolder);
        EXPECT_EQ(list.count(), 0);
        EXPECT_FALSE(ParadoxFolderHasTables(noFolder));
    }
}

TEST_F(ParadoxTableListTest, ListedNamesLeadBackToTheirTablesThroughTheParadoxFolder)
{
    // Only a to z change case: the folder's lookup folds no other letters, so "STRASSE" or
    // "KUNDEN-Ä" would find no file.
    const QString genuine = QStringLiteral(QUINTABEL_TESTDATA_DIR "/paradox/leonhad-paradoxdriver/db/ORDERS.DB");
    for (const QString& copy : {QStringLiteral("kunden-ä.db"), QStringLiteral("straße.db"), QStringLiteral("Mixed.Db")})
        ASSERT_TRUE(QFile::copy(genuine, folder.filePath(copy))) << "cannot copy " << genuine.toStdString();
    ListParadoxTables(list, folder.path());
    ASSERT_EQ(testing::ItemTexts(list),
              (QStringList{QStringLiteral("KUNDEN-ä"), QStringLiteral("MIXED"), QStringLiteral("STRAßE")}));

    ConnectionFields fields;
    fields.paradoxFolder = folder.path();
    for (const QString& name : testing::ItemTexts(list)) {
        connections::Connection connection;
        connection.Open(paradoxConnectionStringOf(fields));
        EXPECT_NO_THROW(connection.Execute("SELECT top 1 * FROM \"" + name.toStdString() + "\"")) << name.toStdString();
    }
}

TEST_F(ParadoxTableListTest, TestConnectionAnswersFromTheFolderItselfAndNeverCallsAFailureASuccess)
{
    testing::CreateFiles(folder.path(), {QStringLiteral("orders.db"), QStringLiteral("only/in/sub.db")});
    const QString loop = folder.filePath(QStringLiteral("loop")); // a link to itself cannot be searched
    ASSERT_TRUE(QFile::link(loop, loop));
    for (const QString& tested : {folder.path(), folder.filePath(QStringLiteral("only")), loop})
        testButton(tested);

    ASSERT_EQ(boxes.shown().size(), 4u);
    EXPECT_EQ(boxes.shown()[0].text, QLatin1String(kConnectionSuccessful));
    EXPECT_EQ(boxes.shown()[1].text, QLatin1String(kParadoxCouldNotConnect));
    EXPECT_TRUE(boxes.shown()[2].text.contains(QStringLiteral("PushButton3_Click at line 104")));
    EXPECT_EQ(boxes.shown()[3].text, QLatin1String(kParadoxCouldNotConnect));
    EXPECT_EQ(pointer.shape(), PointerShape::Default);
}

} // namespace
} // namespace quintabel
