// Both transfers with "Send with data type customization" ticked and the real customisation
// window played by the test: the types chosen there reach the target table (read back with
// pxlib, and from information_schema), a value the chosen type cannot hold fails its row
// with a report instead of arriving changed, and "Cancel" ends the run.

#include "canonical_values.h"
#include "connections/connection.h"
#include "connections/connection_string.h"
#include "customise/accepted_types.h"
#include "customise/window/form3.h"
#include "drivers/database_error.h"
#include "window/form3_user.h"
#include "paradoxfile/table_writer.h"
#include "support/table_compare.h"
#include "support/write_helpers.h"
#include "transfer_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <fstream>
#include <functional>

namespace quintabel::testing {
namespace {

namespace px = quintabel::paradox;
namespace pxtest = quintabel::paradox::testing;

class CustomisedTransferTest : public TransferTest {
protected:
    CustomisedTransferTest() : form(formEnvironment()) {}

    Form3::Environment formEnvironment()
    {
        Form3::Environment environment;
        environment.programFolder = QString::fromStdString(programFolder.string());
        environment.connectionFields = [this] { return fields(); };
        environment.openWebPage = [](const QUrl&) {};
        environment.runModalLoop = [this](QDialog& shown) {
            shown.show();
            ++windowsShown;
            if (user)
                user(static_cast<Form3&>(shown));
        };
        return environment;
    }

    std::vector<std::vector<std::string>> mySqlColumns(const std::string& table) const
    {
        std::vector<std::vector<std::string>> columns;
        for (const auto& row : queryMySql("SELECT COLUMN_NAME, COLUMN_TYPE FROM information_schema.COLUMNS"
                                          " WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '" + table
                                          + "' ORDER BY ORDINAL_POSITION"))
            columns.push_back({db::toText(row.at(0)), db::toText(row.at(1))});
        return columns;
    }

    Form3 form;
    std::function<void(Form3&)> user;
    int windowsShown = 0;
};

TEST_F(CustomisedTransferTest, ToParadoxTheChosenTypesMakeTheFieldsAndRowsBeyondThemAreReported)
{
    runSql("CREATE TABLE plants (id INT, name VARCHAR(80), price DECIMAL(8,2), planted DATE, hardy TINYINT,"
           " notes TEXT)");
    runSql("INSERT INTO plants VALUES (1, 'Rose', 3.50, '2020-04-01', 1, 'Likes sun'),"
           " (40000, 'Fern', 2.00, '2020-04-02', 0, NULL),"
           " (3, REPEAT('x', 51), 1.25, '2020-04-03', 1, NULL),"
           " (4, 'Ivy', 12.25, '2021-05-06', 0, 'Climbs')");
    window.Check15->setChecked(true);
    customisation.showNextIn(form);
    user = [](Form3& dialog) {
        chooseType(dialog, "id", "SmallInt");
        chooseType(dialog, "name", "VarChar (50)");
        chooseType(dialog, "price", "Money");
        chooseType(dialog, "hardy", "Bit");
        chooseType(dialog, "notes", "ntext");
        QTest::mouseClick(dialog.PushButton2, Qt::LeftButton); // OK
    };

    sendToParadox({"plants"});

    ASSERT_EQ(windowsShown, 1);
    const std::vector<ShownBox> failures = reports();
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_TRUE(failures[0].text.contains(QStringLiteral("40000"))) << failures[0].text.toStdString();
    EXPECT_TRUE(failures[0].text.contains(QStringLiteral("'id'"))) << failures[0].text.toStdString();
    EXPECT_TRUE(failures[1].text.contains(QStringLiteral("51 characters, more than the 50")))
        << failures[1].text.toStdString();

    const ParadoxReadBack table = readBackWithPxlib(paradoxFile("plants.db"));
    ASSERT_EQ(table.problem, "");
    EXPECT_EQ(table.fieldNames, (std::vector<std::string>{"id", "name", "price", "planted", "hardy", "notes"}));
    // pxlib's codes: Short, Alpha, Money, Timestamp, Logical, Memo.
    EXPECT_EQ(table.fieldTypes, (std::vector<char>{0x03, 0x01, 0x05, 0x15, 0x09, 0x0C}));
    EXPECT_EQ(pxtest::readWithOurs(paradoxFile("plants.db")).header.fields.at(1).size, 50);
    const std::vector<std::vector<Cell>> expected{
        {"1", "Rose", "3.5", "2020-04-01 00:00:00", "True", "Likes sun"},
        {"4", "Ivy", "12.25", "2021-05-06 00:00:00", "False", "Climbs"},
    };
    EXPECT_EQ(table.records, expected);
}

TEST_F(CustomisedTransferTest, ToMySqlTheChosenTypesMakeTheColumnsAndNoValueIsRoundedOrTrimmed)
{
    const std::vector<px::Field> fields{{"NAME", px::FieldType::Alpha, 20, 0},
                                        {"PRICE", px::FieldType::Number, 0, 0},
                                        {"QTY", px::FieldType::Long, 0, 0},
                                        {"SOLD", px::FieldType::Date, 0, 0}};
    px::TableWriter writer(paradoxFolder.path(), "SALES", fields);
    const std::vector<std::vector<px::Value>> rows{
        {std::string("Rose"), 3.5, std::int64_t{10}, px::Date{2021, 5, 1}},
        {std::string("Fern"), 1.125, std::int64_t{5}, px::Date{2021, 5, 2}},
        {std::string("Ivy  "), 2.0, std::int64_t{7}, px::Date{2021, 5, 3}},
        {std::string("Moss"), 2.0, std::int64_t{40000}, px::Date{2021, 5, 4}},
        {std::string("Thyme"), 0.1, std::int64_t{-3}, px::Null{}},
    };
    for (const auto& row : rows)
        writer.append(row);
    writer.commit();

    window.Check16->setChecked(true);
    customisation.showNextIn(form);
    user = [](Form3& dialog) {
        chooseType(dialog, "NAME", "Char (10)");
        chooseType(dialog, "PRICE", "decimal(10,2)");
        chooseType(dialog, "QTY", "SmallInt");
        QTest::mouseClick(dialog.PushButton2, Qt::LeftButton); // OK
    };

    sendToMySql({QStringLiteral("SALES")});

    ASSERT_EQ(windowsShown, 1);
    EXPECT_EQ(mySqlColumns("SALES"), (std::vector<std::vector<std::string>>{{"NAME", "char(10)"},
                                                                           {"PRICE", "decimal(10,2)"},
                                                                           {"QTY", "smallint(6)"},
                                                                           {"SOLD", "datetime"}}));
    const std::vector<ShownBox> failures = reports();
    ASSERT_EQ(failures.size(), 3u);
    EXPECT_TRUE(failures[0].text.contains(QStringLiteral("1.125"))) << failures[0].text.toStdString();
    EXPECT_TRUE(failures[1].text.contains(QStringLiteral("ends in blanks"))) << failures[1].text.toStdString();
    EXPECT_TRUE(statementOfReport(failures[2]).contains(QStringLiteral("'40000'")))
        << failures[2].text.toStdString(); // refused by the server itself
    const Rows arrived = queryMySql("SELECT NAME, PRICE, QTY, SOLD FROM SALES");
    ASSERT_EQ(arrived.size(), 2u);
    EXPECT_EQ(db::toText(arrived[0][0]), "Rose");
    EXPECT_EQ(db::toText(arrived[0][1]), "3.50");
    EXPECT_EQ(db::toText(arrived[0][3]), "2021-05-01 00:00:00");
    EXPECT_EQ(db::toText(arrived[1][0]), "Thyme");
    EXPECT_EQ(db::toText(arrived[1][1]), "0.10");
    EXPECT_EQ(db::toText(arrived[1][2]), "-3");
    EXPECT_TRUE(db::isNull(arrived[1][3]));
}

TEST_F(CustomisedTransferTest, TheWindowReadsATableInTheCodePageChosenInTheConnectionWindow)
{
    // Text in code page 866 under a header that says 936: read by the header, the first row is
    // no text at all, and the window would open empty after an error report.
    pxtest::writeMislabelledTable(paradoxFolder.path(), "CITIES", "CITY", {"Москва", "Kyiv"},
                                  866, 936);
    paradoxCodePage = 866;
    window.Check16->setChecked(true);
    customisation.showNextIn(form);
    QStringList shownFields;
    user = [&shownFields](Form3& dialog) {
        for (int row = 0; row < dialog.List1->count(); ++row)
            shownFields << dialog.List1->item(row)->text();
        chooseType(dialog, "CITY", "varchar(20)");
        QTest::mouseClick(dialog.PushButton2, Qt::LeftButton); // OK
    };

    sendToMySql({QStringLiteral("CITIES")});

    ASSERT_EQ(windowsShown, 1);
    EXPECT_EQ(shownFields, QStringList{QStringLiteral("CITY")});
    EXPECT_TRUE(boxes.boxes.shown().empty()) << boxes.boxes.shown()[0].text.toStdString();
    EXPECT_EQ(mySqlColumns("CITIES"), (std::vector<std::vector<std::string>>{{"CITY", "varchar(20)"}}));
    const Rows arrived = queryMySql("SELECT CITY FROM CITIES");
    ASSERT_EQ(arrived.size(), 2u);
    EXPECT_EQ(db::toText(arrived[0][0]), "Москва");
    EXPECT_EQ(db::toText(arrived[1][0]), "Kyiv");
}

TEST_F(CustomisedTransferTest, CancelInTheWindowEndsTheRunBeforeAnythingIsWritten)
{
    runSql("CREATE TABLE first (a INT)");
    runSql("CREATE TABLE second (b INT)");
    runSql("INSERT INTO first VALUES (1)");
    runSql("INSERT INTO second VALUES (2)");
    window.Check15->setChecked(true);
    customisation.showNextIn(form);
    user = [](Form3& dialog) {
        chooseType(dialog, "b", "SmallInt");
        QTest::mouseClick(dialog.PushButton4, Qt::LeftButton); // Cancel
    };
    boxes.boxes.answerNext(BoxAnswer::Yes); // "exit without changes?"

    sendToParadox({"first", "second"});

    EXPECT_EQ(windowsShown, 1) << "the run ends at the first table it reaches, the bottom one";
    ASSERT_EQ(customisation.shown().size(), 1u);
    EXPECT_EQ(customisation.shown()[0].mTableName, "second");
    EXPECT_TRUE(paradoxFolderFiles().empty());
    EXPECT_TRUE(reports().empty());
}

// Every type name the window accepts that Jet's SQL knows makes a scratch column: only
// "sql_variant" and "xml", which Jet has no column for, fail the CREATE TABLE (reported by
// the transfer like any failing statement).
TEST(AcceptedTypesInTheScratchDatabase, EveryNameJetKnowsMakesAColumn)
{
    TemporaryFolder program;
    std::ofstream(program.path() / "dbtemp.mdb");
    connections::Connection scratch;
    scratch.Open(connections::scratchConnectionString(program.string()));
    std::vector<std::string> refused;
    for (const std::string_view name : customise::acceptedTypeNames) {
        try {
            scratch.Execute("CREATE TABLE `t`(`c` " + std::string(name) + ")");
            scratch.Execute("DROP TABLE [t]");
        } catch (const db::DatabaseError&) {
            refused.emplace_back(name);
        }
    }
    EXPECT_EQ(refused, (std::vector<std::string>{"sql_variant", "xml"}));
}

} // namespace
} // namespace quintabel::testing
