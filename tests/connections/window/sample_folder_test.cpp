// Where "Load Sample/Example Database" points: at the samples beside a program in its build
// folder, and at the user's own copy of them for an installed program, whose samples are
// read-only.

#include "base/expected_problem.h"
#include "catalogue_test_support.h"
#include "connections/window/folder_browser.h"
#include "connections/window/sample_folder.h"
#include "shell/form1.h"
#include "shell/support/scripted_message_boxes.h"
#include "shell/support/temporary_settings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;

fs::path pathOf(const QString& text)
{
    return fs::path(text.toStdString());
}

std::string contentOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An installed program: prefix/bin for the program, and the samples read-only in
// prefix/share/quintabel/Samples, as `cmake --install` and the package lay them out.
class InstalledSamplesTest : public ::testing::Test {
protected:
    InstalledSamplesTest()
    {
        fs::create_directories(bin());
        fs::create_directories(installedSamples());
        std::ofstream(installedSamples() / "PLANTS.DB") << "plants table";
        std::ofstream(installedSamples() / "PLANTS.MB") << "plants memos";
        std::ofstream(installedSamples() / "HARVEST.DB") << "harvest table";
        for (const auto& entry : fs::directory_iterator(installedSamples()))
            fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        fs::permissions(installedSamples(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                                fs::perms::others_exec);
    }
    ~InstalledSamplesTest() override
    {
        fs::permissions(installedSamples(), fs::perms::owner_all);
    }

    fs::path prefix() const { return pathOf(prefixFolder.path()); }
    fs::path bin() const { return prefix() / "bin"; }
    fs::path installedSamples() const { return prefix() / "share" / "quintabel" / "Samples"; }
    QString programFolder() const { return QString::fromStdString(bin().string()); }
    QString userData() const { return dataFolder.path(); }
    fs::path userCopy() const { return pathOf(dataFolder.path()) / "Quintabel" / "Samples"; }

    QTemporaryDir prefixFolder;
    QTemporaryDir dataFolder;
};

TEST_F(InstalledSamplesTest, AreCopiedIntoTheUsersDataFolderWhichTheFieldThenShows)
{
    const QString shown = usableSampleFolder(programFolder(), userData());

    EXPECT_EQ(pathOf(shown), userCopy());
    for (const char* name : {"PLANTS.DB", "PLANTS.MB", "HARVEST.DB"}) {
        const fs::path copy = userCopy() / name;
        ASSERT_TRUE(fs::is_regular_file(copy)) << name;
        EXPECT_EQ(contentOf(copy), contentOf(installedSamples() / name)) << name;
        // A transfer into the sample folder replaces these files: the user may write them.
        EXPECT_NE(fs::status(copy).permissions() & fs::perms::owner_write, fs::perms::none) << name;
    }
    EXPECT_NE(fs::status(userCopy()).permissions() & fs::perms::owner_write, fs::perms::none);
    // Only the finished copy is there, no folder that it was made in.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(userCopy().parent_path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(InstalledSamplesTest, AreCopiedOnlyOnceSoThatTheUsersChangesStay)
{
    usableSampleFolder(programFolder(), userData());
    fs::remove(userCopy() / "HARVEST.DB");
    std::ofstream(userCopy() / "PLANTS.DB") << "the user's own rows";

    EXPECT_EQ(pathOf(usableSampleFolder(programFolder(), userData())), userCopy());
    EXPECT_FALSE(fs::exists(userCopy() / "HARVEST.DB"));
    EXPECT_EQ(contentOf(userCopy() / "PLANTS.DB"), "the user's own rows");
}

TEST_F(InstalledSamplesTest, ACopyThatCannotBeMadeIsAPlainProblemNamingTheFolderAndLeavesNothing)
{
    // A file where the user's "Quintabel" folder would go.
    std::ofstream(pathOf(userData()) / "Quintabel") << "in the way";
    try {
        usableSampleFolder(programFolder(), userData());
        FAIL() << "the samples were copied under a file";
    } catch (const std::runtime_error& error) {
        EXPECT_TRUE(isExpectedProblem(error));
        EXPECT_NE(std::string(error.what()).find(userCopy().string()), std::string::npos) << error.what();
    }
    EXPECT_FALSE(fs::is_directory(userCopy()));
}

TEST_F(InstalledSamplesTest, TheButtonPutsTheCopyInTheFieldAndStoresIt)
{
    TemporarySettings settings;
    ScriptedBoxesInstalled installed;
    qputenv("XDG_DATA_HOME", dataFolder.path().toLocal8Bit());
    int programEnds = 0;
    Form1 window{QuietConnectionWindow(QString(), programEnds)};
    attachFolderChoice(window, programFolder(), [](QWidget*, const QString&, const QString&) { return QString(); });

    window.PushButton4->click();
    qunsetenv("XDG_DATA_HOME");

    EXPECT_EQ(pathOf(window.Text1->text()), userCopy());
    EXPECT_TRUE(fs::exists(userCopy() / "PLANTS.MB"));
    EXPECT_TRUE(installed.boxes.shown().empty());
}

TEST(SamplesBesideTheProgram, AreUsedWhereTheyAreWhenTheProgramMayWriteThem)
{
    QTemporaryDir program;
    QTemporaryDir data;
    const fs::path samples = pathOf(program.path()) / "Samples";
    fs::create_directories(samples);
    std::ofstream(samples / "BEDS.DB") << "beds";

    EXPECT_EQ(pathOf(usableSampleFolder(program.path(), data.path())), samples);
    EXPECT_FALSE(fs::exists(pathOf(data.path()) / "Quintabel"));
}

} // namespace
} // namespace quintabel::testing
