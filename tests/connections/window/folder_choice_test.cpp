// The connection window's "..." and "Load Sample/Example Database" buttons, with a folder
// dialog that answers from a script: no test opens a real dialog.

#include "catalogue_test_support.h"
#include "connections/window/folder_browser.h"
#include "connections/window/sample_folder.h"
#include "shell/form1.h"
#include "base/settings_store.h"
#include "shell/support/scripted_message_boxes.h"
#include "shell/support/temporary_settings.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <optional>

namespace quintabel::testing {
namespace {

using namespace settings_keys;

struct DialogCall {
    QWidget* owner = nullptr;
    QString prompt;
    QString startFolder;
};

class FolderChoiceTest : public ::testing::Test {
protected:
    FolderChoiceTest()
    {
        attachFolderChoice(window, QStringLiteral("/opt/quintabel"), [this](QWidget* owner, const QString& prompt,
                                                                            const QString& startFolder) {
            calls.push_back({owner, prompt, startFolder});
            return answer;
        });
        window.Text1->setText(QStringLiteral("/data/before"));
    }

    QString storedFolder() const { return readSetting(QLatin1String(kParadoxFolder), QStringLiteral("(none)")); }

    TemporarySettings settings;
    ScriptedBoxesInstalled installed;
    int programEnds = 0;
    Form1 window{QuietConnectionWindow(QString(), programEnds)};
    std::vector<DialogCall> calls;
    QString answer; // what the dialog returns: empty for Cancel
};

TEST_F(FolderChoiceTest, BrowseOpensAtTheStoredStartFolderAndFillsTheFieldWithTheChoice)
{
    writeSetting(QLatin1String(kLastFolderDot), QStringLiteral("/srv/tables"));
    answer = QStringLiteral("/srv/tables/2024");

    window.PushButton5->click();

    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].owner, &window);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("Please select folder:"));
    EXPECT_EQ(calls[0].startFolder, QStringLiteral("/srv/tables"));
    EXPECT_EQ(window.Text1->text(), QStringLiteral("/srv/tables/2024"));
    EXPECT_EQ(storedFolder(), QStringLiteral("/srv/tables/2024"));
    // Choosing a folder does not move the start folder.
    EXPECT_EQ(readSetting(QLatin1String(kLastFolderDot), QString()), QStringLiteral("/srv/tables"));
}

TEST_F(FolderChoiceTest, ACancelChangesNothingAndTheFirstBrowseStartsNowhere)
{
    window.PushButton5->click();

    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].startFolder.isEmpty());
    EXPECT_EQ(window.Text1->text(), QStringLiteral("/data/before"));
    EXPECT_EQ(storedFolder(), QStringLiteral("/data/before"));
    EXPECT_TRUE(installed.boxes.shown().empty());
}

TEST_F(FolderChoiceTest, LoadSampleSetsTheSampleFolderBesideTheProgramEvenWhenItIsMissing)
{
    window.PushButton4->click();

    EXPECT_EQ(window.Text1->text(), QStringLiteral("/opt/quintabel/Samples"));
    EXPECT_EQ(storedFolder(), QStringLiteral("/opt/quintabel/Samples"));
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(installed.boxes.shown().empty());
}

TEST(FolderDialogTest, OffersFoldersOnlyUnderThePromptAtTheStartFolder)
{
    QFileDialog dialog;
    prepareFolderDialog(dialog, QStringLiteral("Please select folder:"), QStringLiteral("/tmp"));

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Please select folder:"));
    EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
    EXPECT_TRUE(dialog.testOption(QFileDialog::ShowDirsOnly));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.directory().absolutePath(), QStringLiteral("/tmp"));
}

} // namespace
} // namespace quintabel::testing
