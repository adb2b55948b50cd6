// A round trip of the MySQL sample (Chinook): MySQL to Paradox to MySQL, compared row by row.

#include "canonical_values.h"
#include "connections/connection.h"
#include "transfer_fixture.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

#include <fstream>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;

// The sample's statements, without its own CREATE DATABASE and USE: they run in the test's
// database. Statements end with ";" at the end of a line; comments stand on lines of their own.
std::vector<std::string> sampleStatements(const fs::path& file)
{
    std::ifstream in(file);
    std::vector<std::string> statements;
    std::string statement;
    bool inComment = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (statement.empty() && line.rfind("/*", 0) == 0)
            inComment = true;
        if (inComment) {
            inComment = line.find("*/") == std::string::npos;
            continue;
        }
        statement += line + "\n";
        if (!line.empty() && line.back() == ';') {
            const bool aboutTheDatabase = statement.rfind("DROP DATABASE", 0) == 0
                || statement.rfind("CREATE DATABASE", 0) == 0 || statement.rfind("USE ", 0) == 0;
            if (!aboutTheDatabase)
                statements.push_back(statement);
            statement.clear();
        }
    }
    return statements;
}

// How many reports show an INSERT into `table` as the statement in hand.
int insertReportsFor(const std::vector<ShownBox>& reports, const std::string& table)
{
    int count = 0;
    for (const ShownBox& report : reports)
        count += statementOfReport(report).startsWith(QString::fromStdString("INSERT INTO `" + table + "` ")) ? 1 : 0;
    return count;
}

class RoundTripTest : public TransferTest {};

TEST_F(RoundTripTest, TheMySqlSampleComesBackRowByRowOrEachMissingRowIsReported)
{
    const fs::path sample = fs::path(QUINTABEL_TESTDATA_DIR) / "mysql/chinook/Chinook_MySql.sql";
    ASSERT_TRUE(fs::exists(sample)) << "the MySQL sample is missing: " << sample;
    for (const std::string& statement : sampleStatements(sample))
        runSql(statement);

    // Tables and the Paradox names they get. PlaylistTrack would be cut to the name of
    // Playlist, so it stays out of the round trip (its question is answered No).
    const std::vector<std::pair<std::string, std::string>> tables = {
        {"Album", "ALBUM"},       {"Artist", "ARTIST"},     {"Customer", "CUSTOMER"}, {"Employee", "EMPLOYEE"},
        {"Genre", "GENRE"},       {"Invoice", "INVOICE"},   {"InvoiceLine", "INVOICEL"},
        {"MediaType", "MEDIATYP"}, {"Playlist", "PLAYLIST"}, {"Track", "TRACK"}};
    QStringList mySqlNames{QStringLiteral("PlaylistTrack")};
    QStringList paradoxNames;
    for (const auto& [mySqlName, paradoxName] : tables) {
        mySqlNames << QString::fromStdString(mySqlName);
        paradoxNames << QString::fromStdString(paradoxName);
    }
    // From the bottom of the list: PlaylistTrack, MediaType and InvoiceLine are questioned.
    boxes.boxes.answerNext(BoxAnswer::No);
    boxes.boxes.answerNext(BoxAnswer::Yes);
    boxes.boxes.answerNext(BoxAnswer::Yes);
    sendToParadox(mySqlNames);
    ASSERT_EQ(questions().size(), 3u);
    const std::vector<ShownBox> toParadoxReports = reports();

    // Back, beside the originals: they step aside first, since a table the MySQL list shows in
    // another letter case would be overwritten, and an overwrite keeps the old table whole
    // when a row is refused.
    for (const auto& [mySqlName, paradoxName] : tables)
        runSql("RENAME TABLE `" + mySqlName + "` TO `original " + mySqlName + "`");
    sendToMySql(paradoxNames);
    const std::vector<ShownBox> allReports = reports();
    const std::vector<ShownBox> backReports(allReports.begin() + static_cast<long>(toParadoxReports.size()),
                                            allReports.end());

    for (const auto& [mySqlName, paradoxName] : tables) {
        SCOPED_TRACE(mySqlName);
        const Rows original = queryMySql("SELECT * FROM `original " + mySqlName + "`");
        const Rows returned = queryMySql("SELECT * FROM `" + paradoxName + "`");
        std::size_t next = 0;
        int missing = 0;
        for (const auto& row : original) {
            bool same = next < returned.size() && returned[next].size() == row.size();
            for (std::size_t f = 0; same && f < row.size(); ++f)
                same = canonicalOfMySql(returned[next][f]) == canonicalOfMySql(row[f]);
            if (same)
                ++next;
            else
                ++missing;
        }
        EXPECT_EQ(next, returned.size()) << "a row came back changed";
        // On the way back the rows go into the table's new copy, under its temporary name.
        EXPECT_EQ(missing, insertReportsFor(toParadoxReports, mySqlName)
                               + insertReportsFor(backReports, "quintabel-new-" + paradoxName));
        EXPECT_GT(next, original.size() * 9 / 10);
    }
}

} // namespace
} // namespace quintabel::testing
