// The pieces below the handlers: MySQL name quoting and the file move that never replaces.

#include "maintenance/mysql_table_statements.h"
#include "maintenance/no_replace_move.h"
#include "shell/support/qstring_printer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quintabel {
namespace {

namespace fs = std::filesystem;

TEST(MySqlTableStatementsTest, NamesAreQuotedWithInnerBackticksDoubled)
{
    EXPECT_EQ(DropTableStatement(QStringLiteral("Orders")), QStringLiteral("DROP TABLE `Orders`"));
    EXPECT_EQ(DropTableStatement(QStringLiteral("a`, `b")), QStringLiteral("DROP TABLE `a``, ``b`"));
    EXPECT_EQ(RenameTableStatement(QStringLiteral("`"), QStringLiteral("Året 2024")),
              QStringLiteral("RENAME TABLE ```` TO `Året 2024`"));
}

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

    EXPECT_THROW(MoveFileWithoutReplacing(root / "a.db", root / "b.db"), std::runtime_error);
    EXPECT_EQ(contentsOf(root / "a.db"), "table a");
    EXPECT_EQ(contentsOf(root / "b.db"), "table b");

    MoveFileWithoutReplacing(root / "a.db", root / "c.db");
    EXPECT_FALSE(fs::exists(root / "a.db"));
    EXPECT_EQ(contentsOf(root / "c.db"), "table a");

    EXPECT_THROW(MoveFileWithoutReplacing(root / "missing.db", root / "d.db"), std::runtime_error);
}

} // namespace
} // namespace quintabel
