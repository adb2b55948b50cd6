// Keyed tables: the .PX as pxlib reads it, every record found through the index, and the
// writer's key-order check.
#include "paradoxfile/detail/endian.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/key_order.h"
#include "support/table_compare.h"
#include "support/write_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>

namespace quintabel::paradox {
namespace {

using detail::loadLe16;
using testing::readWithOurs;
using testing::ScratchFolder;

struct KeyedShape {
    const char* name;
    std::vector<Field> fields;
    int keyFields;
    int blockSizeKB;
    int records;
    std::function<std::vector<Value>(int)> row; // row i, in key order
};

void PrintTo(const KeyedShape& shape, std::ostream* out)
{
    *out << shape.name;
}

// A Long key from -50000 up, and a name to take room: 42 records to a 1 KB block.
std::vector<Value> idRow(int i)
{
    return {std::int64_t{i * 7 - 50000}, "name " + std::to_string(i)};
}

const std::vector<Field> idFields = {{"Id", FieldType::Long, 0}, {"Name", FieldType::Alpha, 20}};

// A wide composite key: four entries to a 1 KB index block, five levels for 2000 records.
std::vector<Value> wideKeyRow(int i)
{
    const std::string number = std::to_string(100000 + i / 2);
    return {number + (i / 2 % 3 ? " lower" : " UPPER"), std::int64_t{i % 2}};
}

const std::vector<KeyedShape> shapes = {
    {"Tiny", idFields, 1, 4, 5, idRow},
    {"SixHundredBlocks", idFields, 1, 1, 25000, idRow},
    {"WideKeyFiveLevels", {{"Code", FieldType::Alpha, 200}, {"Part", FieldType::Short, 0}}, 2, 1, 2000, wideKeyRow},
};

std::filesystem::path writeKeyed(const ScratchFolder& folder, const KeyedShape& shape)
{
    WriterOptions options;
    options.keyFieldCount = shape.keyFields;
    options.blockSizeKB = shape.blockSizeKB;
    TableWriter writer(folder.path(), "KEYED", shape.fields, options);
    for (int i = 0; i < shape.records; ++i)
        writer.append(shape.row(i));
    writer.commit();
    return writer.tablePath();
}

std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The records (or index entries) of block `number` of a file of Paradox blocks.
std::pair<const std::uint8_t*, int> blockOf(const std::vector<std::uint8_t>& file, int number, std::size_t recordSize)
{
    const std::size_t start = loadLe16(file.data() + 2) + (number - 1u) * file.at(5) * 1024u;
    const auto last = static_cast<std::int16_t>(loadLe16(&file.at(start + 4)));
    return {file.data() + start + 6, last < 0 ? 0 : last / static_cast<int>(recordSize) + 1};
}

// Finds the record with `key` the way Paradox does (docs/paradox-format.md §13.1): from the
// root, in each index block the last entry not above the key, down to a data block. Returns
// the levels walked, 0 when the block reached does not hold the record.
int findThroughIndex(const std::vector<std::uint8_t>& index, const std::vector<std::uint8_t>& table,
                     std::span<const std::uint8_t> key)
{
    const std::size_t entrySize = loadLe16(index.data());
    int block = loadLe16(index.data() + 0x1E);
    for (int level = index.at(0x20); level >= 1; --level) {
        const auto [entries, count] = blockOf(index, block, entrySize);
        int chosen = -1;
        for (int i = 0; i < count; ++i)
            if (std::memcmp(entries + i * entrySize, key.data(), key.size()) <= 0)
                chosen = i;
        if (chosen < 0)
            return 0;
        block = detail::loadBe16(entries + chosen * entrySize + key.size()) ^ 0x8000; // top bit flipped
    }
    const std::size_t recordSize = loadLe16(table.data());
    const auto [records, count] = blockOf(table, block, recordSize);
    for (int i = 0; i < count; ++i)
        if (std::memcmp(records + i * recordSize, key.data(), key.size()) == 0)
            return index.at(0x20);
    return 0;
}

class PxlibShape : public ::testing::TestWithParam<KeyedShape> {};
class EveryShape : public ::testing::TestWithParam<KeyedShape> {};

TEST_P(PxlibShape, PxlibReadsOneEntryPerDataBlockWithItsFirstKey)
{
    const KeyedShape& shape = GetParam();
    ScratchFolder folder;
    const auto table = writeKeyed(folder, shape);
    const auto index = testing::readPrimaryIndexWithPxlib(folder.path() / "KEYED.PX", table);
    ASSERT_TRUE(index.read && !index.crashed) << index.errors;
    EXPECT_TRUE(index.acceptedByTable) << index.errors;

    const auto header = readWithOurs(table).header;
    const int perBlock = (header.blockSize - 6) / header.recordSize;
    const int blocks = (shape.records + perBlock - 1) / perBlock;
    EXPECT_EQ(index.levels, blocks == 1 ? 1 : 2);
    std::vector<testing::PxlibIndexEntry> levelOne;
    std::copy_if(index.entries.begin(), index.entries.end(), std::back_inserter(levelOne),
                 [](const auto& entry) { return entry.level == 1; });
    ASSERT_EQ(levelOne.size(), static_cast<std::size_t>(blocks));
    for (int b = 0; b < blocks; ++b) {
        const auto& entry = levelOne[static_cast<std::size_t>(b)];
        EXPECT_EQ(entry.block, b + 1);
        EXPECT_EQ(entry.records, std::min(perBlock, shape.records - b * perBlock));
        // The block's first Id, big-endian with its sign bit flipped.
        const auto id = static_cast<std::uint32_t>(std::get<std::int64_t>(shape.row(b * perBlock)[0])) ^ 0x80000000u;
        const char expected[] = {static_cast<char>(id >> 24), static_cast<char>(id >> 16), static_cast<char>(id >> 8),
                                 static_cast<char>(id)};
        EXPECT_EQ(entry.key, std::string(expected, 4)) << "block " << b + 1;
    }
}

TEST_P(EveryShape, EveryRecordIsFoundThroughTheIndex)
{
    const KeyedShape& shape = GetParam();
    ScratchFolder folder;
    const auto table = readWithOurs(writeKeyed(folder, shape));
    ASSERT_EQ(table.records.size(), static_cast<std::size_t>(shape.records));
    EXPECT_EQ(table.header.keyFieldCount, shape.keyFields);
    const auto index = bytesOf(folder.path() / "KEYED.PX");
    const auto data = bytesOf(folder.path() / "KEYED.DB");
    KeyEncoder keys({shape.fields.begin(), shape.fields.begin() + shape.keyFields}, 1252);
    for (const auto& record : table.records)
        ASSERT_GT(findThroughIndex(index, data, keys.encode({record.data(), std::size_t(shape.keyFields)})), 0)
            << ::testing::PrintToString(record);
    EXPECT_GE(index.at(0x20), shape.records > 1000 ? 2 : 1);
}

const auto shapeName = [](const auto& shape) { return std::string(shape.param.name); };
// pxlib knows two index levels at most.
INSTANTIATE_TEST_SUITE_P(Keyed, PxlibShape, ::testing::Values(shapes[0], shapes[1]), shapeName);
INSTANTIATE_TEST_SUITE_P(Keyed, EveryShape, ::testing::ValuesIn(shapes), shapeName);

enum class Verdict { Accepted, Duplicate, OutOfOrder };

struct OrderCase {
    const char* what;
    Value firstName, firstAmount, secondName, secondAmount;
    Verdict verdict;
};

TEST(KeyOrder, TheWriterTakesOnlyStrictlyAscendingKeys)
{
    const std::vector<OrderCase> cases = {
        {"the same key twice", "a", 1.0, "a", 1.0, Verdict::Duplicate},
        {"a smaller key", "b", 1.0, "a", 2.0, Verdict::OutOfOrder},
        {"capitals before small letters", "A", 1.0, "a", 1.0, Verdict::Accepted},
        {"small letters after capitals", "a", 1.0, "A", 1.0, Verdict::OutOfOrder},
        {"NULL and empty text are one blank", Null{}, 1.0, "", 1.0, Verdict::Duplicate},
        {"minus zero is zero", "a", 0.0, "a", -0.0, Verdict::Duplicate},
        {"a blank number before every number", "a", Null{}, "a", -1e300, Verdict::Accepted},
        {"a shorter text first", "a", 5.0, "a ", 1.0, Verdict::Accepted},
        {"a trailing blank before a letter", "ab", 1.0, "a ", 1.0, Verdict::OutOfOrder},
        {"an accent by its code-page byte", "\u00e9", 1.0, "z", 1.0, Verdict::OutOfOrder},
    };
    for (const OrderCase& c : cases) {
        ScratchFolder folder;
        WriterOptions options;
        options.keyFieldCount = 2;
        TableWriter writer(folder.path(), "T", {{"Name", FieldType::Alpha, 10}, {"Amount", FieldType::Number, 0}},
                           options);
        writer.append(std::vector<Value>{c.firstName, c.firstAmount});
        try {
            writer.append(std::vector<Value>{c.secondName, c.secondAmount});
            writer.commit();
            EXPECT_EQ(c.verdict, Verdict::Accepted) << c.what;
        } catch (const KeyOrderError& error) {
            EXPECT_NE(c.verdict, Verdict::Accepted) << c.what << ": " << error.what();
            EXPECT_EQ(error.duplicate(), c.verdict == Verdict::Duplicate) << c.what;
            EXPECT_EQ(error.row(), 2u);
            // The writer gives the table up: a caller writes it again, unkeyed.
            EXPECT_TRUE(folder.fileNames().empty()) << c.what;
        }
    }
}

TEST(KeyOrder, KeysThatCannotBeKeptInOrderAreRefusedBeforeAnythingIsWritten)
{
    std::vector<Field> seventeen;
    for (int i = 0; i < 17; ++i)
        seventeen.push_back({"F" + std::to_string(i), FieldType::Short, 0});
    const std::vector<std::tuple<const char*, std::vector<Field>, int, int>> cases = {
        {"a Memo key", {{"Notes", FieldType::Memo, 20}}, 1, 1252},
        {"a Bytes key", {{"Raw", FieldType::Bytes, 4}}, 1, 1252},
        {"seventeen key fields", seventeen, 17, 1252},
        {"more key fields than fields", idFields, 3, 1252},
        {"a language sort order (866)", idFields, 1, 866},
        {"a double-byte code page (936)", idFields, 1, 936},
    };
    for (const auto& [what, fields, keyFields, codePage] : cases) {
        ScratchFolder folder;
        WriterOptions options;
        options.keyFieldCount = keyFields;
        options.codePage = codePage;
        EXPECT_THROW(TableWriter(folder.path(), "T", fields, options), DefinitionError) << what;
        EXPECT_TRUE(folder.fileNames().empty()) << what;
    }
}

} // namespace
} // namespace quintabel::paradox
