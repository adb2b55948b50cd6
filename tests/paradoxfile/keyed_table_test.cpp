// Keyed tables: the .PX as pxlib reads it, every record found through the index, the key-order
// check of the writer, and the order AlphaKeyOrder gives UTF-8 texts.
#include "paradoxfile/errors.h"
#include "paradoxfile/key_order.h"
#include "support/index_walk.h"
#include "support/table_compare.h"
#include "support/write_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace quintabel::paradox {
namespace {

using testing::readPrimaryIndexWithPxlib;
using testing::readWithOurs;
using testing::ScratchFolder;

struct KeyedShape {
    const char* name;
    std::vector<Field> fields;
    int keyFields;
    int blockSizeKB;
    int records;
    std::function<std::vector<Value>(int)> row; // row i of records, in key order
};

void PrintTo(const KeyedShape& shape, std::ostream* out)
{
    *out << shape.name;
}

// A Long key from -50000 upwards, with a name to take room: 42 records in a 1 KB block.
std::vector<Value> idRow(int i)
{
    return {std::int64_t{i * 7 - 50000}, std::string("name ") + std::to_string(i)};
}

const std::vector<Field> idFields = {{"Id", FieldType::Long, 0}, {"Name", FieldType::Alpha, 20}};

// A wide composite key: four entries to a 1 KB index block, so that 2000 records need five
// levels.
std::vector<Value> wideKeyRow(int i)
{
    std::string code = std::to_string(i / 2);
    code.insert(0, 6 - code.size(), '0');
    return {code + (i / 2 % 3 ? " lower" : " UPPER"), std::int64_t{i % 2}};
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

class PxlibShape : public ::testing::TestWithParam<KeyedShape> {};
class EveryShape : public ::testing::TestWithParam<KeyedShape> {};

TEST_P(PxlibShape, PxlibReadsOneEntryPerDataBlockWithItsFirstKey)
{
    const KeyedShape& shape = GetParam();
    ScratchFolder folder;
    const auto table = writeKeyed(folder, shape);
    const auto index = readPrimaryIndexWithPxlib(folder.path() / "KEYED.PX", table);
    ASSERT_TRUE(index.read && !index.crashed) << index.errors;
    EXPECT_TRUE(index.acceptedByTable) << index.errors;

    const auto header = readWithOurs(table).header;
    const int perBlock = (header.blockSize - 6) / header.recordSize;
    const int blocks = (shape.records + perBlock - 1) / perBlock;
    std::vector<testing::PxlibIndexEntry> levelOne;
    for (const auto& entry : index.entries)
        if (entry.level == 1)
            levelOne.push_back(entry);
    EXPECT_EQ(index.levels, blocks == 1 ? 1 : 2);
    ASSERT_EQ(levelOne.size(), static_cast<std::size_t>(blocks));
    for (int b = 0; b < blocks; ++b) {
        const auto& entry = levelOne[static_cast<std::size_t>(b)];
        EXPECT_EQ(entry.block, b + 1);
        EXPECT_EQ(entry.records, std::min(perBlock, shape.records - b * perBlock));
        // The first Id of block b, stored big-endian with its sign bit flipped.
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
    KeyEncoder keys({shape.fields.begin(), shape.fields.begin() + shape.keyFields}, 1252);
    const testing::IndexWalk walk(folder.path() / "KEYED.PX", folder.path() / "KEYED.DB");
    int levels = 0;
    for (const auto& record : table.records) {
        levels = walk.find(keys.encode({record.data(), static_cast<std::size_t>(shape.keyFields)}));
        ASSERT_GT(levels, 0) << ::testing::PrintToString(record);
    }
    if (shape.records > 1000) {
        EXPECT_GE(levels, 2);
    }
}

const auto shapeName = [](const auto& shape) { return std::string(shape.param.name); };
// pxlib knows two index levels at most, and the Long key below.
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
    const std::vector<Field> fields = {{"Name", FieldType::Alpha, 10}, {"Amount", FieldType::Number, 0}};
    for (const OrderCase& c : cases) {
        ScratchFolder folder;
        WriterOptions options;
        options.keyFieldCount = 2;
        TableWriter writer(folder.path(), "T", fields, options);
        writer.append(std::vector<Value>{c.firstName, c.firstAmount});
        try {
            writer.append(std::vector<Value>{c.secondName, c.secondAmount});
            writer.commit();
            EXPECT_EQ(c.verdict, Verdict::Accepted) << c.what;
            EXPECT_EQ(readWithOurs(writer.tablePath()).records.size(), 2u) << c.what;
        } catch (const KeyOrderError& error) {
            EXPECT_NE(c.verdict, Verdict::Accepted) << c.what << ": " << error.what();
            EXPECT_EQ(error.duplicate(), c.verdict == Verdict::Duplicate) << c.what;
            EXPECT_EQ(error.row(), 2u);
            // The writer gives the table up: a caller writes it again, unkeyed.
            EXPECT_TRUE(folder.fileNames().empty()) << c.what;
        }
    }
}

TEST(KeyOrder, AlphaKeyOrderAgreesWithTheKeyBytes)
{
    const std::vector<std::string> texts = {
        "", "A", "B", "a", "a ", "ab", "abc", "\u00e9", "\u00c9", "z", "\u00c4", "\u00ff", "\u00f1",
        "\u20ac", "\u0436", "a\u0436", "\xff", "a\xc3", "a\xc3" "b", "\u65e5\u672c", "Zz", "zZ"};
    const std::vector<Field> text = {{"Text", FieldType::Alpha, 10}};
    for (const int codePage : keyedCodePages()) {
        const AlphaKeyOrder order(codePage);
        KeyEncoder keys(text, codePage);
        std::vector<std::string> sorted = texts;
        std::sort(sorted.begin(), sorted.end(),
                  [&](const std::string& a, const std::string& b) { return order.compare(a, b) < 0; });
        std::vector<std::uint8_t> previous;
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            for (std::size_t j = 0; j < sorted.size(); ++j) {
                const int forward = order.compare(sorted[i], sorted[j]);
                EXPECT_EQ(forward, -order.compare(sorted[j], sorted[i]));
                EXPECT_EQ(forward == 0, i == j) << codePage << ": " << sorted[i] << " / " << sorted[j];
                if (i < j) {
                    EXPECT_LT(forward, 0) << codePage << ": " << sorted[i] << " / " << sorted[j];
                }
            }
            // Among the texts the table can hold, the order is that of their key bytes.
            try {
                const Value value = sorted[i];
                const auto bytes = keys.encode({&value, 1});
                EXPECT_LE(previous, std::vector<std::uint8_t>(bytes.begin(), bytes.end()))
                    << codePage << ": " << sorted[i];
                previous.assign(bytes.begin(), bytes.end());
            } catch (const ValueError&) {
            }
        }
    }
}

struct RefusedKey {
    const char* what;
    std::vector<Field> fields;
    int keyFields;
    int codePage;
};

TEST(KeyOrder, KeysThatCannotBeKeptInOrderAreRefusedBeforeAnythingIsWritten)
{
    std::vector<Field> seventeen;
    for (int i = 0; i < 17; ++i)
        seventeen.push_back({"F" + std::to_string(i), FieldType::Short, 0});
    const std::vector<RefusedKey> cases = {
        {"a Memo key", {{"Notes", FieldType::Memo, 20}}, 1, 1252},
        {"a Bytes key", {{"Raw", FieldType::Bytes, 4}}, 1, 1252},
        {"seventeen key fields", seventeen, 17, 1252},
        {"more key fields than fields", idFields, 3, 1252},
        {"a language sort order (866)", idFields, 1, 866},
        {"a double-byte code page (936)", idFields, 1, 936},
    };
    for (const RefusedKey& c : cases) {
        ScratchFolder folder;
        WriterOptions options;
        options.keyFieldCount = c.keyFields;
        options.codePage = c.codePage;
        EXPECT_THROW(TableWriter(folder.path(), "T", c.fields, options), DefinitionError) << c.what;
        EXPECT_TRUE(folder.fileNames().empty()) << c.what;
    }
}

} // namespace
} // namespace quintabel::paradox
