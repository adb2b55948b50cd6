// The recovery of a Paradox folder from what a killed replacement, an older Quintabel or
// another program left in it; the journal's format; the listing's blindness to working files;
// and the one message that tells the user.

#include "maintenance_test_support.h"
#include "replace_child_runner.h"
#include "replace_test_tables.h"

#include "catalogue/window/paradox_table_list.h"
#include "catalogue/window/table_name_list.h"
#include "catalogue_test_support.h"
#include "catalogue/window/list_box_front_end.h"
#include "maintenance/folder_recovery.h"
#include "maintenance/paradox_replacement.h"
#include "maintenance/paradox_table_maintenance.h"
#include "paradoxfile/table_writer.h"
#include "shell/pointer_rules.h"
#include "shell/support/scripted_message_boxes.h"

#include <QListWidget>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;
using What = RecoveryNote::What;

// "journal in place" is reached once per journal step: 1 writing-new, 2 new-complete (the old
// table still in place, the new one staged), 3 old-set-aside (the old table aside), ...
constexpr int kNewComplete = 2;
constexpr int kOldSetAside = 3;

class ParadoxRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        prepareTableList(list);
        fs::create_directory(folder);
        WriteGeneration(folder, "X", Generation::Old);
        WriteGeneration(folder, "Y", Generation::Old);
    }

    QStringList listed()
    {
        ListParadoxTables(list, QString::fromStdString(folder.string()));
        return ItemTexts(list);
    }

    std::vector<fs::path> keptFolders() const
    {
        std::vector<fs::path> kept;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().starts_with("Quintabel kept "))
                kept.push_back(entry.path());
        std::sort(kept.begin(), kept.end());
        return kept;
    }

    // Another program writes table X afresh: same rows as `generation`, other files.
    void anotherProgramWritesX(Generation generation)
    {
        for (const char* extension : {".DB", ".MB", ".PX"})
            fs::remove(folder / (std::string("X") + extension));
        WriteGeneration(folder, "X", generation);
    }

    ScriptedBoxesInstalled installed;
    QTemporaryDir scratch;
    fs::path folder = fs::path(scratch.path().toStdString()) / "tables";
    QListWidget list;
};

TEST_F(ParadoxRecoveryTest, AJournalWhoseTablesHaveBothGoneIsClearedWithoutTouchingAnything)
{
    KillReplaceAt(folder, "X", "journal in place", kOldSetAside);
    const JournalPaths replacement = *ReplacementIn(folder);
    fs::remove_all(replacement.aside());
    fs::remove_all(replacement.staging());

    const std::vector<RecoveryNote> notes = recoverParadoxFolder(folder);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].what, What::NothingLeft);
    EXPECT_EQ(notes[0].table, "X");
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});
    EXPECT_EQ(keptFolders(), std::vector<fs::path>{});
    EXPECT_EQ(listed(), QStringList{QStringLiteral("Y")});
}

TEST_F(ParadoxRecoveryTest, ATableChangedSinceTheKillIsLeftAloneAndQuintabelsCopiesAreKeptInSight)
{
    // Killed with the old table still in place: another program rewrites it meanwhile.
    KillReplaceAt(folder, "X", "journal in place", kNewComplete);
    anotherProgramWritesX(Generation::Old);
    const auto theirs = identityOf(folder / "X.DB");

    std::vector<RecoveryNote> notes = recoverParadoxFolder(folder);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].what, What::FilesKept);
    ASSERT_EQ(notes[0].kept, keptFolders());
    ASSERT_EQ(notes[0].kept.size(), 1u);
    EXPECT_EQ(WholeGenerationIn(notes[0].kept[0], "X"), Generation::New) << notes[0].kept[0];
    EXPECT_EQ(identityOf(folder / "X.DB"), theirs);
    EXPECT_EQ(WholeGenerationIn(folder, "X"), Generation::Old);
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});
    fs::remove_all(notes[0].kept[0]);

    // Killed with the old table aside: another program makes a new X in the empty place. The
    // set-aside X may be the only copy of its rows, so both of Quintabel's copies are kept.
    KillReplaceAt(folder, "X", "journal in place", kOldSetAside);
    ASSERT_FALSE(fs::exists(folder / "X.DB"));
    WriteGeneration(folder, "X", Generation::New);
    const auto newcomer = identityOf(folder / "X.DB");

    notes = recoverParadoxFolder(folder);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].what, What::FilesKept);
    ASSERT_EQ(notes[0].kept.size(), 2u);
    EXPECT_EQ(WholeGenerationIn(notes[0].kept[0], "X"), Generation::Old) << notes[0].kept[0];
    EXPECT_EQ(WholeGenerationIn(notes[0].kept[1], "X"), Generation::New) << notes[0].kept[1];
    EXPECT_EQ(identityOf(folder / "X.DB"), newcomer);
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});
    // Kept in sight means listed: the user sees the copies, named in the message.
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("X"), QStringLiteral("X"), QStringLiteral("X"),
                                     QStringLiteral("Y")}));
}

TEST_F(ParadoxRecoveryTest, ANewTableDamagedAfterTheKillGivesTheOldTableBack)
{
    KillReplaceAt(folder, "X", "journal in place", kOldSetAside);
    const JournalPaths replacement = *ReplacementIn(folder);
    fs::resize_file(replacement.staging() / "X.MB", 100);

    const std::vector<RecoveryNote> notes = recoverParadoxFolder(folder);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].what, What::OldTableRestored);
    EXPECT_EQ(WholeGenerationIn(folder, "X"), Generation::Old);
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});
    EXPECT_EQ(keptFolders(), std::vector<fs::path>{});
}

TEST_F(ParadoxRecoveryTest, WorkingFilesWithoutAJournalGiveBackATableOnlyWhereItsNameIsFree)
{
    // As an older Quintabel left them: a staged table whose old one was already deleted, a
    // staged copy beside its old table, a set-aside table whose name was taken meanwhile.
    const fs::path stagedAlone = folder / ".quintabel-replacing-aaa111";
    const fs::path stagedBeside = folder / ".quintabel-replacing-bbb222";
    const fs::path asideTaken = folder / ".quintabel-old-ccc333";
    for (const fs::path& working : {stagedAlone, stagedBeside, asideTaken})
        fs::create_directory(working);
    WriteGeneration(stagedAlone, "Z", Generation::New);
    WriteGeneration(stagedBeside, "X", Generation::New);
    WriteGeneration(asideTaken, "Y", Generation::New);
    std::ofstream(folder / ".quintabel-journal-ddd444.new") << "Quintabel replacement journal 1\n";
    std::ofstream(folder / ".quintabel-W-abcdefgh.db-tmp") << "half a table";
    std::ofstream(folder / ".quintabel-W-abcdefgh.mb-tmp") << "half its memos";

    const std::vector<RecoveryNote> notes = recoverParadoxFolder(folder);
    const auto noteOf = [&](What what, const std::string& table) {
        return std::count_if(notes.begin(), notes.end(),
                             [&](const RecoveryNote& note) { return note.what == what && note.table == table; });
    };
    EXPECT_EQ(notes.size(), 4u);
    EXPECT_EQ(noteOf(What::TablePutBack, "Z"), 1);
    EXPECT_EQ(noteOf(What::OverwriteUndone, "X"), 1);
    EXPECT_EQ(noteOf(What::FilesKept, "Y"), 1);
    EXPECT_EQ(noteOf(What::UnfinishedTableRemoved, "W"), 1);

    EXPECT_EQ(WholeGenerationIn(folder, "Z"), Generation::New);
    EXPECT_EQ(WholeGenerationIn(folder, "X"), Generation::Old);
    EXPECT_EQ(WholeGenerationIn(folder, "Y"), Generation::Old);
    ASSERT_EQ(keptFolders().size(), 1u);
    EXPECT_EQ(WholeGenerationIn(keptFolders()[0], "Y"), Generation::New);
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});
}

TEST_F(ParadoxRecoveryTest, WorkThatARunningQuintabelHoldsIsLeftAlone)
{
    ParadoxReplacement replacement(folder, "X", ParadoxReplacement::Existing::Replace);
    WriteGeneration(replacement.stagingFolder(), "X", Generation::New);
    const std::vector<paradox::Field> fields = {{"Id", paradox::FieldType::Long, 0, 0}};
    paradox::TableWriter writer(folder, "W", fields);
    const paradox::Value row[] = {std::int64_t{7}};
    writer.append(row);
    const std::vector<std::string> working = WorkingEntries(folder);
    ASSERT_EQ(working.size(), 3u); // the journal, the staging folder, the writer's .DB

    EXPECT_EQ(recoverParadoxFolder(folder).size(), 0u);
    EXPECT_EQ(WorkingEntries(folder), working);

    replacement.complete();
    writer.commit();
    EXPECT_EQ(WholeGenerationIn(folder, "X"), Generation::New);
    EXPECT_EQ(recoverParadoxFolder(folder).size(), 0u);
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("W"), QStringLiteral("X"), QStringLiteral("Y")}));
}

TEST_F(ParadoxRecoveryTest, AFailedReplacementLeavesTheOldTableAndNoWorkingFiles)
{
    {
        // Abandoned after the write-out, as when its rows fail.
        ParadoxReplacement replacement(folder, "X", ParadoxReplacement::Existing::Replace);
        WriteGeneration(replacement.stagingFolder(), "X", Generation::New);
    }
    EXPECT_EQ(WholeGenerationIn(folder, "X"), Generation::Old);
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});

    {
        // A new table whose name turns out to be taken (letter case ignored): refused.
        ParadoxReplacement refused(folder, "x", ParadoxReplacement::Existing::Refuse);
        WriteGeneration(refused.stagingFolder(), "x", Generation::New);
        EXPECT_THROW(refused.complete(), std::runtime_error);
    }
    EXPECT_EQ(WholeGenerationIn(folder, "X"), Generation::Old);
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});

    {
        // Two tables whose names differ only in case: neither is replaced.
        // (written elsewhere: the table writer itself refuses a name taken in another case)
        const fs::path elsewhere = fs::path(scratch.path().toStdString()) / "elsewhere";
        fs::create_directory(elsewhere);
        WriteGeneration(elsewhere, "x", Generation::New);
        for (const char* file : {"x.DB", "x.MB"})
            fs::rename(elsewhere / file, folder / file);
        ParadoxReplacement ambiguous(folder, "X", ParadoxReplacement::Existing::Replace);
        WriteGeneration(ambiguous.stagingFolder(), "X", Generation::New);
        EXPECT_THROW(ambiguous.complete(), std::runtime_error);
        EXPECT_TRUE(fs::exists(folder / "x.DB"));
        EXPECT_TRUE(fs::exists(folder / "X.DB"));
        for (const char* file : {"x.DB", "x.MB"})
            fs::remove(folder / file);
    }
    EXPECT_EQ(WholeGenerationIn(folder, "X"), Generation::Old);
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});

    {
        // A folder in the way of one of the new files: the move stops half done, the new
        // files go back and the old table comes back whole from where it was set aside.
        ParadoxReplacement blocked(folder, "Y", ParadoxReplacement::Existing::Replace);
        WriteGeneration(blocked.stagingFolder(), "Y", Generation::New);
        std::ofstream(blocked.stagingFolder() / "Y.X02") << "secondary index";
        fs::create_directory(folder / "Y.X02");
        EXPECT_THROW(blocked.complete(), std::runtime_error);
    }
    EXPECT_EQ(WholeGenerationIn(folder, "Y"), Generation::Old);
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});
}

TEST_F(ParadoxRecoveryTest, TheListingNeverShowsWorkingFilesButStillShowsOtherHiddenTables)
{
    for (const char* name : {".quintabel-replacing-abc123/Q.DB", ".quintabel-old-abc123/R.DB",
                             "sub/.quintabel-old-xyz789/S.DB", "sub/deeper/.quintabel-replacing-q/T.DB",
                             ".quintabel-U.db", ".hidden.db", "sub/V.DB", ".dotted/V2.DB"}) {
        fs::create_directories((folder / name).parent_path());
        std::ofstream(folder / name) << "a table";
    }
    EXPECT_EQ(listed(), (QStringList{QStringLiteral(".HIDDEN"), QStringLiteral("V"), QStringLiteral("V2"),
                                     QStringLiteral("X"), QStringLiteral("Y")}));
}

TEST_F(ParadoxRecoveryTest, TheUserHearsOfEveryRepairInOneMessageBeforeADeleteGoesOn)
{
    KillReplaceAt(folder, "X", "new table file moved in", 1);
    std::ofstream(folder / ".quintabel-W-abcdefgh.db-tmp") << "half a table";
    FillTableList(list, {"X", "Y"});
    SelectTables(list, {"Y"}, QStringLiteral("Y"));

    QWidget window;
    PointerRules pointer(window);
    StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton5_Click"));
    ListBoxFrontEnd frontEnd({list, nullptr, nullptr, nullptr, &pointer, {}});
    deleteParadoxTables(guard, frontEnd, QString::fromStdString(folder.string()));

    ASSERT_EQ(installed.boxes.shown().size(), 1u);
    const QString text = installed.boxes.shown()[0].text;
    EXPECT_TRUE(text.contains(QString::fromStdString(folder.string()))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nX: the new table was complete, and has now replaced the old one.")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nW: the table had not been written completely"))) << text.toStdString();
    EXPECT_EQ(WholeGenerationIn(folder, "X"), Generation::New);
    EXPECT_FALSE(fs::exists(folder / "Y.DB"));
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});
    EXPECT_EQ(ItemTexts(list), QStringList{QStringLiteral("X")});
}

TEST(ReplacementJournalTest, KeepsAnyFileNameAndRefusesAnythingButAWholeJournal)
{
    const TableJournal journal{
        "LEFT OVER 100%", JournalStep::OldSetAside, {}, {},
        {{"LEFT OVER 100%.DB", {2049, 77, 8192, 1733712345123456789}}, {"a\nb\tc.MB", {2049, 78, 0, -5}}},
        {{"é.DB", {1, 2, 3, 4}}}};
    EXPECT_EQ(parseJournal(formatJournal(journal)), journal);

    const std::string whole = formatJournal(journal);
    const std::string cut = whole.substr(0, whole.rfind("end"));
    const std::vector<std::string> brokenJournals = {std::string(), cut, "Quintabel replacement journal 2\n" + whole.substr(32),
                                      whole + "old 1 2 3 4 late.DB\n",
                                      "Quintabel replacement journal 1\ntable X\nstep halfway\nend\n",
                                      "Quintabel replacement journal 1\ntable X\nstep new-complete\nold 1 2 x 4 X.DB\nend\n",
                                      "Quintabel replacement journal 1\ntable X%G1\nstep new-complete\nend\n",
                                      "Quintabel replacement journal 1\nstep new-complete\nend\n"};
    for (const std::string& broken : brokenJournals)
        EXPECT_THROW(parseJournal(broken), JournalError) << broken;
}

} // namespace
} // namespace quintabel::testing
