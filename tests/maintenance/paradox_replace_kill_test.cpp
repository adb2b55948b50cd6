// The replacement of a Paradox table killed (SIGKILL) at every one of its kill points, and the
// recovery killed at every one of its own: after each kill the folder must hold table X whole,
// old or new, or a journal from which the whole table can be rebuilt; after the recovery it
// must hold exactly one whole X, no working files, and list nothing extra; and the next
// replacement must work.

#include "replace_child_runner.h"
#include "replace_test_tables.h"

#include "catalogue/window/paradox_table_list.h"
#include "catalogue/window/table_name_list.h"
#include "catalogue_test_support.h"
#include "maintenance/folder_recovery.h"
#include "maintenance/paradox_replacement.h"

#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;

const std::string kTable = "X";
const std::string kBystander = "Y"; // another table of the folder, which nothing may touch

class ParadoxReplaceKillTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        prepareTableList(list);
    }

    void resetFolder()
    {
        fs::remove_all(folder);
        fs::create_directory(folder);
        WriteGeneration(folder, kTable, Generation::Old);
        WriteGeneration(folder, kBystander, Generation::Old);
    }

    fs::path workingFolder(const std::string& prefix) const
    {
        for (const std::string& name : WorkingEntries(folder))
            if (name.starts_with(prefix))
                return folder / name;
        return {};
    }

    // What the folder must show right after a kill. Answers which table the recovery must
    // leave: the new one once the journal has recorded it whole, else the old one.
    Generation checkAfterKill(const std::string& moment)
    {
        ++invariantsChecked;
        const std::optional<JournalPaths> replacement = ReplacementIn(folder);
        std::optional<TableJournal> journal;
        if (replacement)
            journal = readJournal(*replacement);
        const std::optional<Generation> inPlace = WholeGenerationIn(folder, kTable);
        if (fs::exists(folder / (kTable + ".DB"))) {
            // Whatever shows under the table's name is one family, whole: never new rows
            // with the old memos or the old index.
            EXPECT_TRUE(inPlace.has_value()) << "killed at '" << moment << "': X.DB is there but X is not whole";
        } else {
            EXPECT_TRUE(journal.has_value()) << "killed at '" << moment << "': no X and no journal";
            const bool oldWhole = WholeAcross(Generation::Old, kTable, {folder, workingFolder(".quintabel-old-")});
            const bool newWhole =
                WholeAcross(Generation::New, kTable, {folder, workingFolder(".quintabel-replacing-")});
            EXPECT_TRUE(oldWhole || newWhole) << "killed at '" << moment << "': neither table is whole anywhere";
        }
        EXPECT_EQ(WholeGenerationIn(folder, kBystander), Generation::Old) << moment;
        if (journal)
            return journal->step == JournalStep::WritingNew ? Generation::Old : Generation::New;
        return inPlace.value_or(Generation::Old);
    }

    void checkRecovered(Generation expected, const std::string& moment)
    {
        ++invariantsChecked;
        EXPECT_EQ(WholeGenerationIn(folder, kTable), expected) << "killed at '" << moment << "'";
        EXPECT_EQ(WholeGenerationIn(folder, kBystander), Generation::Old) << moment;
        EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{}) << moment;
        ListParadoxTables(list, QString::fromStdString(folder.string()));
        EXPECT_EQ(ItemTexts(list), (QStringList{QStringLiteral("X"), QStringLiteral("Y")})) << moment;
    }

    void replaceInThisProcess()
    {
        ParadoxReplacement replacement(folder, kTable, ParadoxReplacement::Existing::Replace);
        WriteGeneration(replacement.stagingFolder(), kTable, Generation::New);
        replacement.complete();
    }

    QTemporaryDir scratch;
    fs::path folder = fs::path(scratch.path().toStdString()) / "tables";
    QListWidget list;
    int invariantsChecked = 0;
};

TEST_F(ParadoxReplaceKillTest, AKillAtAnyStepOfAReplacementLeavesOneWholeTableThatRecoveryKeeps)
{
    int killed = 0;
    for (long point = 1;; ++point) {
        resetFolder();
        const ReplaceChildOutcome outcome = RunReplaceChild({"replace", folder.string(), kTable}, point);
        if (!outcome.killed) {
            ASSERT_EQ(outcome.exitCode, 0);
            checkRecovered(Generation::New, "(not killed)");
            break;
        }
        ++killed;
        const Generation expected = checkAfterKill(outcome.moment);
        const bool journalled = ReplacementIn(folder) && readJournal(*ReplacementIn(folder));
        const std::vector<RecoveryNote> notes = recoverParadoxFolder(folder);
        checkRecovered(expected, outcome.moment);
        if (journalled) {
            ASSERT_EQ(notes.size(), 1u) << outcome.moment;
            EXPECT_EQ(notes[0].what, expected == Generation::New ? RecoveryNote::What::OverwriteFinished
                                                                 : RecoveryNote::What::OverwriteUndone);
            EXPECT_EQ(notes[0].table, kTable);
        }
        // And the folder takes the next replacement as if nothing had happened.
        replaceInThisProcess();
        checkRecovered(Generation::New, outcome.moment + ", then replaced again");
    }
    EXPECT_GE(killed, 20);
    std::cout << "replacement: " << killed << " kill points, " << invariantsChecked << " invariant checks\n";
}

TEST_F(ParadoxReplaceKillTest, AKillDuringTheRecoveryIsRecoveredByTheNextOneToTheSameTable)
{
    int replaceKills = 0;
    int recoveryKills = 0;
    for (long replacePoint = 1;; ++replacePoint) {
        resetFolder();
        if (!RunReplaceChild({"replace", folder.string(), kTable}, replacePoint).killed)
            break;
        ++replaceKills;
        const Generation expected = checkAfterKill("replace point " + std::to_string(replacePoint));
        for (long recoveryPoint = 1;; ++recoveryPoint) {
            if (recoveryPoint > 1) {
                resetFolder();
                ASSERT_TRUE(RunReplaceChild({"replace", folder.string(), kTable}, replacePoint).killed);
            }
            const ReplaceChildOutcome recovery = RunReplaceChild({"recover", folder.string()}, recoveryPoint);
            const std::string where = "replace point " + std::to_string(replacePoint) + ", recovery killed at '"
                + recovery.moment + "'";
            if (!recovery.killed) {
                ASSERT_EQ(recovery.exitCode, 0);
                checkRecovered(expected, where);
                break;
            }
            ++recoveryKills;
            EXPECT_EQ(checkAfterKill(where), expected) << where;
            recoverParadoxFolder(folder);
            checkRecovered(expected, where);
        }
    }
    EXPECT_GE(recoveryKills, 20);
    std::cout << "recovery: " << recoveryKills << " kill points over " << replaceKills << " interrupted replacements, "
              << invariantsChecked << " invariant checks\n";
}

} // namespace
} // namespace quintabel::testing
