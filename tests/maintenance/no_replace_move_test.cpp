// The file move below the Paradox rename, which never replaces a file.

#include "base/no_replace_move.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quintabel {
namespace {

namespace fs = std::filesystem;

std::string contentsOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(NoReplaceMoveTest, MovesToAFreeNameAndRefusesATakenOneLeavingBothFiles)
{
    QTemporaryDir folder;
    const fs::path root = folder.path().toStdString();
    std::ofstream(root / "a.db") << "table a";
    std::ofstream(root / "b.db") << "table b";

    EXPECT_THROW(moveFileWithoutReplacing(root / "a.db", root / "b.db"), std::runtime_error);
    EXPECT_EQ(contentsOf(root / "a.db"), "table a");
    EXPECT_EQ(contentsOf(root / "b.db"), "table b");

    moveFileWithoutReplacing(root / "a.db", root / "c.db");
    EXPECT_FALSE(fs::exists(root / "a.db"));
    EXPECT_EQ(contentsOf(root / "c.db"), "table a");

    EXPECT_THROW(moveFileWithoutReplacing(root / "missing.db", root / "d.db"), std::runtime_error);
}

} // namespace
} // namespace quintabel
