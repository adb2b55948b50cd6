// Both transfers with Paradox tables as a user's folder holds them: tables in folders below the
// Paradox folder, and tables the program cannot read for a reason the user can put right (a
// password, text that is not valid in the table's code page), which are told in one plain
// message, never in the error report.

#include "catalogue_test_support.h"
#include "paradoxfile/table_writer.h"
#include "support/table_compare.h"
#include "transfer_fixture.h"

#include <QListWidget>

#include <fstream>
#include <iterator>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;
namespace px = quintabel::paradox;

class ParadoxTablesAsFoundTest : public TransferTest {
protected:
    // A copy of a genuine test table, with its family, in `subfolder` of the Paradox folder.
    void copyTestTable(const std::string& file, const fs::path& subfolder)
    {
        fs::create_directories(paradoxFolder.path() / subfolder);
        copyTableFamily(paradox::testing::testdataPath(file), paradoxFolder.path() / subfolder);
    }

    long long mySqlRowCount(const std::string& table) const
    {
        return std::stoll(db::toText(queryMySql("SELECT COUNT(*) FROM `" + table + "`").at(0).at(0)));
    }

    std::vector<ShownBox> plainMessages() const { return boxes.boxes.plainMessages(); }
};

TEST_F(ParadoxTablesAsFoundTest, ATableBelowTheParadoxFolderIsSentToMySql)
{
    copyTestTable("paradox/leonhad-paradoxdriver/db/ORDERS.DB", "archive/2023"); // 224 records
    copyTestTable("paradox/leonhad-paradoxdriver/joins/joina.db", ".");

    sendToMySql({QStringLiteral("ORDERS")});

    EXPECT_TRUE(reports().empty()) << reports().front().text.toStdString();
    EXPECT_TRUE(plainMessages().empty());
    EXPECT_EQ(mySqlRowCount("ORDERS"), 224);
    EXPECT_EQ(window.List1->findItems(QStringLiteral("ORDERS"), Qt::MatchExactly).size(), 1);
}

TEST_F(ParadoxTablesAsFoundTest, ATableNameTwoFoldersBelowHoldIsToldForEachItemAndNothingIsSent)
{
    copyTestTable("paradox/leonhad-paradoxdriver/db/ORDERS.DB", "2023");
    copyTestTable("paradox/leonhad-paradoxdriver/db/ORDERS.DB", "2024");

    sendToMySql({QStringLiteral("ORDERS")}); // the list shows it twice: both items are sent

    EXPECT_TRUE(reports().empty()) << reports().front().text.toStdString();
    ASSERT_EQ(plainMessages().size(), 2u);
    for (const ShownBox& shown : plainMessages()) {
        EXPECT_TRUE(shown.text.contains(QString::fromStdString((paradoxFolder.path() / "2023/ORDERS.DB").string())))
            << shown.text.toStdString();
        EXPECT_TRUE(shown.text.contains(QString::fromStdString((paradoxFolder.path() / "2024/ORDERS.DB").string())))
            << shown.text.toStdString();
    }
    EXPECT_FALSE(mySqlHasTable("ORDERS"));
}

TEST_F(ParadoxTablesAsFoundTest, APasswordProtectedTableArrivesWithoutAWord)
{
    copyTestTable("paradox/leonhad-paradoxdriver/encrypt/encrypted.db", ".");

    sendToMySql({QStringLiteral("ENCRYPTED")});

    EXPECT_TRUE(reports().empty()) << reports().front().text.toStdString();
    EXPECT_TRUE(plainMessages().empty()) << plainMessages().front().text.toStdString();
    const auto source = paradox::testing::readWithOurs(
        paradox::testing::testdataPath("paradox/leonhad-paradoxdriver/encrypt/encrypted.db"));
    EXPECT_EQ(mySqlRowCount("ENCRYPTED"), static_cast<long long>(source.records.size()));
}

TEST_F(ParadoxTablesAsFoundTest, TextNotValidInTheTablesCodePageIsToldInOnePlainMessage)
{
    // A Chinese (936) table whose second name holds bytes that are no GBK text: a lead byte
    // followed by DEL, and a byte no GBK character begins with.
    px::WriterOptions options;
    options.codePage = 936;
    {
        px::TableWriter writer(paradoxFolder.path(), "NAMES", {px::Field{"NAME", px::FieldType::Alpha, 10, 0}},
                               options);
        const px::Value first = std::string("ok");
        const px::Value second = std::string("QQQQ");
        writer.append(std::span<const px::Value>(&first, 1));
        writer.append(std::span<const px::Value>(&second, 1));
        writer.commit();
    }
    const fs::path file = paradoxFile("NAMES.DB");
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const auto at = bytes.find("QQQQ");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 4, "\x81\x7f\xff\xff");
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;

    sendToMySql({QStringLiteral("NAMES")});

    EXPECT_TRUE(reports().empty()) << reports().front().text.toStdString();
    ASSERT_EQ(plainMessages().size(), 1u);
    const QString message = plainMessages().front().text;
    EXPECT_TRUE(message.contains(QStringLiteral("the text of field 'NAME' in record 2 is not valid in code page 936, "
                                                "the code page its header names")))
        << message.toStdString();
    EXPECT_FALSE(mySqlHasTable("NAMES"));
}

TEST_F(ParadoxTablesAsFoundTest, ADamagedTableIsToldInAPlainMessageAndTheNextTableIsSent)
{
    copyTestTable("paradox/leonhad-paradoxdriver/geog/County.DB", "."); // 3,218 records
    copyTestTable("paradox/leonhad-paradoxdriver/db/ORDERS.DB", ".");
    fs::resize_file(paradoxFile("County.DB"), fs::file_size(paradoxFile("County.DB")) / 2);

    sendToMySql({QStringLiteral("COUNTY"), QStringLiteral("ORDERS")});

    EXPECT_TRUE(reports().empty()) << reports().front().text.toStdString();
    ASSERT_EQ(plainMessages().size(), 1u);
    const QString message = plainMessages().front().text;
    EXPECT_TRUE(message.contains(QStringLiteral("County.DB"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("may be damaged: repair it in Paradox"))) << message.toStdString();
    EXPECT_FALSE(mySqlHasTable("COUNTY"));
    EXPECT_EQ(mySqlRowCount("ORDERS"), 224);
}

TEST_F(ParadoxTablesAsFoundTest, ANameListedOnlyFromBelowIsNotOverwrittenAndTheQuestionSaysSo)
{
    runSql("CREATE TABLE ORDERS (NAME VARCHAR(10))");
    runSql("INSERT INTO ORDERS VALUES ('new')");
    copyTestTable("paradox/leonhad-paradoxdriver/db/ORDERS.DB", "archive");
    const fs::path below = paradoxFolder.path() / "archive/ORDERS.DB";
    const auto belowBefore = fs::file_size(below);
    boxes.boxes.answerNext(BoxAnswer::Yes);

    sendToParadox({QStringLiteral("ORDERS")});

    EXPECT_TRUE(reports().empty()) << reports().front().text.toStdString();
    ASSERT_EQ(questions().size(), 1u);
    const QString question = questions().front().text;
    EXPECT_EQ(question, QStringLiteral("ORDERS is a table in the folder '")
                            + QString::fromStdString((paradoxFolder.path() / "archive").string())
                            + QStringLiteral("' below the Paradox folder, not in the Paradox folder itself. Quintabel "
                                             "writes the new ORDERS into the Paradox folder and leaves that table as "
                                             "it is; from then on, ORDERS means the new table. Continue?"));
    // The new table went into the Paradox folder itself; the one below is as it was.
    EXPECT_EQ(paradoxFolderFiles(), (std::vector<std::string>{"ORDERS.db", "archive"}));
    EXPECT_EQ(paradox::testing::readWithOurs(paradoxFile("ORDERS.db")).records.size(), 1u);
    EXPECT_EQ(fs::file_size(below), belowBefore);
    EXPECT_EQ(paradox::testing::readWithOurs(below).records.size(), 224u);
    EXPECT_EQ(ItemTexts(*window.List2), (QStringList{"ORDERS", "ORDERS"}));
}

} // namespace
} // namespace quintabel::testing
