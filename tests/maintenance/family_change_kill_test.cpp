// The rename and the delete of a Paradox table killed (SIGKILL) at every one of their kill
// points, and the recovery that follows killed at every one of its own: once the recovery has
// run, a renamed table stands whole under exactly one of its names and a deleted one is whole
// or wholly gone. And two programs at work in one folder: one held between two of its steps,
// the other waits for it, and neither takes the other's working files for a killed program's.

#include "replace_child_runner.h"
#include "replace_test_tables.h"

#include "maintenance/durable_files.h"
#include "maintenance/folder_recovery.h"
#include "maintenance/paradox_replacement.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;

using What = RecoveryNote::What;

struct FamilyChange {
    const char* name;
    std::vector<std::string> arguments; // after the folder: the child's command line
    const char* renamedTo;              // the rename's new name; nullptr for a delete
};

const std::vector<FamilyChange> kChanges = {
    {"rename", {"X", "NEWX"}, "NEWX"},
    {"delete", {"X"}, nullptr},
};

class FamilyChangeKillTest : public ::testing::Test {
protected:
    void resetFolder()
    {
        fs::remove_all(folder);
        fs::create_directory(folder);
        WriteGeneration(folder, "X", Generation::Old); // .DB, .MB and .PX
        WriteGeneration(folder, "Y", Generation::Old); // a bystander nothing may touch
    }

    std::vector<std::string> childArguments(const FamilyChange& change) const
    {
        std::vector<std::string> arguments{change.name, folder.string()};
        arguments.insert(arguments.end(), change.arguments.begin(), change.arguments.end());
        return arguments;
    }

    // Where the table must stand once recovered, judged from the folder right after the kill:
    // a rename whose .DB has its new name is finished, else undone; a delete whose .DB is gone
    // is finished, else undone.
    std::string expectedName(const FamilyChange& change) const
    {
        if (change.renamedTo)
            return fs::exists(folder / (std::string(change.renamedTo) + ".DB")) ? change.renamedTo : "X";
        return fs::exists(folder / "X.DB") ? "X" : "";
    }

    void checkSettled(const FamilyChange& change, const std::string& expected, const std::string& where)
    {
        ++checks;
        for (const std::string name : {"X", "NEWX"}) {
            if (name == expected)
                EXPECT_EQ(WholeGenerationIn(folder, name), Generation::Old) << where;
            else
                EXPECT_FALSE(fs::exists(folder / (name + ".DB")) || fs::exists(folder / (name + ".MB"))
                             || fs::exists(folder / (name + ".PX")))
                    << where << ": parts of " << name << " are left";
        }
        EXPECT_EQ(WholeGenerationIn(folder, "Y"), Generation::Old) << where;
        EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{}) << change.name << ", " << where;
    }

    QTemporaryDir scratch;
    fs::path folder = fs::path(scratch.path().toStdString()) / "tables";
    int checks = 0;
};

TEST_F(FamilyChangeKillTest, AKillAtAnyStepOfARenameOrDeleteOrItsRecoveryLeavesTheFamilyWholeOrGone)
{
    for (const FamilyChange& change : kChanges) {
        int killed = 0;
        for (long point = 1;; ++point) {
            resetFolder();
            const ReplaceChildOutcome outcome = RunReplaceChild(childArguments(change), point);
            if (!outcome.killed) {
                ASSERT_EQ(outcome.exitCode, 0) << change.name;
                checkSettled(change, change.renamedTo ? change.renamedTo : "", "(not killed)");
                EXPECT_TRUE(recoverParadoxFolder(folder).empty());
                break;
            }
            ++killed;
            const std::string expected = expectedName(change);
            const std::optional<JournalPaths> working = ReplacementIn(folder);
            const bool journalled = working && readJournal(*working); // a draft alone is no journal
            // The recovery, killed at each of its own points and run again, settles the same way.
            for (long recoveryPoint = 1;; ++recoveryPoint) {
                const std::string where = std::string(change.name) + " killed at '" + outcome.moment
                    + "', recovery point " + std::to_string(recoveryPoint);
                const ReplaceChildOutcome recovery = RunReplaceChild({"recover", folder.string()}, recoveryPoint);
                if (!recovery.killed) {
                    ASSERT_EQ(recovery.exitCode, 0) << where;
                    checkSettled(change, expected, where);
                    break;
                }
                EXPECT_EQ(expectedName(change), expected) << where << ": the recovery changed its mind";
            }
            // And once more, in this process, from the same kill: one note, of the right kind.
            resetFolder();
            ASSERT_TRUE(RunReplaceChild(childArguments(change), point).killed);
            const std::vector<RecoveryNote> notes = recoverParadoxFolder(folder);
            if (journalled) {
                ASSERT_EQ(notes.size(), 1u) << outcome.moment;
                const bool finished = expected != "X";
                const What what = change.renamedTo ? (finished ? What::RenameFinished : What::RenameUndone)
                                                   : (finished ? What::DeleteFinished : What::DeleteUndone);
                EXPECT_EQ(notes[0].what, what) << change.name << " killed at '" << outcome.moment << "'";
            }
            checkSettled(change, expected, outcome.moment + ", recovered in this process");
        }
        EXPECT_GE(killed, 6) << change.name;
        std::cout << change.name << ": " << killed << " kill points\n";
    }
    std::cout << checks << " settled folders checked\n";
}

TEST_F(FamilyChangeKillTest, ASecondWriterWaitsForTheFirstHeldBetweenItsStepsAndNothingIsRecovered)
{
    int waited = 0;
    for (long point = 1;; ++point) {
        resetFolder();
        HeldChild first({"replace", folder.string(), "X"}, point);
        if (!first.running())
            break;
        const std::string where = "first held at '" + first.moment() + "'";
        // The second program: its recovery must find nothing to do, and its replacement of the
        // same table goes in once the first has finished.
        bool askedToWait = false;
        const FolderWriteLock::WhileBusy letTheFirstGoOn = [&](bool waiting) {
            if (waiting && !askedToWait) {
                askedToWait = true;
                first.resume();
            }
            return true;
        };
        EXPECT_TRUE(recoverParadoxFolder(folder, letTheFirstGoOn).empty()) << where;
        {
            ParadoxReplacement second(folder, "X", ParadoxReplacement::Existing::Replace, letTheFirstGoOn);
            WriteGeneration(second.stagingFolder(), "X", Generation::New);
            second.complete();
        }
        EXPECT_EQ(first.finish(), 0) << where;
        waited += askedToWait ? 1 : 0;
        EXPECT_EQ(WholeGenerationIn(folder, "X"), Generation::New) << where;
        EXPECT_EQ(WholeGenerationIn(folder, "Y"), Generation::Old) << where;
        EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{}) << where;
        EXPECT_TRUE(recoverParadoxFolder(folder).empty()) << where;
    }
    // The first holds the lock through most of its steps; the second waited at each of those.
    EXPECT_GE(waited, 10);
}

} // namespace
} // namespace quintabel::testing
