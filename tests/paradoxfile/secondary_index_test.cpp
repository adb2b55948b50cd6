// The secondary indexes of the sample tables, and index files that cannot be read.
#include "paradoxfile/secondary_index.h"
#include "paradoxfile/table_reader.h"
#include "support/table_compare.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quintabel::paradox {
namespace {

using testing::ScratchFolder;
using testing::testdataPath;

struct ExpectedIndex {
    std::string file;
    bool composite;
    std::string name;
    std::vector<std::string> fields;
};

SecondaryIndexes indexesOf(const std::filesystem::path& table)
{
    return readSecondaryIndexes(table, TableReader::open(table).header());
}

TEST(SecondaryIndexes, OfTheSampleTables)
{
    // What the samples' index files say, taken from their bytes (docs/paradox-format.md §13.3).
    const std::vector<std::pair<std::string, std::vector<ExpectedIndex>>> samples = {
        {"joins/fk1.db", {{"fk1.x02", false, "", {"FK"}}}},
        {"joins/fk4.db", {{"fk4.XG0", true, "reference", {"FK1", "FK"}}}},
        {"db/AREACODES.DB", {{"AREACODES.XG0", true, "ste", {"State"}}}},
        {"geog/County.DB", {}},
    };
    for (const auto& [table, expected] : samples) {
        const auto found = indexesOf(testdataPath("paradox/leonhad-paradoxdriver/" + table));
        EXPECT_TRUE(found.warnings.empty()) << table << ": " << ::testing::PrintToString(found.warnings);
        ASSERT_EQ(found.indexes.size(), expected.size()) << table;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const SecondaryIndex& index = found.indexes[i];
            EXPECT_EQ(index.file.filename().string(), expected[i].file);
            EXPECT_EQ(index.composite, expected[i].composite) << expected[i].file;
            EXPECT_EQ(index.name, expected[i].name) << expected[i].file;
            EXPECT_EQ(index.fieldNames, expected[i].fields) << expected[i].file;
            EXPECT_FALSE(index.descending || index.unique) << expected[i].file;
        }
    }
}

struct Damage {
    const char* what;
    std::function<void(const std::filesystem::path& folder)> apply;
    std::size_t indexesLeft;
    std::string warningNames;
};

void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string bytesOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SecondaryIndexes, AFileThatCannotBeReadIsLeftOutWithAWarning)
{
    const auto joins = testdataPath("paradox/leonhad-paradoxdriver/joins");
    const std::vector<Damage> damages = {
        {"the data file cut short",
         [](const auto& f) { writeBytes(f / "fk4.XG0", bytesOf(f / "fk4.XG0").substr(0, 300)); }, 0, "fk4.XG0"},
        {"the data file nonsense", [](const auto& f) { writeBytes(f / "fk4.XG0", std::string(4096, '\x5a')); }, 0,
         "fk4.XG0"},
        {"another table's index", [&](const auto& f) { std::filesystem::copy_file(joins / "fk1.x02", f / "fk4.X02"); },
         1, "fk4.X02"},
        {"the tree missing", [](const auto& f) { std::filesystem::remove(f / "fk4.YG0"); }, 1, "fk4.YG0"},
        {"the data file missing", [](const auto& f) { std::filesystem::remove(f / "fk4.XG0"); }, 0, "fk4.YG0"},
    };
    for (const Damage& damage : damages) {
        ScratchFolder folder;
        for (const char* name : {"fk4.db", "fk4.XG0", "fk4.YG0", "fk4.px"})
            std::filesystem::copy_file(joins / name, folder.path() / name);
        damage.apply(folder.path());
        SecondaryIndexes found;
        ASSERT_NO_THROW(found = indexesOf(folder.path() / "fk4.db")) << damage.what;
        EXPECT_EQ(found.indexes.size(), damage.indexesLeft) << damage.what;
        ASSERT_EQ(found.warnings.size(), 1u) << damage.what << ": " << ::testing::PrintToString(found.warnings);
        EXPECT_NE(found.warnings[0].find(damage.warningNames), std::string::npos) << found.warnings[0];
    }
}

} // namespace
} // namespace quintabel::paradox
