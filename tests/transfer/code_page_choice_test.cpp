// The Paradox code page chosen in the connection window, through both transfers: tables are
// read in it whatever their header says, new tables are written in it, and text that the
// code page in use cannot hold is refused row by row with the code pages that would hold it.

#include "canonical_values.h"
#include "support/table_compare.h"
#include "support/write_helpers.h"
#include "transfer_fixture.h"

namespace quintabel::testing {
namespace {

namespace px = quintabel::paradox;

class CodePageChoiceTest : public TransferTest {
protected:
    // A table whose text is in code page 866 while its header says 936, as some old tools
    // labelled them. "Мир" in 866 ends in a lone lead byte, which no 936 text has.
    void writeMislabelledTable(const std::string& name, const std::vector<std::string>& cities)
    {
        px::testing::writeMislabelledTable(paradoxFolder.path(), name, "CITY", cities, 866, 936);
    }
};

TEST_F(CodePageChoiceTest, AMislabelledTableMovesToMySqlOnceItsRealCodePageIsChosen)
{
    writeMislabelledTable("CITIES", {"Мир", "Москва", "Kyiv"});

    sendToMySql({QStringLiteral("CITIES")});

    // Not a program fault: one plain message that says what to do, and no table.
    EXPECT_TRUE(reports().empty());
    const std::vector<ShownBox> messages = boxes.boxes.plainMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("936"))) << messages[0].text.toStdString();
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("choose it under Code Page in the connection window")))
        << messages[0].text.toStdString();
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("record 1"))) << messages[0].text.toStdString();
    EXPECT_FALSE(messages[0].text.contains(QStringLiteral("Corrupt"))) << messages[0].text.toStdString();
    EXPECT_TRUE(mySqlTables().empty());

    paradoxCodePage = 866;
    sendToMySql({QStringLiteral("CITIES")});

    EXPECT_EQ(boxes.boxes.shown().size(), 1u) << "nothing more to say";
    const Rows rows = queryMySql("SELECT CITY FROM CITIES");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][0], db::Value(std::string("Мир")));
    EXPECT_EQ(rows[1][0], db::Value(std::string("Москва")));
    EXPECT_EQ(rows[2][0], db::Value(std::string("Kyiv")));
}

TEST_F(CodePageChoiceTest, CyrillicGoesToParadoxInTheChosenCodePageAndIsRefusedRowByRowWithoutIt)
{
    runSql("CREATE TABLE towns (id INT, name VARCHAR(30))");
    runSql("INSERT INTO towns VALUES (1, 'Lyon'), (2, 'Новосибирск'), (3, 'Пермь')");

    sendToParadox({"towns"});

    // Windows-1252, the code page of new tables when none is chosen, holds neither Cyrillic
    // name: each of those rows is refused on its own, naming the code pages that would hold it.
    const std::vector<ShownBox> refused = reports();
    ASSERT_EQ(refused.size(), 2u);
    for (const ShownBox& report : refused) {
        EXPECT_TRUE(report.text.contains(QStringLiteral("code page 1252 cannot hold"))) << report.text.toStdString();
        EXPECT_TRUE(report.text.contains(QStringLiteral("Code pages 866 and 1251 would hold it: choose one under Code Page in the connection window.")))
            << report.text.toStdString();
    }
    EXPECT_EQ(readBackWithPxlib(paradoxFile("towns.db")).records, (std::vector<std::vector<Cell>>{{"1", "Lyon"}}));

    paradoxCodePage = 1251;
    boxes.boxes.answerNext(BoxAnswer::Yes); // overwrite towns
    sendToParadox({"towns"});

    EXPECT_EQ(reports().size(), 2u) << "no new report";
    const ParadoxReadBack table = readBackWithPxlib(paradoxFile("towns.db"));
    EXPECT_EQ(table.problem, "");
    EXPECT_EQ(table.records,
              (std::vector<std::vector<Cell>>{{"1", "Lyon"}, {"2", "Новосибирск"}, {"3", "Пермь"}}));
    EXPECT_EQ(paradox::testing::readWithOurs(paradoxFile("towns.db")).header.codePage, 1251);
}

} // namespace
} // namespace quintabel::testing
