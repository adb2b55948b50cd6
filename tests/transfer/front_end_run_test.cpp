// The transfers and the table maintenance run through a front end without any widget: plain
// lists of names, the questions told apart by their kind, and the structured events per table.

#include "recording_front_end.h"
#include "transfer_fixture.h"

#include "base/step_guard.h"
#include "catalogue/paradox_table_names.h"
#include "maintenance/paradox_table_maintenance.h"
#include "transfer/mysql_to_paradox.h"
#include "transfer/paradox_to_mysql.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quintabel::testing {
namespace {

class FrontEndRunTest : public TransferTest {
protected:
    TransferEnvironment environment()
    {
        TransferEnvironment result;
        result.connectionFields = [this] { return fields(); };
        result.scratchFolder = [folder = QString::fromStdString(programFolder.string())] { return folder; };
        return result;
    }

    void toMySql(RecordingFrontEnd& frontEnd)
    {
        StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton4_Click"));
        sendTablesToMySql(guard, frontEnd, environment());
    }

    void toParadox(RecordingFrontEnd& frontEnd)
    {
        StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton3_Click"));
        sendTablesToParadox(guard, frontEnd, environment());
    }

    const TableOutcome& outcomeOf(const RecordingFrontEnd& frontEnd, const QString& sourceName)
    {
        const auto found = std::find_if(frontEnd.finished.begin(), frontEnd.finished.end(),
                                        [&](const TableOutcome& outcome) { return outcome.sourceName == sourceName; });
        EXPECT_NE(found, frontEnd.finished.end()) << sourceName.toStdString();
        static const TableOutcome none;
        return found == frontEnd.finished.end() ? none : *found;
    }
};

TEST_F(FrontEndRunTest, APlainListOfNamesGoesToMySqlWithOneOutcomePerTable)
{
    runSql("CREATE TABLE ORDERS (NAME TEXT)");
    runSql("INSERT INTO ORDERS VALUES ('old')");
    writeNames("ORDERS", {"n1", "n2"});
    writeNames("CUSTOMER", {"c1", "c2", "c3"});
    writeNames("PARTS", {"p1"});
    RecordingFrontEnd frontEnd({QStringLiteral("CUSTOMER"), QStringLiteral("ORDERS"), QStringLiteral("PARTS")},
                               {QStringLiteral("orders")});
    boxes.boxes.answerNext(BoxAnswer::No);

    toMySql(frontEnd);

    // Only the overwrite question was asked, and it says which question it is.
    const std::vector<ShownBox> asked = questions();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].question, BoxQuestion::Overwrite);
    EXPECT_TRUE(reports().empty());

    // From the bottom of the list to the top, as in the window.
    ASSERT_EQ(frontEnd.started.size(), 3u);
    EXPECT_EQ(frontEnd.started[0].first, QStringLiteral("PARTS"));
    EXPECT_EQ(frontEnd.started[2].first, QStringLiteral("CUSTOMER"));
    ASSERT_EQ(frontEnd.finished.size(), 3u);
    EXPECT_EQ(outcomeOf(frontEnd, QStringLiteral("ORDERS")).end, TableEnd::Skipped);
    const TableOutcome& customer = outcomeOf(frontEnd, QStringLiteral("CUSTOMER"));
    EXPECT_EQ(customer.end, TableEnd::Written);
    EXPECT_EQ(customer.rowsSent, 3);
    EXPECT_EQ(customer.rowsRefused, 0);
    EXPECT_TRUE(customer.message.isEmpty());
    EXPECT_EQ(outcomeOf(frontEnd, QStringLiteral("PARTS")).rowsSent, 1);

    EXPECT_EQ(queryMySql("SELECT NAME FROM ORDERS").size(), 1u); // declined: the old table stays
    EXPECT_EQ(mySqlTables(), (std::vector<std::string>{"CUSTOMER", "ORDERS", "PARTS"}));
    // The target list gained the tables written, in the lists' order, unselected.
    EXPECT_EQ(frontEnd.target.names(),
              (QStringList{QStringLiteral("CUSTOMER"), QStringLiteral("orders"), QStringLiteral("PARTS")}));
    EXPECT_FALSE(frontEnd.target.isSelected(0));
    EXPECT_FALSE(frontEnd.busy);
}

TEST_F(FrontEndRunTest, ATableThatCannotBeOpenedEndsNotWrittenWithItsMessage)
{
    writeNames("CUSTOMER", {"c1"});
    RecordingFrontEnd frontEnd({QStringLiteral("CUSTOMER"), QStringLiteral("MISSING")}, {});

    toMySql(frontEnd);

    ASSERT_EQ(frontEnd.finished.size(), 2u);
    const TableOutcome& missing = outcomeOf(frontEnd, QStringLiteral("MISSING"));
    EXPECT_EQ(missing.end, TableEnd::NotWritten);
    EXPECT_FALSE(missing.message.isEmpty());
    // The one box the run showed (a report or a plain message) is the table's message.
    ASSERT_EQ(boxes.boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.boxes.shown()[0].text.startsWith(missing.message.left(30))) << missing.message.toStdString();
    EXPECT_EQ(outcomeOf(frontEnd, QStringLiteral("CUSTOMER")).end, TableEnd::Written);
}

TEST_F(FrontEndRunTest, AStopRequestedBeforeTheFirstRowWritesNothingAndSaysCancelled)
{
    writeNames("CUSTOMER", {"c1", "c2"});
    RecordingFrontEnd frontEnd({QStringLiteral("CUSTOMER")}, {});
    int asked = 0;
    frontEnd.stop = [&] { return ++asked > 1; }; // the run's first look passes, the next stops it

    toMySql(frontEnd);

    ASSERT_EQ(frontEnd.finished.size(), 1u);
    EXPECT_EQ(frontEnd.finished[0].end, TableEnd::Cancelled);
    EXPECT_FALSE(mySqlHasTable("CUSTOMER"));
    EXPECT_TRUE(frontEnd.target.names().isEmpty());
}

TEST_F(FrontEndRunTest, ALongNameToParadoxAsksTheTrimQuestionAndTheTargetIsRelistedFromTheFolder)
{
    runSql("CREATE TABLE customers_2024 (NAME VARCHAR(10))");
    runSql("INSERT INTO customers_2024 VALUES ('a'), ('b')");
    writeNames("OTHER", {"o1"});
    RecordingFrontEnd frontEnd({QStringLiteral("customers_2024")}, {QStringLiteral("STALE")});
    boxes.boxes.answerNext(BoxAnswer::Yes);

    toParadox(frontEnd);

    const std::vector<ShownBox> asked = questions();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].question, BoxQuestion::Trim);
    EXPECT_TRUE(reports().empty());
    ASSERT_EQ(frontEnd.started.size(), 1u);
    EXPECT_EQ(frontEnd.started[0].second, QStringLiteral("customer"));
    ASSERT_EQ(frontEnd.finished.size(), 1u);
    EXPECT_EQ(frontEnd.finished[0].end, TableEnd::Written);
    EXPECT_EQ(frontEnd.finished[0].rowsSent, 2);
    // The target side lists what the folder holds now: the stale name went.
    EXPECT_EQ(frontEnd.target.names(), paradoxTableNames(paradoxFolderText()));
    EXPECT_EQ(frontEnd.target.names(), (QStringList{QStringLiteral("CUSTOMER"), QStringLiteral("OTHER")}));
}

TEST_F(FrontEndRunTest, APlainListOfNamesIsDeletedAndRenamedInTheParadoxFolder)
{
    writeNames("ORDERS", {"o1"});
    writeNames("PARTS", {"p1"});
    {
        RecordingFrontEnd frontEnd({QStringLiteral("orders")}, {});
        StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton5_Click"));
        deleteParadoxTables(guard, frontEnd, paradoxFolderText());
        EXPECT_TRUE(frontEnd.source.names().isEmpty());
    }
    EXPECT_EQ(paradoxTableNames(paradoxFolderText()), QStringList{QStringLiteral("PARTS")});

    RecordingFrontEnd frontEnd({QStringLiteral("PARTS")}, {});
    boxes.boxes.typeNext(QStringLiteral("ITEMS"));
    StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton7_Click"));
    renameParadoxTable(guard, frontEnd, paradoxFolderText());

    EXPECT_TRUE(reports().empty());
    EXPECT_EQ(paradoxTableNames(paradoxFolderText()), QStringList{QStringLiteral("ITEMS")});
    EXPECT_EQ(frontEnd.source.names(), QStringList{QStringLiteral("ITEMS")});
}

TEST(NamedTablesTest, GivenNamesAreSelectedAndKeepTheirOrderWhileAddedOnesSortInUnselected)
{
    NamedTables list({QStringLiteral("b"), QStringLiteral("D")});
    EXPECT_EQ(list.currentIndex(), 0);
    list.addName(QStringLiteral("C"));
    list.addName(QStringLiteral("a"));
    EXPECT_EQ(list.names(), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("C"),
                                         QStringLiteral("D")}));
    EXPECT_FALSE(list.isSelected(0));
    EXPECT_TRUE(list.isSelected(1));
    EXPECT_FALSE(list.isSelected(2));
    EXPECT_TRUE(list.isSelected(3));
    EXPECT_FALSE(list.isSelected(4)); // past the end
    EXPECT_TRUE(list.lists(QStringLiteral("d")));

    // removeName is exact about case; removeAt past the end removes nothing.
    list.removeName(QStringLiteral("c"));
    list.removeAt(10);
    EXPECT_EQ(list.count(), 4);
    list.replaceRenamed(1, QStringLiteral("E"));
    EXPECT_EQ(list.names(), (QStringList{QStringLiteral("a"), QStringLiteral("C"), QStringLiteral("D"),
                                         QStringLiteral("E")}));
    EXPECT_FALSE(list.isSelected(3)); // a renamed table is not offered again

    list.clearNames();
    EXPECT_EQ(list.currentIndex(), -1);
}

} // namespace
} // namespace quintabel::testing
