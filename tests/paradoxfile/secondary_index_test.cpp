// The secondary indexes of the sample tables, and index files that cannot be read.
#include "paradoxfile/secondary_index.h"
#include "paradoxfile/table_reader.h"
#include "support/table_compare.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace quintabel::paradox {
namespace {

namespace fs = std::filesystem;
using testing::testdataPath;

SecondaryIndexes indexesOf(const fs::path& table)
{
    return readSecondaryIndexes(table, TableReader::open(table).header());
}

TEST(SecondaryIndexes, OfTheSampleTables)
{
    // What the samples' index files hold, read off their bytes (docs/paradox-format.md §13.3):
    // the table, then per index its file, name and fields.
    using Index = std::tuple<std::string, std::string, std::vector<std::string>>;
    const std::vector<std::pair<std::string, std::vector<Index>>> samples = {
        {"joins/fk1.db", {{"fk1.x02", "", {"FK"}}}},
        {"joins/fk4.db", {{"fk4.XG0", "reference", {"FK1", "FK"}}}},
        {"db/AREACODES.DB", {{"AREACODES.XG0", "ste", {"State"}}}},
        {"geog/County.DB", {}},
    };
    for (const auto& [table, expected] : samples) {
        const auto found = indexesOf(testdataPath("paradox/leonhad-paradoxdriver/" + table));
        EXPECT_TRUE(found.warnings.empty()) << table << ": " << ::testing::PrintToString(found.warnings);
        ASSERT_EQ(found.indexes.size(), expected.size()) << table;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const SecondaryIndex& index = found.indexes[i];
            const auto& [file, name, fields] = expected[i];
            EXPECT_EQ(index.file.filename().string(), file);
            EXPECT_EQ(index.composite, file.find('G') != std::string::npos) << file;
            EXPECT_EQ(index.name, name) << file;
            EXPECT_EQ(index.fieldNames, fields) << file;
            EXPECT_FALSE(index.descending || index.unique) << file;
        }
    }
}

TEST(SecondaryIndexes, AFileThatCannotBeReadIsLeftOutWithAWarning)
{
    const auto joins = testdataPath("paradox/leonhad-paradoxdriver/joins");
    const auto cut = [](const fs::path& file) {
        std::string bytes(300, '\0');
        std::ifstream(file, std::ios::binary).read(bytes.data(), 300);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    };
    // What is done to a copy of fk4's family; how many indexes are left; the file warned of.
    const std::vector<std::tuple<const char*, std::function<void(const fs::path&)>, std::size_t, std::string>> damages = {
        {"the data file cut short", [&](const fs::path& f) { cut(f / "fk4.XG0"); }, 0, "fk4.XG0"},
        {"the data file nonsense",
         [](const fs::path& f) { std::ofstream(f / "fk4.XG0", std::ios::trunc) << std::string(4096, 'Z'); }, 0,
         "fk4.XG0"},
        {"another table's index", [&](const fs::path& f) { fs::copy_file(joins / "fk1.x02", f / "fk4.X02"); }, 1,
         "fk4.X02"},
        {"the tree missing", [](const fs::path& f) { fs::remove(f / "fk4.YG0"); }, 1, "fk4.YG0"},
        {"the data file missing", [](const fs::path& f) { fs::remove(f / "fk4.XG0"); }, 0, "fk4.YG0"},
    };
    for (const auto& [what, damage, indexesLeft, warned] : damages) {
        testing::ScratchFolder folder;
        for (const char* name : {"fk4.db", "fk4.XG0", "fk4.YG0", "fk4.px"})
            fs::copy_file(joins / name, folder.path() / name);
        damage(folder.path());
        SecondaryIndexes found;
        ASSERT_NO_THROW(found = indexesOf(folder.path() / "fk4.db")) << what;
        EXPECT_EQ(found.indexes.size(), indexesLeft) << what;
        ASSERT_EQ(found.warnings.size(), 1u) << what << ": " << ::testing::PrintToString(found.warnings);
        EXPECT_NE(found.warnings[0].find(warned), std::string::npos) << found.warnings[0];
    }
}

} // namespace
} // namespace quintabel::paradox
