// A refused row holding a memo of 16 MB, through a whole Paradox to MySQL transfer: its
// report quotes the start of the statement and of the value, and says how many characters it
// left out, instead of carrying megabytes into the box.

#include "canonical_values.h"
#include "transfer_fixture.h"

#include <QCheckBox>

namespace quintabel::testing {
namespace {

namespace px = quintabel::paradox;

// 16 MB: with its INSERT around it, still below the server's 16 MiB max_allowed_packet, so
// that the server reads the statement and refuses the row itself.
constexpr std::size_t kMemoCharacters = 16'000'000;

class LongValueReportTest : public TransferTest {
protected:
    // Sends a one-field table whose first row is `memo` and whose second is short, into a
    // column of `columnType` chosen in the customisation window.
    void sendMemos(const std::string& memo, const std::string& columnType)
    {
        writeParadoxTable("NOTES", px::Field{"NOTE", px::FieldType::Memo, 11, 0},
                          {px::Value(memo), px::Value(std::string("short"))});
        window.Check16->setChecked(true);
        // The table is built under a name of its own and takes its name once complete.
        customisation.acceptNext("CREATE TABLE `quintabel-new-NOTES`(`NOTE` " + columnType + ")");
        sendToMySql({QStringLiteral("NOTES")});
    }

    std::vector<Cell> arrivedNotes() const
    {
        std::vector<Cell> notes;
        for (const auto& row : queryMySql("SELECT NOTE FROM NOTES"))
            notes.push_back(canonicalOfMySql(row.at(0)));
        return notes;
    }

    // The start of every report, for a failure message.
    std::string reportStarts() const
    {
        std::string starts;
        for (const ShownBox& report : reports())
            starts += report.text.left(300).toStdString() + "\n---\n";
        return starts;
    }

    static QString leftOut(qsizetype characters)
    {
        return QStringLiteral("\u2026 (%1 more characters)").arg(characters);
    }
};

TEST_F(LongValueReportTest, ARowTheServerRefusesIsReportedWithTheStartOfItsStatement)
{
    sendMemos(std::string(kMemoCharacters, 'a'), "TEXT"); // TEXT holds 65,535 bytes

    const std::vector<ShownBox> failures = reports();
    ASSERT_EQ(failures.size(), 1u) << reportStarts();
    EXPECT_TRUE(failures[0].text.startsWith(QStringLiteral("Data too long for column 'NOTE'"))) << failures[0].text.left(300).toStdString();
    const QString statement = statementOfReport(failures[0]);
    const qsizetype valuesStart = statement.indexOf(QStringLiteral("NOTES` VALUES('")) + 15;
    ASSERT_GT(valuesStart, 15) << statement.left(100).toStdString();
    EXPECT_TRUE(statement.startsWith(QStringLiteral("INSERT INTO `")));
    const qsizetype statementCharacters = valuesStart + static_cast<qsizetype>(kMemoCharacters) + 2;
    EXPECT_EQ(statement.mid(valuesStart),
              QString(1000 - valuesStart, QLatin1Char('a')) + leftOut(statementCharacters - 1000));
    EXPECT_LT(failures[0].text.size(), 1500);
    EXPECT_EQ(arrivedNotes(), std::vector<Cell>{"short"}) << "the next row goes on";
}

TEST_F(LongValueReportTest, ARowTheColumnWouldChangeIsReportedWithTheStartOfTheValue)
{
    // A CHAR column drops the blanks at the end of a value: the row is refused before it is
    // sent, with a reason that quotes the value.
    sendMemos(std::string(kMemoCharacters - 1, 'b') + " ", "CHAR(20)");

    const std::vector<ShownBox> failures = reports();
    ASSERT_EQ(failures.size(), 1u) << reportStarts();
    const QString quotedValue = QStringLiteral("'") + QString(39, QLatin1Char('b'))
        + leftOut(static_cast<qsizetype>(kMemoCharacters) + 2 - 40);
    EXPECT_TRUE(failures[0].text.startsWith(QStringLiteral("Row 1 was not copied. The value ") + quotedValue
                                            + QStringLiteral(" of column 'NOTE' ends in blanks")))
        << failures[0].text.mid(990, 200).toStdString();
    EXPECT_TRUE(statementOfReport(failures[0]).contains(QStringLiteral("NOTES` VALUES('bbb")));
    EXPECT_TRUE(statementOfReport(failures[0]).endsWith(QStringLiteral(" more characters)")));
    EXPECT_LT(failures[0].text.size(), 1500);
    EXPECT_EQ(arrivedNotes(), std::vector<Cell>{"short"});
}

} // namespace
} // namespace quintabel::testing
