// The sample Paradox database: the generator that the build runs, run here into temporary
// folders, and its tables read back by our reader and by pxlib.

#include "paradoxfile/field.h"
#include "support/table_compare.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace quintabel::paradox::testing {
namespace {

namespace fs = std::filesystem;

int makeSamples(const fs::path& folder)
{
    const std::string command = std::string("'") + QUINTABEL_MAKE_SAMPLES + "' '" + folder.string() + "'";
    return std::system(command.c_str());
}

bool holdsBeyondAscii(const std::string& text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

void writeFile(const fs::path& path, const std::string& contents)
{
    std::ofstream(path, std::ios::binary) << contents;
}

TEST(SampleTablesTest, EveryCommonFieldTypeReadsBackAlikeInOurReaderAndPxlib)
{
    ScratchFolder scratch;
    const fs::path samples = scratch.path() / "Samples";
    ASSERT_EQ(makeSamples(samples), 0);

    std::set<char> types;
    bool memoBeyondRecord = false;
    bool textBeyondAscii = false;
    bool blankValue = false;
    std::vector<std::string> tables;
    for (const auto& entry : fs::directory_iterator(samples)) {
        if (entry.path().extension() != ".DB")
            continue;
        tables.push_back(entry.path().filename().string());
        const OurTable ours = readWithOurs(entry.path());
        EXPECT_EQ(ours.header.codePage, 1252);
        EXPECT_TRUE(ours.warnings.empty()) << entry.path();
        EXPECT_GE(ours.records.size(), 4u);

        const PxlibComparison comparison = compareWithPxlib(ours, readWithPxlibAndBlobs(entry.path()));
        EXPECT_TRUE(comparison.differences.empty()) << entry.path() << ": " << comparison.differences.front();
        // Every value was compared, or passed over for a named pxlib fault.
        std::size_t accounted = comparison.valuesCompared;
        for (const auto& [reason, count] : comparison.allowances)
            accounted += count;
        EXPECT_EQ(accounted, ours.records.size() * ours.header.fields.size()) << entry.path();

        for (std::size_t column = 0; column < ours.header.fields.size(); ++column) {
            const Field& field = ours.header.fields[column];
            types.insert(fieldTypeLetter(field.type));
            for (const auto& record : ours.records) {
                blankValue = blankValue || isNull(record[column]);
                if (const auto* text = std::get_if<std::string>(&record[column])) {
                    textBeyondAscii = textBeyondAscii || holdsBeyondAscii(*text);
                    if (field.type == FieldType::Memo)
                        memoBeyondRecord = memoBeyondRecord || text->size() > std::size_t(field.leaderSize());
                }
            }
        }
    }
    std::sort(tables.begin(), tables.end());
    EXPECT_EQ(tables, (std::vector<std::string>{"BEDS.DB", "HARVEST.DB", "PLANTS.DB"}));
    // Alpha, Short, Long, Number, Money, Date, Time, Timestamp, Logical, Memo.
    EXPECT_EQ(types, (std::set<char>{'A', 'S', 'I', 'N', '$', 'D', 'T', '@', 'L', 'M'}));
    EXPECT_TRUE(memoBeyondRecord);
    EXPECT_TRUE(textBeyondAscii);
    EXPECT_TRUE(blankValue);
}

TEST(SampleTablesTest, ARebuildReplacesOnlyTheSampleTablesAndLeavesNoStagingBehind)
{
    ScratchFolder scratch;
    const fs::path samples = scratch.path() / "Samples";
    fs::create_directories(samples);
    // An earlier sample table in another case with an index of its own, and a user's table.
    writeFile(samples / "plants.db", "earlier");
    writeFile(samples / "Plants.px", "earlier index");
    writeFile(samples / "MINE.DB", "the user's own");

    ASSERT_EQ(makeSamples(samples), 0);
    ASSERT_EQ(makeSamples(samples), 0); // and again over its own output

    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(samples))
        files.insert(entry.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"BEDS.DB", "BEDS.MB", "HARVEST.DB", "MINE.DB", "PLANTS.DB", "PLANTS.MB"}));
    std::ifstream mine(samples / "MINE.DB", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(mine), {}), "the user's own");
    EXPECT_EQ(readWithOurs(samples / "PLANTS.DB").records.size(), 8u);

    std::size_t besideSamples = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(scratch.path()))
        ++besideSamples;
    EXPECT_EQ(besideSamples, 1u);
}

} // namespace
} // namespace quintabel::paradox::testing
