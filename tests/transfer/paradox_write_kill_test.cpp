// MySQL to Paradox, whole, in a child process killed at each of its kill points: a new table
// and an overwrite. After each kill the Paradox folder holds the table whole (old or new) or
// none of it, or else a journal the recovery rebuilds it from; after the recovery exactly one
// whole table and no working files; and the next run goes through.

#include "child_transfer.h"

#include "catalogue/window/paradox_table_list.h"
#include "catalogue/window/table_name_list.h"
#include "catalogue_test_support.h"
#include "maintenance/folder_recovery.h"
#include "maintenance/working_names.h"
#include "mariadb_test_database.h"
#include "paradoxfile/table_reader.h"
#include "paradoxfile/table_writer.h"
#include "replace_test_tables.h"
#include "temporary_folder.h"

#include <QListWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <optional>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;
using TableRows = std::vector<std::vector<paradox::Value>>;

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// What the folder holds of table `table`: its files by lower-case name, and the rows of its
// .DB when it has one that reads (with its memos).
struct TableSeen {
    std::vector<std::string> files;
    std::optional<TableRows> rows;
    bool operator==(const TableSeen&) const = default;
};

TableSeen seeTable(const fs::path& folder, const std::string& table)
{
    TableSeen seen;
    std::optional<fs::path> db;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const auto dot = name.rfind('.');
        if (!entry.is_regular_file() || dot == std::string::npos || lowerCase(name.substr(0, dot)) != lowerCase(table))
            continue;
        seen.files.push_back(lowerCase(name));
        if (lowerCase(name.substr(dot)) == ".db")
            db = entry.path();
    }
    std::sort(seen.files.begin(), seen.files.end());
    if (db) {
        try {
            auto reader = paradox::TableReader::open(*db);
            TableRows rows;
            for (std::vector<paradox::Value> values; reader.next(values);)
                rows.push_back(values);
            seen.rows = rows;
        } catch (const std::exception&) {
            // a table that does not read stays without rows, and matches no whole table
        }
    }
    return seen;
}

bool hasJournal(const fs::path& folder)
{
    return std::any_of(fs::directory_iterator(folder), fs::directory_iterator(), [](const fs::directory_entry& entry) {
        return classifyWorkingName(entry.path().filename().string(), false).kind == WorkingKind::Journal;
    });
}

class ParadoxWriteKillTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        prepareTableList(list);
        std::ofstream(programFolder.path() / "dbtemp.mdb");
        database.run("CREATE TABLE orders (id INT, customer VARCHAR(40), remark TEXT)");
        database.run("INSERT INTO orders VALUES (1, 'Hôtel Érable', REPEAT('first remark; ', 40)),"
                     " (2, 'Birch & Co', REPEAT('second remark; ', 3)), (3, NULL, NULL)");
        // The other table of the folder, which nothing may touch.
        writeOldOrders("KEEP");
        bystander = seeTable(paradoxFolder.path(), "KEEP");
        transfer.database = database.name();
        transfer.paradoxFolder = paradoxFolder.path();
        transfer.programFolder = programFolder.path();
        transfer.table = "orders";
        transfer.overwrite = true;
        newTable = referenceRun();
    }

    // The table as a run that nobody kills writes it, in a folder of its own.
    TableSeen referenceRun()
    {
        TemporaryFolder elsewhere;
        ChildTransfer reference = transfer;
        reference.paradoxFolder = elsewhere.path();
        const ChildOutcome outcome = runChildTransfer(reference);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
        TableSeen seen = seeTable(elsewhere.path(), "orders");
        EXPECT_TRUE(seen.rows && seen.rows->size() == 3u);
        return seen;
    }

    // An ORDERS of other rows, with its memos and an index companion.
    void writeOldOrders(const std::string& name)
    {
        const std::vector<paradox::Field> fields = {{"Id", paradox::FieldType::Long, 0, 0},
                                                    {"Note", paradox::FieldType::Memo, 20, 0}};
        paradox::TableWriter writer(paradoxFolder.path(), name, fields);
        const paradox::Value first[] = {std::int64_t{41}, std::string(300, 'o')};
        const paradox::Value second[] = {std::int64_t{42}, std::string("old")};
        writer.append(first);
        writer.append(second);
        writer.commit();
        std::ofstream(paradoxFolder.path() / (name + ".PX")) << "index of " << name;
    }

    void removeOrders()
    {
        for (const std::string& name : seeTable(paradoxFolder.path(), "orders").files) {
            for (const auto& entry : fs::directory_iterator(paradoxFolder.path()))
                if (lowerCase(entry.path().filename().string()) == name)
                    fs::remove(entry.path());
        }
    }

    // Right after a kill: whatever shows under the name is one whole table, or the journal
    // is there to rebuild it. Answers whether the new table must be there after the recovery.
    bool checkAfterKill(const std::vector<TableSeen>& allowed)
    {
        ++invariantsChecked;
        const TableSeen seen = seeTable(paradoxFolder.path(), "orders");
        const bool whole = std::find(allowed.begin(), allowed.end(), seen) != allowed.end();
        if (!whole) {
            EXPECT_TRUE(hasJournal(paradoxFolder.path())) << "orders is neither whole nor journalled";
        }
        EXPECT_EQ(seeTable(paradoxFolder.path(), "KEEP"), bystander);
        return seen == newTable;
    }

    void checkRecovered(const std::vector<TableSeen>& allowed, const std::vector<RecoveryNote>& notes)
    {
        ++invariantsChecked;
        const TableSeen seen = seeTable(paradoxFolder.path(), "orders");
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), seen), allowed.end())
            << "after the recovery orders has " << seen.files.size() << " files";
        EXPECT_EQ(WorkingEntries(paradoxFolder.path()), std::vector<std::string>{});
        EXPECT_EQ(seeTable(paradoxFolder.path(), "KEEP"), bystander);
        ListParadoxTables(list, QString::fromStdString(paradoxFolder.string()));
        QStringList expected{QStringLiteral("KEEP")};
        if (!seen.files.empty())
            expected.append(QStringLiteral("ORDERS"));
        EXPECT_EQ(ItemTexts(list), expected);
        for (const RecoveryNote& note : notes)
            EXPECT_NE(note.what, RecoveryNote::What::NotSettled) << note.problem;
    }

    MariaDbTestDatabase database;
    TemporaryFolder paradoxFolder;
    TemporaryFolder programFolder;
    QListWidget list;
    ChildTransfer transfer;
    TableSeen bystander;
    TableSeen newTable;
    int invariantsChecked = 0;
};

TEST_F(ParadoxWriteKillTest, ANewTableKilledAnywhereIsThereWholeOrNotAtAll)
{
    const TableSeen none;
    const int killed = killAtEveryPoint(transfer, [&](const ChildOutcome& outcome, long) {
        const bool wasWhole = checkAfterKill({none, newTable});
        const std::vector<RecoveryNote> notes = recoverParadoxFolder(paradoxFolder.path());
        checkRecovered({none, newTable}, notes);
        if (wasWhole) {
            EXPECT_EQ(seeTable(paradoxFolder.path(), "orders"), newTable) << outcome.moment;
        }
        removeOrders(); // the next run sends it as a new table again
    });
    EXPECT_EQ(seeTable(paradoxFolder.path(), "orders"), newTable);
    EXPECT_EQ(WorkingEntries(paradoxFolder.path()), std::vector<std::string>{});
    EXPECT_GE(killed, 10);
    std::cout << "new table: " << killed << " kill points, " << invariantsChecked << " invariant checks\n";
}

TEST_F(ParadoxWriteKillTest, AnOverwriteKilledAnywhereLeavesTheOldTableOrTheNewOneWhole)
{
    writeOldOrders("ORDERS");
    const TableSeen oldTable = seeTable(paradoxFolder.path(), "orders");
    ASSERT_EQ(oldTable.files.size(), 3u);
    int finished = 0;
    const int killed = killAtEveryPoint(transfer, [&](const ChildOutcome& outcome, long) {
        const bool newInPlace = checkAfterKill({oldTable, newTable});
        const bool journalled = hasJournal(paradoxFolder.path());
        const std::vector<RecoveryNote> notes = recoverParadoxFolder(paradoxFolder.path());
        checkRecovered({oldTable, newTable}, notes);
        const bool newAfter = seeTable(paradoxFolder.path(), "orders") == newTable;
        // The recovery never takes back a new table that was in place.
        if (newInPlace) {
            EXPECT_TRUE(newAfter) << outcome.moment;
        }
        if (journalled) {
            EXPECT_EQ(notes.size(), 1u) << outcome.moment;
        }
        finished += newAfter ? 1 : 0;
        // The next run overwrites the old table again.
        removeOrders();
        writeOldOrders("ORDERS");
    });
    EXPECT_EQ(seeTable(paradoxFolder.path(), "orders"), newTable);
    EXPECT_EQ(WorkingEntries(paradoxFolder.path()), std::vector<std::string>{});
    EXPECT_GE(killed, 10);
    EXPECT_GT(finished, 0); // some kills fell after the new table was complete
    std::cout << "overwrite: " << killed << " kill points (" << finished << " recovered to the new table), "
              << invariantsChecked << " invariant checks\n";
}

} // namespace
} // namespace quintabel::testing
