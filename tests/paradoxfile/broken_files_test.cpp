// Broken and hostile files: each gives a clear FormatError that names the file and the
// problem; never a crash, a hang or a wrong value. The cases start from a sound table written
// in memory and break one thing each.
#include "paradoxfile/detail/endian.h"
#include "paradoxfile/errors.h"
#include "support/write_helpers.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace quintabel::paradox {
namespace {

using detail::loadLe16;
using detail::storeLe16;
using detail::storeLe32;
using testing::encodeInMemory;
using testing::MemoryTable;
using testing::readAll;
using testing::readerOf;

constexpr int headerSize = 0x800;
constexpr int blockSize = 1024;
constexpr int recordSize = 4 + 10 + 11 + 1 + 4; // Id, Name, Notes (leader 1), Done, At
constexpr int memoControl = 4 + 10 + 1;          // offset of the memo's pointer in a record

// 100 records in 1 KB blocks (33 per block, 4 blocks), each with a memo in the .MB.
const MemoryTable& soundTable()
{
    static const MemoryTable table = [] {
        testing::Rows rows;
        for (int i = 1; i <= 100; ++i)
            rows.push_back({std::int64_t{i}, std::string("row ") + std::to_string(i),
                            std::string(static_cast<std::size_t>(10 + i * 31 % 3000), 'm'), i % 2 == 0,
                            Time{i % 24, 0, 0, 0}});
        EncoderOptions options;
        options.blockSizeKB = 1;
        return encodeInMemory({{"Id", FieldType::Long, 0},
                               {"Name", FieldType::Alpha, 10},
                               {"Notes", FieldType::Memo, 11},
                               {"Done", FieldType::Logical, 0},
                               {"At", FieldType::Time, 0}},
                              rows, options);
    }();
    return table;
}

std::uint8_t* block(MemoryTable& table, int number)
{
    return table.table.data() + headerSize + (number - 1) * blockSize;
}

std::uint8_t* record(MemoryTable& table, int blockNumber, int index)
{
    return block(table, blockNumber) + 6 + index * recordSize;
}

struct BrokenCase {
    std::string name;
    std::function<void(MemoryTable&)> breakIt;
    std::string file; // the file the message must name
    std::string says;
};

std::ostream& operator<<(std::ostream& out, const BrokenCase& c)
{
    return out << c.name;
}

const BrokenCase brokenCases[] = {
    {"HeaderTooShort", [](MemoryTable& t) { t.table.resize(0x30); }, "mem.db", "too short for a Paradox table header"},
    {"TruncatedHeader", [](MemoryTable& t) { t.table.resize(0x400); }, "mem.db", "truncated header"},
    {"EmptyFile", [](MemoryTable& t) { t.table.clear(); }, "mem.db", "0 bytes long"},
    {"FirstBlockPastTheEnd", [](MemoryTable& t) { storeLe16(t.table.data() + 0x0E, 500); }, "mem.db",
     "block 500 lies past the end of the file"},
    {"NextBlockPastTheEnd", [](MemoryTable& t) { storeLe16(block(t, 1), 999); }, "mem.db",
     "block 999 lies past the end of the file"},
    {"BlockChainLoops", [](MemoryTable& t) { storeLe16(block(t, 2), 1); }, "mem.db",
     "the chain of data blocks returns to block 1"},
    {"FieldCountLargerThanTheHeader", [](MemoryTable& t) { storeLe16(t.table.data() + 0x21, 250); }, "mem.db",
     "field 6 of the 250 the header declares has the unknown type code 0x0"},
    {"NoFields", [](MemoryTable& t) { storeLe16(t.table.data() + 0x21, 0); }, "mem.db", "declares 0 fields"},
    {"NegativeFieldCount", [](MemoryTable& t) { storeLe16(t.table.data() + 0x21, 0xFFFF); }, "mem.db",
     "declares -1 fields"},
    {"RecordSizeDisagrees", [](MemoryTable& t) { storeLe16(t.table.data(), recordSize + 1); }, "mem.db",
     "the fields take 30 bytes, but the header gives a record size of 31"},
    {"UnknownFieldType", [](MemoryTable& t) { t.table[0x78] = 0x07; }, "mem.db", "field 1 of the 5 the header declares has the unknown type code 0x7"},
    {"WrongSizeForType", [](MemoryTable& t) { t.table[0x79] = 8; }, "mem.db", "field 'Id' (Long Integer) has size 8"},
    {"NotAParadoxVersion", [](MemoryTable& t) { t.table[0x39] = 0x20; }, "mem.db", "file version byte is 32"},
    {"BadBlockSizeCode", [](MemoryTable& t) { t.table[0x05] = 5; }, "mem.db", "block size code is 5"},
    {"IndexFile", [](MemoryTable& t) { t.table[0x04] = 1; }, "mem.db", "Paradox index file (file type 1)"},
    {"FieldNameRunsOn",
     [](MemoryTable& t) {
         for (std::size_t i = 0x78 + 6 * 5 + 4 + 79; i < headerSize; ++i)
             if (t.table[i] == 0)
                 t.table[i] = 'x';
     },
     "mem.db", "runs past the end of the header"},
    {"LastRecordOffsetNotAMultiple", [](MemoryTable& t) { storeLe16(block(t, 1) + 4, 5); }, "mem.db",
     "not a multiple of the record size 30"},
    {"MoreRecordsThanABlockHolds", [](MemoryTable& t) { storeLe16(block(t, 1) + 4, 40 * recordSize); }, "mem.db",
     "block 1 claims 41 records, more than a block holds"},
    {"BlockCutOffByTheEnd", [](MemoryTable& t) { t.table.resize(headerSize + 2 * blockSize + 100); }, "mem.db",
     "block 3 is cut off by the end of the file"},
    {"BlobPointerPastTheEndOfTheMb",
     [](MemoryTable& t) { storeLe32(record(t, 1, 0) + memoControl, 0x00900000u | 0xFF); }, "mem.mb",
     "a blob pointer lies past the end of the file"},
    {"BlobPointerIntoTheMbHeader", [](MemoryTable& t) { storeLe32(record(t, 1, 0) + memoControl, 0x000000FFu); },
     "mem.mb", "not a block offset"},
    {"BlobLengthDisagrees",
     [](MemoryTable& t) { storeLe32(record(t, 1, 0) + memoControl + 4, detail::loadLe32(record(t, 1, 0) + memoControl + 4) + 1); },
     "mem.mb", "but its record says"},
    {"BlobSlotEmpty",
     [](MemoryTable& t) {
         const std::uint32_t pointer = detail::loadLe32(record(t, 1, 0) + memoControl);
         const std::size_t slot = (pointer & 0xFFFFFF00u) + 12 + 5 * (pointer & 0xFFu);
         t.blobs[slot] = 0;
     },
     "mem.mb", "is empty or deleted"},
    {"BlobBlockOfWrongType", [](MemoryTable& t) { t.blobs[4096] = 4; }, "mem.mb", "a block of type 4, which holds no blob"},
    {"MemoLengthExceedsLeaderWithoutPointer",
     [](MemoryTable& t) { storeLe32(record(t, 1, 0) + memoControl, 0); }, "mem.db",
     "field 'Notes' of record 1 claims"},
    {"BlobFileMissing", [](MemoryTable& t) { t.blobs.clear(); }, "mem.db",
     "field 'Notes' of record 1 is stored in the table's .MB file, which was not found"},
    {"LogicalNeitherTrueNorFalse", [](MemoryTable& t) { record(t, 2, 3)[4 + 10 + 11] = 0x42; }, "mem.db",
     "field 'Done' of record 37 holds 0x42"},
    {"TimeOutOfTheDay",
     [](MemoryTable& t) {
         std::uint8_t* at = record(t, 1, 1) + 4 + 10 + 11 + 1;
         detail::storeBe32(at, 0x80000000u + 90'000'000u);
     },
     "mem.db", "field 'At' of record 2 holds 90000000 milliseconds"},
    {"VersionByteOfAnotherLayout", [](MemoryTable& t) { t.table[0x39] = 0x03; }, "mem.db", "unknown type code"},
    {"FieldCountBeyondTheHeader",
     [](MemoryTable& t) {
         storeLe16(t.table.data() + 0x02, 0xE0);
         t.table.resize(0xE0);
     },
     "mem.db", "declares 5 fields, more than its 224 bytes can describe"},
};

class BrokenFile : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenFile, GivesAClearError)
{
    const BrokenCase& c = GetParam();
    MemoryTable table = soundTable();
    c.breakIt(table);
    try {
        auto reader = readerOf(table);
        readAll(reader);
        FAIL() << "the broken table was read";
    } catch (const InvalidTextError&) {
        FAIL() << "not a matter of code pages";
    } catch (const FormatError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("'" + c.file + "'"), std::string::npos) << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(Reader, BrokenFile, ::testing::ValuesIn(brokenCases),
                         [](const auto& param) { return param.param.name; });

TEST(BrokenFiles, TheSoundTableReads)
{
    auto reader = readerOf(soundTable());
    const auto rows = readAll(reader);
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(reader.header().blocksInUse, 4);
    EXPECT_TRUE(reader.warnings().empty());
}

TEST(BrokenFiles, WhenTheHeaderCountDisagreesTheBlocksWin)
{
    MemoryTable table = soundTable();
    detail::storeLe32(table.table.data() + 0x06, 7);
    auto reader = readerOf(table);
    EXPECT_EQ(reader.header().recordCount, 7u);
    EXPECT_EQ(reader.countRecords(), 100u);
    EXPECT_EQ(readAll(reader).size(), 100u);
    ASSERT_EQ(reader.warnings().size(), 1u);
    EXPECT_EQ(reader.warnings()[0], "The header of 'mem.db' says the table holds 7 records, but its data blocks hold "
                                    "100; the records in the blocks were read.");
}

TEST(BrokenFiles, EmptyBlocksInTheChainAreSkipped)
{
    MemoryTable table = soundTable();
    storeLe16(block(table, 2) + 4, static_cast<std::uint16_t>(-recordSize)); // block 2 emptied, still chained
    auto reader = readerOf(table);
    EXPECT_EQ(readAll(reader).size(), 100u - 33u);
    EXPECT_EQ(reader.warnings().size(), 1u);
}

TEST(BrokenFiles, TheBcdBlankBitWithDigitsIsAnError)
{
    auto table = encodeInMemory({{"Exact", FieldType::Bcd, 0, 2}}, {{Decimal{"1.25"}}});
    table.table[headerSize + 6] &= static_cast<std::uint8_t>(~0x40); // clear "non-blank"
    auto reader = readerOf(table);
    try {
        readAll(reader);
        FAIL();
    } catch (const FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("field 'Exact' of record 1 is marked blank but holds digits"),
                  std::string::npos);
    }
}

// Every prefix of the files and many single-byte changes: each read ends in records or in a
// FormatError (the sanitizer build catches any out-of-bounds access on the way).
TEST(BrokenFiles, TruncatedAtEveryLengthNeverCrashes)
{
    for (std::size_t length = 0; length <= soundTable().table.size(); length += 7) {
        MemoryTable table = soundTable();
        table.table.resize(length);
        try {
            auto reader = readerOf(table);
            readAll(reader);
        } catch (const FormatError&) {
        }
    }
    for (std::size_t length = 0; length <= soundTable().blobs.size(); length += 61) {
        MemoryTable table = soundTable();
        table.blobs.resize(length);
        try {
            auto reader = readerOf(table);
            readAll(reader);
        } catch (const FormatError&) {
        }
    }
}

TEST(BrokenFiles, RandomDamageNeverCrashes)
{
    std::mt19937 random(20240607);
    for (int round = 0; round < 3000; ++round) {
        MemoryTable table = soundTable();
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            auto& bytes = random() % 4 == 0 ? table.blobs : table.table;
            // Mostly the header and the first block, where the structure is.
            const std::size_t span = random() % 2 ? std::min<std::size_t>(bytes.size(), headerSize + blockSize) : bytes.size();
            bytes[random() % span] = static_cast<std::uint8_t>(random());
        }
        try {
            auto reader = readerOf(table);
            reader.countRecords();
            readAll(reader);
        } catch (const FormatError&) {
        }
    }
}

} // namespace
} // namespace quintabel::paradox
