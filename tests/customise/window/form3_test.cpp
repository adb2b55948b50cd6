// Form3 driven as a user drives it, shown through the transfers' hand-off with real sources.

#include "customise/window/form3.h"
#include "customise_sources.h"
#include "form3_user.h"

#include "connections/connection.h"
#include "shell/support/scripted_message_boxes.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace quintabel {
namespace {

using quintabel::CustomiseHandoff;
using quintabel::TargetKind;
using Script = std::function<void(Form3&)>;

const QString unsavedChangeQuestion =
    QStringLiteral("Data type has been change.\r\nDo you still want to exit without changes?");

using testing::applyType;
using testing::clickRow;

QStringList texts(const QListWidget* list)
{
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown << list->item(row)->text();
    return shown;
}

class Form3Test : public ::testing::Test {
protected:
    // Shows the window as a transfer does; `script` plays the user while it is open.
    CustomiseHandoff show(TargetKind target, const std::string& table, const Script& script)
    {
        Form3::Environment environment;
        environment.programFolder = QString::fromStdString(folder.string());
        environment.connectionFields = [this] { return fields(); };
        environment.openWebPage = [this](const QUrl& page) { opened.push_back(page); };
        environment.runModalLoop = [&script](QDialog& window) {
            window.show();
            script(static_cast<Form3&>(window));
        };
        Form3 form(environment);
        CustomiseHandoff handoff = beginCustomisation(target, table);
        form.showModal(handoff);
        return handoff;
    }

    ConnectionFields fields() const
    {
        const connections::LoginFields login = testing::sandboxLogin(database.name());
        return {QString::fromStdString(folder.string()), QString::fromStdString(login.server),
                QString::fromStdString(login.port),      QString::fromStdString(login.user),
                QString::fromStdString(login.password),  QString::fromStdString(login.database)};
    }

    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
    testing::MariaDbTestDatabase database;
    testing::TemporaryFolder folder;
    std::vector<QUrl> opened;
};

TEST_F(Form3Test, ListsFollowEachOtherAndApplyTakesOnlyAcceptedTypes)
{
    database.run("CREATE TABLE books (id INT, title VARCHAR(100), born DATE)");
    database.run("INSERT INTO books VALUES (1, 'abc', '2020-01-01')");
    const CustomiseHandoff handoff = show(TargetKind::Paradox, "books", [&](Form3& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Data Type Customization Before Transfer"));
        EXPECT_EQ(texts(form.List1), QStringList({"id", "title", "born"}));
        EXPECT_EQ(texts(form.List2), QStringList({"INT", "VARCHAR(3)", "DATETIME"}));
        EXPECT_TRUE(form.List1->selectedItems().isEmpty());

        applyType(form, QStringLiteral("TEXT")); // nothing selected yet: nothing changes
        EXPECT_EQ(texts(form.List2), QStringList({"INT", "VARCHAR(3)", "DATETIME"}));

        clickRow(form.List1, 2);
        EXPECT_EQ(form.List2->selectedItems(), QList<QListWidgetItem*>{form.List2->item(2)});
        EXPECT_EQ(form.Text1->text(), QStringLiteral("DATETIME"));
        clickRow(form.List2, 1);
        EXPECT_EQ(form.List1->selectedItems(), QList<QListWidgetItem*>{form.List1->item(1)});
        EXPECT_EQ(form.Text1->text(), QStringLiteral("VARCHAR(3)"));

        applyType(form, QStringLiteral("integer"));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("Invalid datatype."));
        EXPECT_EQ(boxes.shown()[0].buttons, BoxButtons::Ok);
        EXPECT_EQ(boxes.shown()[0].icon, BoxIcon::None);
        EXPECT_FALSE(form.changed());

        applyType(form, QStringLiteral("varchar(40)"));
        EXPECT_EQ(texts(form.List2), QStringList({"INT", "varchar(40)", "DATETIME"}));
        EXPECT_EQ(form.List1->selectedItems(), QList<QListWidgetItem*>{form.List1->item(1)});
        EXPECT_TRUE(form.changed());

        QTest::mouseClick(form.PushButton2, Qt::LeftButton); // "OK": no question after changes
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_FALSE(handoff.CustomizeCancelled);
    EXPECT_EQ(handoff.mSQL, "CREATE TABLE `books`([id] INT,[title] varchar(40),[born] DATETIME)");
}

TEST_F(Form3Test, HelpCancelEscapeAndTheCloseBoxAskOnlyAfterAChange)
{
    database.run("CREATE TABLE t (a INT, b INT)");
    CustomiseHandoff handoff = show(TargetKind::Paradox, "t", [&](Form3& form) {
        QTest::mouseClick(form.PushButton3, Qt::LeftButton); // "Help" opens the page, nothing else
        EXPECT_TRUE(form.isVisible());
        QTest::mouseClick(form.PushButton4, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl(QString::fromLatin1(kOdbcDataTypesPage))});
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(handoff.CustomizeCancelled);

    handoff = show(TargetKind::Paradox, "t", [&](Form3& form) {
        clickRow(form.List1, 1);
        applyType(form, QStringLiteral("tinyint"));
        boxes.answerNext(BoxAnswer::No);
        QTest::mouseClick(form.PushButton4, Qt::LeftButton);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(texts(form.List2), QStringList({"INT", "tinyint"}));
        boxes.answerNext(BoxAnswer::No);
        QTest::keyClick(form.Text1, Qt::Key_Escape);
        EXPECT_TRUE(form.isVisible());
        boxes.answerNext(BoxAnswer::Yes);
        form.windowHandle()->close(); // the close box
        QCoreApplication::processEvents();
        EXPECT_FALSE(form.isVisible());
    });
    ASSERT_EQ(boxes.shown().size(), 3u);
    for (const auto& box : boxes.shown()) {
        EXPECT_EQ(box.text, unsavedChangeQuestion);
        EXPECT_EQ(box.buttons, BoxButtons::YesNo);
    }
    EXPECT_TRUE(handoff.CustomizeCancelled);
    EXPECT_EQ(handoff.mSQL, "CREATE TABLE `t`(");
}

TEST_F(Form3Test, NumericFieldNamesGetFreshNamesTheScratchDatabaseAccepts)
{
    database.run("CREATE TABLE years (`2019` INT, `3.5` DOUBLE, `-7` INT, `1E3` VARCHAR(9), newfieldname0 INT, "
                 "A1 INT)");
    database.run("INSERT INTO years VALUES (1, 2, 3, 'four', 5, 6)");
    const CustomiseHandoff handoff = show(TargetKind::Paradox, "years", [](Form3& form) {
        QTest::mouseClick(form.PushButton2, Qt::LeftButton);
    });
    // newfieldname0 is a field's own name, so the first new name is tempid1; A1 does not read
    // as a number.
    const std::string statement = "CREATE TABLE `years`([tempid1] INT,[tempid2] NUMERIC,[tempid3] INT,"
                                  "[tempid4] VARCHAR(4),[newfieldname0] INT,[A1] INT)";
    ASSERT_EQ(handoff.mSQL, statement);

    std::ofstream(folder.path() / "dbtemp.mdb").flush(); // the empty scratch database
    connections::Connection scratch;
    scratch.Open(connections::scratchConnectionString(folder.string()));
    EXPECT_NO_THROW(scratch.Execute(statement));
}

TEST_F(Form3Test, ParadoxSourceGivesAStatementMariaDbCreatesWithTheChosenTypes)
{
    testing::copyParadoxTable("rparadox/TypSammlung", folder);
    const CustomiseHandoff handoff = show(TargetKind::MySQL, "TYPSAMMLUNG", [](Form3& form) {
        clickRow(form.List2, 0);
        applyType(form, QStringLiteral("varchar(40)"));
        clickRow(form.List1, 1);
        applyType(form, QStringLiteral("Float"));
        QTest::mouseClick(form.PushButton2, Qt::LeftButton);
    });
    ASSERT_FALSE(handoff.CustomizeCancelled);
    database.run(handoff.mSQL);

    connections::Connection connection;
    connection.setCursorLocation(connections::adUseClient);
    connection.Open(database.connectionString());
    connections::Recordset columns = connection.Execute(
        "SELECT COLUMN_NAME, DATA_TYPE, COLUMN_TYPE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = '"
        + database.name() + "' AND TABLE_NAME = 'TYPSAMMLUNG' ORDER BY ORDINAL_POSITION");
    std::vector<std::string> created;
    for (; !columns.Eof(); columns.MoveNext())
        created.push_back(db::toText(columns.Fields(0).Value()) + " " + db::toText(columns.Fields(1).Value()));
    EXPECT_EQ(created, (std::vector<std::string>{
                           "Alpha varchar", "Numerisch float", "Währung decimal", "Integer kurz smallint",
                           "Integer lang int", "BCD decimal", "Datum datetime", "Zeit datetime",
                           "Datum/Zeit datetime", "Memo text", "Logisch bit", "Zähler int", "Binär varchar",
                           "Bytes varchar"}));
    EXPECT_TRUE(handoff.mSQL.starts_with("CREATE TABLE `TYPSAMMLUNG`(`Alpha` varchar(40),`Numerisch` Float,"));
}

TEST_F(Form3Test, AFailedLoadOpensEmptyAndOkLeavesTheDefaultStatement)
{
    const CustomiseHandoff handoff = show(TargetKind::MySQL, "NOSUCH", [](Form3& form) {
        EXPECT_EQ(form.List1->count(), 0);
        QTest::mouseClick(form.PushButton3, Qt::LeftButton); // "Help" for a MySQL target
        QTest::mouseClick(form.PushButton2, Qt::LeftButton);
    });
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_TRUE(boxes.shown()[0].text.contains(
        QStringLiteral("\r\nin Tabulex2021/08/31.Form3.Form_Load at line 116\r\r")));
    const testing::ShownBox& help = boxes.shown()[1];
    EXPECT_EQ(help.buttons, BoxButtons::Ok);
    EXPECT_EQ(help.text.split(QLatin1Char('\n')).size(), 27);
    EXPECT_TRUE(help.text.startsWith(QStringLiteral("MEMO\nbigint\nBinary (50)\n")));
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(finishCustomisation(handoff, "NOSUCH").decision,
              CustomiseDecision::UseDefaultStatement);
}

} // namespace
} // namespace quintabel
