// Every real table in the test data (tests/data), read by our reader and checked against pxlib's
// reading of the same file, and the tables with blobs checked against values stated here.
#include "paradoxfile/calendar.h"
#include "paradoxfile/code_page.h"
#include "paradoxfile/byte_io.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_reader.h"
#include "support/table_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace quintabel::paradox {
namespace {

using testing::compareWithPxlib;
using testing::readWithOurs;
using testing::readWithPxlibAndBlobs;
using testing::testdataPath;
using testing::testdataTables;

std::string relativeName(const std::filesystem::path& path)
{
    return std::filesystem::relative(path, testdataPath("paradox")).string();
}

class EveryTestTable : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(EveryTestTable, ReadsAndAgreesWithPxlib)
{
    const auto& path = GetParam();
    const auto ours = readWithOurs(path);
    // The header's count agrees with the blocks in every sample, so no warning about it.
    EXPECT_EQ(ours.records.size(), ours.header.recordCount);

    const auto pxlib = readWithPxlibAndBlobs(path);
    const auto comparison = compareWithPxlib(ours, pxlib);
    for (const auto& difference : comparison.differences)
        ADD_FAILURE() << relativeName(path) << ": " << difference;
    EXPECT_EQ(comparison.valuesCompared + [&] {
        std::size_t allowed = 0;
        for (const auto& [reason, count] : comparison.allowances)
            allowed += count;
        return allowed;
    }(), ours.records.size() * ours.header.fields.size());
    for (const auto& [reason, count] : comparison.allowances)
        RecordProperty(reason, static_cast<int>(count));
    // Where the table has blobs, pxlib read them too (from a copy of the .MB, see
    // readWithPxlibAndBlobs), and they were compared.
    std::size_t ourBlobs = 0;
    for (const auto& record : ours.records)
        for (std::size_t i = 0; i < record.size(); ++i)
            ourBlobs += isBlobType(ours.header.fields[i].type) && !isNull(record[i]) ? 1 : 0;
    EXPECT_EQ(comparison.blobValuesCompared, ourBlobs);
}

std::string testNameOf(const ::testing::TestParamInfo<std::filesystem::path>& table)
{
    return testing::testdataTestName(table.param);
}

INSTANTIATE_TEST_SUITE_P(TestData, EveryTestTable, ::testing::ValuesIn(testdataTables()), testNameOf);

TEST(TestDataTables, AllThirtyTwoAreThere)
{
    EXPECT_EQ(testdataTables().size(), 32u) << "the genuine Paradox tables belong in " << testdataPath("paradox");
}

TEST(TestDataTables, TheProtectedTableIsKnownAsSuchAndReadWhole)
{
    // Its values are held against pxlib's with every other table (EveryTestTable).
    const auto table = readWithOurs(testdataPath("paradox/leonhad-paradoxdriver/encrypt/encrypted.db"));
    EXPECT_TRUE(table.header.encrypted);
    EXPECT_NE(table.header.encryptionKey, 0u);
    EXPECT_EQ(table.records.size(), table.header.recordCount);
    EXPECT_TRUE(table.warnings.empty());
}

TEST(TestDataTables, VersionsFromThreeToSeven)
{
    std::set<std::string> versions;
    for (const auto& path : testdataTables()) {
        FileSource source(path);
        versions.insert(fileVersionText(parseTableHeader(source).fileVersion));
    }
    EXPECT_EQ(versions, (std::set<std::string>{"3.0", "3.5", "4.x", "5.x", "7.x"}));
}

TEST(TestDataValues, MemoLongerThanItsLeaderComesOutWhole)
{
    const auto table = readWithOurs(testdataPath("paradox/leonhad-paradoxdriver/fields/memo.db"));
    ASSERT_EQ(table.records.size(), 2u);
    const std::string line = "01234567890012345678900123456789001234567890012345678900123456789001234567890012345678900123456789001234567890\n";
    std::string expected;
    for (int i = 0; i < 5; ++i)
        expected += line;
    EXPECT_EQ(std::get<std::string>(table.records[0][1]), expected);
    EXPECT_EQ(std::get<std::string>(table.records[1][1]), "01234567890\n");
    EXPECT_EQ(std::get<std::int64_t>(table.records[0][0]), 1);
}

TEST(TestDataValues, FormattedMemosComeOutWholeAsTheirBytes)
{
    const auto path = testdataPath("paradox/leonhad-paradoxdriver/fields/fmemo.db");
    const auto table = readWithOurs(path);
    ASSERT_EQ(table.records.size(), 2u);
    // 169 and 726 bytes as stored, not re-coded from code page 850.
    const auto& first = std::get<Blob>(table.records[0][1]);
    const auto& second = std::get<Blob>(table.records[1][1]);
    EXPECT_EQ(first.size(), 169u);
    EXPECT_EQ(second.size(), 726u);
    EXPECT_NE(std::string(second.begin(), second.end()).find("0123456789001234567890"), std::string::npos);
    // Whatever code page the table is read in, the bytes stay the same.
    for (const int codePage : {936, 1251}) {
        ReaderOptions options;
        options.codePage = codePage;
        const auto again = readWithOurs(path, options);
        EXPECT_EQ(std::get<Blob>(again.records[0][1]), first) << codePage;
        EXPECT_EQ(std::get<Blob>(again.records[1][1]), second) << codePage;
    }
}

TEST(TestDataValues, GraphicsAreTheirBitmapsWithoutParadoxPrefix)
{
    const auto table = readWithOurs(testdataPath("paradox/leonhad-paradoxdriver/fields/graphic.db"));
    ASSERT_EQ(table.records.size(), 3u);
    for (const auto& record : table.records) {
        const auto& image = std::get<Blob>(record[1]);
        ASSERT_GE(image.size(), 6u);
        EXPECT_EQ(image[0], 'B');
        EXPECT_EQ(image[1], 'M');
        // A BMP file states its own length at offset 2.
        const std::uint32_t stated = image[2] | (image[3] << 8) | (image[4] << 16) | (static_cast<std::uint32_t>(image[5]) << 24);
        EXPECT_EQ(stated, image.size());
    }
    EXPECT_EQ(std::get<Blob>(table.records[0][1]).size(), 20078u);
    EXPECT_EQ(std::get<Blob>(table.records[2][1]).size(), 2074678u); // a type-2 block of many 4 KB units
    EXPECT_TRUE(table.warnings.empty());
}

TEST(TestDataValues, TypSammlungHoldsFourteenTypes)
{
    const auto table = readWithOurs(testdataPath("paradox/rparadox/TypSammlung.DB"));
    const auto& fields = table.header.fields;
    ASSERT_EQ(fields.size(), 14u);
    EXPECT_EQ(fields[2].name, "Währung");
    EXPECT_EQ(fields[11].name, "Zähler");
    EXPECT_EQ(fields[12].name, "Binär");
    EXPECT_EQ(fields[8].name, "Datum/Zeit");
    ASSERT_EQ(table.records.size(), 5u);
    const auto& first = table.records[0];
    EXPECT_EQ(std::get<std::string>(first[0]), "AAA Irgendein Text");
    EXPECT_EQ(std::get<double>(first[1]), 40.0);
    EXPECT_EQ(std::get<std::int64_t>(first[3]), 40);
    EXPECT_EQ(std::get<Decimal>(first[5]).digits, "40.000000");
    EXPECT_EQ(std::get<Date>(first[6]), (Date{1970, 1, 1}));
    EXPECT_EQ(std::get<Time>(first[7]), (Time{0, 0, 0, 0})); // midnight is a value, not blank
    EXPECT_EQ(std::get<Timestamp>(first[8]), (Timestamp{{1970, 1, 1}, {11, 0, 0, 0}}));
    // The second record's BCD has the blank bit clear: blank, not the garbage pxlib prints.
    EXPECT_TRUE(isNull(table.records[1][5]));
    const auto& fifth = table.records[2];
    EXPECT_EQ(std::get<std::string>(fifth[0]), "Fünfter Datensatz");
    EXPECT_EQ(std::get<std::string>(fifth[9]), "Dies ist eine Memo im 'Fünften Datensat'");
    EXPECT_EQ(std::get<Decimal>(fifth[5]).digits, "13.123457");
    EXPECT_EQ(std::get<Date>(fifth[6]), (Date{-1, 12, 31})); // day -366: 2 BC
    EXPECT_EQ(std::get<Decimal>(table.records[4][5]).digits, "-40.000000");
    EXPECT_EQ(std::get<bool>(table.records[4][10]), true);
    EXPECT_EQ(std::get<bool>(table.records[1][10]), false);
}

TEST(TestDataValues, NorwegianMemosInCodePage865)
{
    const auto table = readWithOurs(testdataPath("paradox/python-pxlib/KOMMENT.DB"));
    ASSERT_EQ(table.records.size(), 59u);
    EXPECT_EQ(std::get<std::string>(table.records[0][3]),
              "Statistikken inkluderer både DNBs og NBUFs misjonsengasjement. NBUF er ungdomsforbundet til baptistene i Norge.");
    std::size_t memos = 0;
    for (const auto& record : table.records)
        memos += std::holds_alternative<std::string>(record[3]) ? 1 : 0;
    EXPECT_EQ(memos, 59u);
}

TEST(TestDataValues, EmptyTableWithBlobFields)
{
    const auto table = readWithOurs(testdataPath("paradox/rparadox/empty.db"));
    EXPECT_TRUE(table.records.empty());
    EXPECT_TRUE(table.warnings.empty());
    EXPECT_EQ(table.header.fields.size(), 7u);
}

TEST(TestDataValues, AccentedTextInCodePage1252)
{
    const auto table = readWithOurs(testdataPath("paradox/leonhad-paradoxdriver/db/AREACODES.DB"));
    bool sanJose = false;
    bool montreal = false;
    for (const auto& record : table.records) {
        if (const auto* cities = std::get_if<std::string>(&record[2])) {
            sanJose = sanJose || cities->find("San José") != std::string::npos;
            montreal = montreal || cities->find("Montréal") != std::string::npos;
        }
    }
    EXPECT_TRUE(sanJose);
    EXPECT_TRUE(montreal);
}

TEST(TestDataValues, BcdWithThirtyTwoDecimals)
{
    const auto table = readWithOurs(testdataPath("paradox/leonhad-paradoxdriver/fields/bcd.db"));
    ASSERT_EQ(table.records.size(), 3u);
    EXPECT_EQ(std::get<Decimal>(table.records[0][0]).digits, "1.23");
    EXPECT_EQ(std::get<Decimal>(table.records[0][1]).digits, "1");
    EXPECT_EQ(std::get<Decimal>(table.records[1][0]).digits, "-1.23");
    EXPECT_EQ(std::get<Decimal>(table.records[1][1]).digits, "-1");
    EXPECT_EQ(std::get<Decimal>(table.records[2][0]).digits, "0.00");
    EXPECT_TRUE(isNull(table.records[2][1]));
    // Column C holds digit nibbles above 9 past the 18th decimal: read positionally, and said.
    const std::string c0 = std::get<Decimal>(table.records[0][2]).digits;
    EXPECT_EQ(c0.substr(0, 20), "0.122999999999999998");
    EXPECT_EQ(c0.size(), 34u);
    EXPECT_EQ(std::get<Decimal>(table.records[1][2]).digits, "-" + c0);
    EXPECT_EQ(std::get<Decimal>(table.records[2][2]).digits.substr(0, 6), "0.9999");
    ASSERT_EQ(table.warnings.size(), 1u);
    EXPECT_NE(table.warnings[0].find("'C'"), std::string::npos);
}

TEST(TestDataValues, ThreeXAsciiTablesAreReadInTheDosDefaultAsAGuess)
{
    const auto table = readWithOurs(testdataPath("paradox/leonhad-paradoxdriver/areas/STATES.DB"));
    EXPECT_EQ(table.header.codePage, 0);
    EXPECT_EQ(table.header.textCodePage, 437);
    EXPECT_EQ(table.header.codePageOrigin, CodePageOrigin::Guessed);
    EXPECT_EQ(table.header.fields[2].name, "Zip From");
    EXPECT_EQ(table.records.size(), 53u);
}

TEST(TestDataValues, TrailingBlanksOfOldAlphaValuesAreKept)
{
    const auto table = readWithOurs(testdataPath("paradox/leonhad-paradoxdriver/areas/AREACODE.DB"));
    EXPECT_EQ(std::get<std::string>(table.records[0][2]), "Egypt               ");
}

TEST(TestDataValues, CountRecordsWalksTheChain)
{
    auto reader = TableReader::open(testdataPath("paradox/leonhad-paradoxdriver/geog/County.DB"));
    EXPECT_EQ(reader.countRecords(), 3218u);
    std::vector<Value> record;
    std::uint64_t read = 0;
    while (reader.next(record))
        ++read;
    EXPECT_EQ(read, 3218u);
    EXPECT_EQ(reader.recordsRead(), 3218u);
    EXPECT_FALSE(reader.next(record));
}

} // namespace
} // namespace quintabel::paradox
