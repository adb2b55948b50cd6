// The recovery where the program first looks at the Paradox folder: at start-up, before the
// check that the folder holds tables. A kill that left the folder's only table set aside must
// not keep the program from opening its tables window.

#include "replace_child_runner.h"
#include "replace_test_tables.h"

#include "catalogue/window/table_name_list.h"
#include "catalogue/window/tables_window_opening.h"
#include "catalogue_test_support.h"
#include "mariadb_test_database.h"
#include "base/settings_store.h"
#include "shell/support/scripted_message_boxes.h"
#include "shell/support/temporary_settings.h"

#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;
using namespace settings_keys;

TEST(RecoveryAtStartTest, AStartAfterAKillWithTheOnlyTableSetAsideFinishesItAndOpensTheTablesWindow)
{
    ScriptedBoxesInstalled installed;
    TemporarySettings settings;
    QTemporaryDir programFolder;
    QTemporaryDir paradoxFolder;
    MariaDbTestDatabase database;
    const fs::path folder = paradoxFolder.path().toStdString();
    WriteGeneration(folder, "X", Generation::Old);
    KillReplaceAt(folder, "X", "old table file set aside", 1);
    ASSERT_FALSE(fs::exists(folder / "X.DB")); // the folder holds no table now

    const ConnectionFields login = SandboxFields(database.name(), paradoxFolder.path());
    const std::pair<const char*, QString> values[] = {
        {kParadoxFolder, login.paradoxFolder}, {kServer, login.server},     {kPort, login.port},
        {kUser, login.user},                   {kPassword, login.password}, {kDatabase, login.database}};
    for (const auto& [key, value] : values)
        writeSetting(QLatin1String(key), value);
    int programEnds = 0;
    Form1 form1{QuietConnectionWindow(programFolder.path(), programEnds)};
    Form2& form2 = attachTablesWindow(form1, QuietTablesWindow(programFolder.path(), programEnds));
    form1.loadAndShow();

    EXPECT_TRUE(form2.isVisible());
    EXPECT_EQ(ItemTexts(*form2.List2), QStringList{QStringLiteral("X")});
    EXPECT_EQ(WholeGenerationIn(folder, "X"), Generation::New);
    EXPECT_EQ(WorkingEntries(folder), std::vector<std::string>{});
    ASSERT_EQ(installed.boxes.shown().size(), 1u);
    EXPECT_TRUE(installed.boxes.shown()[0].text.contains(QStringLiteral("X: the new table was complete")));
}

} // namespace
} // namespace quintabel::testing
