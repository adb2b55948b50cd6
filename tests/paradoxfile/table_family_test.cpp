// A table's family of files: the .DB resolved without regard to case, and its companions.
#include "paradoxfile/errors.h"
#include "paradoxfile/table_family.h"
#include "support/table_compare.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quintabel::paradox {
namespace {

using testing::ScratchFolder;

void touch(const std::filesystem::path& path)
{
    std::ofstream(path) << "x";
}

std::vector<std::string> names(const std::vector<std::filesystem::path>& paths)
{
    std::vector<std::string> result;
    for (const auto& path : paths)
        result.push_back(path.filename().string());
    return result;
}

TEST(TableFamily, ResolvesTheTableAndListsItsCompanions)
{
    ScratchFolder folder;
    for (const char* name : {"Orders.db", "ORDERS.MB", "orders.px", "orders.X02", "orders.y02", "ORDERS.XG0",
                             "orders.YG0", "orders.val", "Orders.TV", "orders.tvf", "ORDERS.FAM", "orders.set",
                             "ordersx.db", "orders.txt", "orders.lck", "PARADOX.LCK", "orders.db.bak", "orders.XZ1",
                             "customers.db", "customers.px"})
        touch(folder.path() / name);
    std::filesystem::create_directory(folder.path() / "orders.mb.d");

    for (const char* asked : {"ORDERS", "orders", "Orders", "oRdErS"})
        EXPECT_EQ(resolveTable(folder.path(), asked).filename(), "Orders.db") << asked;

    const auto family = findTableFamily(folder.path(), "ORDERS");
    EXPECT_EQ(family.table.filename(), "Orders.db");
    EXPECT_EQ(names(family.companions),
              (std::vector<std::string>{"ORDERS.FAM", "ORDERS.MB", "ORDERS.XG0", "Orders.TV", "orders.X02", "orders.YG0",
                                        "orders.px", "orders.set", "orders.tvf", "orders.val", "orders.y02"}));
    EXPECT_EQ(findBlobFile(family.table)->filename(), "ORDERS.MB");
    EXPECT_EQ(names(findTableFamily(folder.path(), "customers").companions), std::vector<std::string>{"customers.px"});
}

TEST(TableFamily, CompanionExtensions)
{
    for (const char* extension : {"MB", "mb", "PX", "VAL", "TV", "TVF", "FAM", "SET", "X01", "x0a", "XFF", "Y02", "XG0",
                                  "ygf", "XG9"})
        EXPECT_TRUE(isCompanionExtension(extension)) << extension;
    for (const char* extension : {"DB", "LCK", "X", "X1", "X0G", "XGG", "Z01", "TXT", "", "XG10", "MB1"})
        EXPECT_FALSE(isCompanionExtension(extension)) << extension;
}

TEST(TableFamily, AMissingTableIsNamed)
{
    ScratchFolder folder;
    touch(folder.path() / "orders.px");
    try {
        resolveTable(folder.path(), "ORDERS");
        FAIL();
    } catch (const TableNotFoundError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Paradox table 'ORDERS' was not found in folder '" + folder.path().string() + "'.");
    }
}

TEST(TableFamily, TablesThatDifferOnlyInCaseAreNotGuessed)
{
    ScratchFolder folder;
    touch(folder.path() / "orders.db");
    touch(folder.path() / "ORDERS.DB");
    EXPECT_THROW(resolveTable(folder.path(), "Orders"), AmbiguousTableError);
}

TEST(TableFamily, TheBlobFileSpeltLikeTheTableWins)
{
    ScratchFolder folder;
    touch(folder.path() / "memo.db");
    touch(folder.path() / "memo.mb");
    touch(folder.path() / "MEMO.MB");
    EXPECT_EQ(findBlobFile(folder.path() / "memo.db")->filename(), "memo.mb");
    touch(folder.path() / "Tab.db");
    touch(folder.path() / "tab.mb");
    touch(folder.path() / "TAB.MB");
    EXPECT_THROW(findBlobFile(folder.path() / "Tab.db"), AmbiguousTableError);
    EXPECT_FALSE(findBlobFile(folder.path() / "nothing.db"));
}

TEST(TableFamily, AMissingFolderIsAnIoError)
{
    EXPECT_THROW(resolveTable("/nonexistent/quintabel", "T"), IoError);
}

TEST(TableFamily, TheReaderFindsTheBlobFileInAnyCase)
{
    ScratchFolder folder;
    const auto source = testing::testdataPath("paradox/leonhad-paradoxdriver/fields");
    std::filesystem::copy_file(source / "memo.db", folder.path() / "MEMO.DB");
    std::filesystem::copy_file(source / "memo.mb", folder.path() / "Memo.Mb");
    const auto table = testing::readWithOurs(folder.path() / "MEMO.DB");
    EXPECT_EQ(table.records.size(), 2u);
    EXPECT_EQ(std::get<std::string>(table.records[1][1]), "01234567890\n");
}

} // namespace
} // namespace quintabel::paradox
