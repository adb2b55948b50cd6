// The scratch database after a kill and after damage: a child process copying rows is killed
// with SIGKILL at each kill point and in the middle of a batch, and the same file must then
// be sound and take the next table through to a Paradox table; a damaged file is made anew,
// once, with a notice, and never used damaged.

#include "connections/connection.h"
#include "connections/connection_string.h"
#include "drivers/database_error.h"
#include "paradoxfile/table_reader.h"
#include "scratch_copy_rows.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
namespace px = quintabel::paradox;
using quintabel::connections::Connection;
using quintabel::connections::scratchConnectionString;
using quintabel::db::DatabaseError;
using quintabel::testing::TemporaryFolder;
using namespace quintabel::testing;

struct ChildEnd {
    bool killed = false;
    int exitCode = 0;
    std::string moment; // the kill point the child died at, from its note
};

// Runs the copying child; with `killAtPoint` > 0 it kills itself at that kill point.
ChildEnd runCopyChild(const std::vector<std::string>& arguments, long killAtPoint, const fs::path& noteFile)
{
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        if (variable.rfind("QUINTABEL_KILL_", 0) != 0)
            environment.push_back(variable);
    }
    if (killAtPoint > 0) {
        environment.push_back("QUINTABEL_KILL_AT_POINT=" + std::to_string(killAtPoint));
        environment.push_back("QUINTABEL_KILL_POINT_NOTE=" + noteFile.string());
    }
    std::vector<std::string> command{QUINTABEL_SCRATCH_COPY_CHILD};
    command.insert(command.end(), arguments.begin(), arguments.end());
    // Everything the child needs is built before the fork: after it only exec is safe.
    std::vector<char*> argv;
    for (std::string& argument : command)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    fs::remove(noteFile);
    const pid_t child = fork();
    if (child == 0) {
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ChildEnd end;
    end.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    end.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream note(noteFile);
    std::getline(note, end.moment);
    return end;
}

// What SQLite's full integrity check says of the file, opened for writing so that it first
// rolls back whatever a kill left unfinished.
std::string integrityOf(const fs::path& file)
{
    sqlite3* database = nullptr;
    std::string answer = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &database, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        if (sqlite3_prepare_v2(database, "PRAGMA integrity_check", -1, &check, nullptr) != SQLITE_OK)
            answer = sqlite3_errmsg(database);
        else if (sqlite3_step(check) == SQLITE_ROW)
            answer = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
        else
            answer = sqlite3_errmsg(database);
        sqlite3_finalize(check);
    }
    sqlite3_close(database);
    return answer;
}

// The rows of a scratch table, counted by SQLite itself; nothing when there is no such table.
std::optional<long> rowsOf(const fs::path& file, const std::string& table)
{
    sqlite3* database = nullptr;
    std::optional<long> rows;
    if (sqlite3_open_v2(file.c_str(), &database, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* count = nullptr;
        const std::string sql = "SELECT count(*) FROM \"" + table + "\"";
        if (sqlite3_prepare_v2(database, sql.c_str(), -1, &count, nullptr) == SQLITE_OK
            && sqlite3_step(count) == SQLITE_ROW)
            rows = sqlite3_column_int64(count, 0);
        sqlite3_finalize(count);
    }
    sqlite3_close(database);
    return rows;
}

std::set<std::string> scratchTablesOf(Connection& scratch)
{
    std::set<std::string> tables;
    for (auto schema = scratch.OpenSchema(20); !schema.Eof(); schema.MoveNext()) {
        if (quintabel::db::toText(schema.Fields("TABLE_TYPE").Value()) == "TABLE")
            tables.insert(quintabel::db::toText(schema.Fields("TABLE_NAME").Value()));
    }
    return tables;
}

// Reads a Paradox table written by the copy and checks every row against what was sent.
void expectCopiedRows(const fs::path& dbFile, int rows)
{
    auto reader = px::TableReader::open(dbFile);
    std::vector<px::Value> record;
    int row = 0;
    while (reader.next(record)) {
        ++row;
        ASSERT_EQ(record.size(), 2u);
        EXPECT_EQ(record[0], px::Value(std::int64_t{row})) << dbFile << " row " << row;
        EXPECT_EQ(record[1], px::Value(copyTableNote(row))) << dbFile << " row " << row;
    }
    EXPECT_EQ(row, rows) << dbFile;
}

std::string fileBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ScratchCrashSafetyTest : public ::testing::Test {
protected:
    ScratchCrashSafetyTest() { std::ofstream{scratchFile()}; }

    fs::path scratchFile() const { return program.path() / "dbtemp.mdb"; }
    fs::path companion(const char* suffix) const { return fs::path(scratchFile().string() + suffix); }
    std::string connectionString() const { return scratchConnectionString(program.string()); }

    // What the transfer does with a scratch file it finds: drops the tables left in it, then
    // sends one table through CREATE, INSERTs and the write-out, which must read back whole.
    // The file must open without being made anew: a kill must never damage it.
    void expectNextTableGoesThrough(const std::string& table, int rows)
    {
        Connection scratch;
        scratch.Open(connectionString());
        EXPECT_EQ(scratch.OpeningNotice(), std::nullopt);
        for (const std::string& left : scratchTablesOf(scratch))
            scratch.Execute("DROP TABLE [" + left + "]");
        TemporaryFolder paradox;
        scratch.Execute(copyTableCreate(table));
        for (int row = 1; row <= rows; ++row)
            scratch.Execute(copyTableInsert(table, row));
        scratch.Execute(copyTableWriteOut(table, paradox.string()));
        scratch.Execute("DROP TABLE [" + table + "]");
        expectCopiedRows(paradox.path() / (table + ".db"), rows);
        EXPECT_TRUE(scratchTablesOf(scratch).empty());
    }

    TemporaryFolder program;
};

TEST_F(ScratchCrashSafetyTest, AKillAtEveryPointOfACopyLeavesAFileThatTakesTheNextTable)
{
    constexpr int rows = 300;
    std::set<std::string> moments;
    long killed = 0;
    for (long point = 1;; ++point) {
        ASSERT_LT(point, 100) << "the child never got to its end";
        TemporaryFolder paradox;
        const ChildEnd end = runCopyChild({program.string(), paradox.string(), std::to_string(rows)}, point,
                                          program.path() / "kill-note");
        if (!end.killed) {
            ASSERT_EQ(end.exitCode, 0) << "after " << killed << " kills";
            expectCopiedRows(paradox.path() / "first.db", rows);
            expectCopiedRows(paradox.path() / "second.db", rows);
            break;
        }
        ++killed;
        moments.insert(end.moment);
        SCOPED_TRACE("killed at point " + std::to_string(point) + ": " + end.moment);
        ASSERT_EQ(integrityOf(scratchFile()), "ok");
        expectNextTableGoesThrough("after", 50);
        if (HasFatalFailure())
            return;
    }
    std::cout << "[ scratch ] " << killed << " kill points killed, the file checked after each\n";
    EXPECT_EQ(moments, (std::set<std::string>{"a scratch table created", "a batch of scratch rows committed",
                                              "a scratch table written out as a Paradox table",
                                              "a scratch table dropped"}));
}

TEST_F(ScratchCrashSafetyTest, AKillInTheMiddleOfABatchLosesOnlyTheBatchAndTheFileStaysSound)
{
    // The first table is copied, written out and dropped, which leaves its pages free; the
    // second table's rows fill those pages, some 8 MB of them, more than SQLite's page cache
    // holds, so that pages of the unfinished batch are written inside the file before the
    // child dies. (Without a journal on disk, that is what damaged the file for good.)
    constexpr int rows = 40000;
    TemporaryFolder paradox;
    const ChildEnd end = runCopyChild({program.string(), paradox.string(), std::to_string(rows),
                                       std::to_string(rows + 35000)},
                                      0, program.path() / "kill-note");
    ASSERT_TRUE(end.killed);
    expectCopiedRows(paradox.path() / "first.db", rows);
    EXPECT_TRUE(fs::exists(companion("-journal"))) << "no journal was left to roll the batch back";

    ASSERT_EQ(integrityOf(scratchFile()), "ok");
    EXPECT_EQ(rowsOf(scratchFile(), "second"), 0) << "the table was committed empty, and the batch rolled back";
    expectNextTableGoesThrough("after", 2000);
}

TEST_F(ScratchCrashSafetyTest, AKillWhileADamagedFileIsMadeAnewNeverLeavesItMissingAndTheNextOpenFinishesTheJob)
{
    long killed = 0;
    for (long point = 1;; ++point) {
        ASSERT_LT(point, 100);
        std::ofstream(scratchFile(), std::ios::trunc) << std::string(3000, 'x');
        std::ofstream(companion("-journal"), std::ios::trunc) << std::string(700, 'j');
        TemporaryFolder paradox;
        const ChildEnd end = runCopyChild({program.string(), paradox.string(), "20"}, point,
                                          program.path() / "kill-note");
        SCOPED_TRACE("killed at point " + std::to_string(point) + ": " + end.moment);
        // Past the making anew, the copy's own points follow: the test above has them.
        if (!end.killed || end.moment.find("damaged") == std::string::npos)
            break;
        ++killed;
        ASSERT_TRUE(fs::exists(scratchFile()));
        Connection scratch;
        scratch.Open(connectionString());
        scratch.Close();
        ASSERT_EQ(integrityOf(scratchFile()), "ok");
        expectNextTableGoesThrough("after", 20);
    }
    EXPECT_EQ(killed, 5) << "three companions removed, an empty file made, and moved in place";
}

// A damaged scratch file, made by each case's own hand.
struct Damage {
    const char* name;
    void (*make)(const fs::path& file);
};

void writeTextFile(const fs::path& file)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (int line = 0; line < 200; ++line)
        out << "This is a note, not a database.\n";
}

// A real scratch database of a few hundred pages, overwritten from the middle of one page
// to the middle of a page three further on, so that page headers are hit too.
void overwritePagesInTheMiddle(const fs::path& file)
{
    {
        Connection scratch;
        scratch.Open(scratchConnectionString(file.parent_path().string()));
        scratch.Execute(copyTableCreate("kept"));
        for (int row = 1; row <= 3000; ++row)
            scratch.Execute(copyTableInsert("kept", row));
    }
    const std::size_t pageSize = 4096;
    ASSERT_GT(fs::file_size(file), 40 * pageSize);
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(20 * pageSize + pageSize / 2));
    const std::string garbage(3 * pageSize, '\x5A');
    out.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
}

// A text file with leftovers of an earlier run beside it, which must go with it: a journal
// applied to the new file would bring the damage back.
void damageWithCompanions(const fs::path& file)
{
    writeTextFile(file);
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        std::ofstream(file.string() + suffix, std::ios::binary) << std::string(5000, '\x01');
}

class DamagedScratchFileTest : public ScratchCrashSafetyTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedScratchFileTest, IsMadeAnewWithOneNoticeAndThenTakesTables)
{
    GetParam().make(scratchFile());
    ASSERT_NE(integrityOf(scratchFile()), "ok") << "the damage was not seen by SQLite itself";

    Connection scratch;
    scratch.Open(connectionString());
    EXPECT_EQ(scratch.OpeningNotice(),
              "The scratch database '" + scratchFile().string()
                  + "' was damaged, probably by an interrupted run, and has been made anew. No table was lost: "
                    "it only holds copies while they are sent.");
    EXPECT_TRUE(scratchTablesOf(scratch).empty());
    scratch.Close();
    EXPECT_EQ(scratch.OpeningNotice(), std::nullopt) << "a closed connection has nothing to tell";

    for (const char* suffix : {"-journal", "-wal", "-shm"})
        EXPECT_FALSE(fs::exists(companion(suffix))) << suffix;
    EXPECT_FALSE(fs::exists(companion(".new")));
    EXPECT_EQ(integrityOf(scratchFile()), "ok");
    expectNextTableGoesThrough("after", 100); // and told no more
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedScratchFileTest,
                         ::testing::Values(Damage{"NoDatabase", &writeTextFile},
                                           Damage{"PagesOverwritten", &overwritePagesInTheMiddle},
                                           Damage{"WithCompanionsLeftBeside", &damageWithCompanions}),
                         [](const auto& damage) { return std::string(damage.param.name); });

TEST_F(ScratchCrashSafetyTest, ASoundFileIsKeptWithItsTablesAndAMissingOneIsNeverMade)
{
    {
        Connection scratch;
        scratch.Open(connectionString());
        EXPECT_EQ(scratch.OpeningNotice(), std::nullopt) << "an empty file is an empty database";
        scratch.Execute(copyTableCreate("kept"));
        scratch.Execute(copyTableInsert("kept", 1));
    }
    Connection again;
    again.Open(connectionString());
    EXPECT_EQ(again.OpeningNotice(), std::nullopt);
    EXPECT_EQ(scratchTablesOf(again), std::set<std::string>{"kept"});
    again.Close();
    EXPECT_EQ(rowsOf(scratchFile(), "kept"), 1);

    fs::remove(scratchFile());
    Connection missing;
    try {
        missing.Open(connectionString());
        ADD_FAILURE() << "a missing scratch file was opened";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.description(), "Could not find file '" + scratchFile().string() + "'.");
    }
    EXPECT_FALSE(fs::exists(scratchFile()));
}

TEST_F(ScratchCrashSafetyTest, AConnectionForReadingOnlyRefusesADamagedFileAndLeavesItAlone)
{
    writeTextFile(scratchFile());
    const std::string before = fileBytes(scratchFile());
    Connection scratch;
    scratch.setMode(quintabel::connections::adModeRead);
    EXPECT_THROW(scratch.Open(connectionString()), DatabaseError);
    EXPECT_EQ(fileBytes(scratchFile()), before);
}

} // namespace
