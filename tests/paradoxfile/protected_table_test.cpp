// Password-protected tables read like plain ones. Protected twins of the plain sample tables,
// scrambled as Paradox scrambles, read the same as the tables they were made from, and pxlib,
// which unscrambles on its own, reads each twin as we do. A damaged protected table gives a
// clean FormatError like any other.
#include "paradoxfile/detail/scrambling.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_family.h"
#include "support/table_compare.h"
#include "support/write_helpers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <set>

namespace quintabel::paradox {
namespace {

namespace fs = std::filesystem;
using testing::compareWithPxlib;
using testing::encodeInMemory;
using testing::MemoryTable;
using testing::readAll;
using testing::readerOf;
using testing::readWithOurs;
using testing::readWithPxlibAndBlobs;
using testing::ScratchFolder;

// The key of the protected sample, and one whose bytes are 0xFF, so that the .MB's chunk key
// (each key byte plus one) wraps round to 0.
constexpr std::uint32_t twinKeys[] = {0x0A25E09Au, 0x5A17FFFFu};

std::vector<std::uint8_t> contentOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Copies the table at `table` (with its .MB) into `folder` under the same names, protected.
fs::path writeProtectedTwin(const fs::path& table, const fs::path& folder, std::uint32_t key)
{
    auto tableBytes = contentOf(table);
    std::vector<std::uint8_t> blobBytes;
    const auto blobFile = findBlobFile(table);
    if (blobFile)
        blobBytes = contentOf(*blobFile);
    EXPECT_TRUE(detail::protectTableBytes(tableBytes, blobBytes, key));
    const fs::path twin = folder / table.filename();
    writeFile(twin, tableBytes);
    if (blobFile)
        writeFile(folder / blobFile->filename(), blobBytes);
    return twin;
}

std::vector<fs::path> plainSampleTables()
{
    std::vector<fs::path> tables;
    for (const auto& path : testing::testdataTables()) {
        FileSource source(path);
        if (!parseTableHeader(source).encrypted)
            tables.push_back(path);
    }
    return tables;
}

class ProtectedTwin : public ::testing::TestWithParam<fs::path> {};

TEST_P(ProtectedTwin, ReadsAsItsPlainTableAndAsPxlibReadsIt)
{
    const auto& path = GetParam();
    const auto plain = readWithOurs(path);
    for (const std::uint32_t key : twinKeys) {
        SCOPED_TRACE(key);
        ScratchFolder folder;
        const fs::path twin = writeProtectedTwin(path, folder.path(), key);
        const auto ours = readWithOurs(twin);
        EXPECT_TRUE(ours.header.encrypted);
        EXPECT_EQ(ours.header.encryptionKey, key);
        EXPECT_EQ(ours.header.fields, plain.header.fields);
        EXPECT_EQ(ours.records, plain.records);
        EXPECT_EQ(ours.warnings.size(), plain.warnings.size());

        const auto comparison = compareWithPxlib(ours, readWithPxlibAndBlobs(twin));
        for (const auto& difference : comparison.differences)
            ADD_FAILURE() << testing::testdataTestName(path) << ": " << difference;
    }
}

INSTANTIATE_TEST_SUITE_P(TestData, ProtectedTwin, ::testing::ValuesIn(plainSampleTables()),
                         [](const auto& table) { return testing::testdataTestName(table.param); });

TEST(ProtectedTwin, CoversEveryFileVersionAndTheBlobFiles)
{
    std::set<std::string> versions;
    int withBlobs = 0;
    for (const auto& path : plainSampleTables()) {
        FileSource source(path);
        versions.insert(fileVersionText(parseTableHeader(source).fileVersion));
        withBlobs += findBlobFile(path) ? 1 : 0;
    }
    EXPECT_EQ(versions, (std::set<std::string>{"3.0", "3.5", "4.x", "5.x", "7.x"}));
    EXPECT_GE(withBlobs, 5);
}

// --- damaged protected tables ------------------------------------------------------------

constexpr std::size_t headerSize = 0x800;
constexpr std::size_t blockSize = 1024;

// 100 records in 1 KB blocks (3 blocks), each with a memo in the .MB, in both kinds of block.
const MemoryTable& plainTable()
{
    static const MemoryTable table = [] {
        testing::Rows rows;
        for (int i = 1; i <= 100; ++i)
            rows.push_back({std::int64_t{i}, std::string("row ") + std::to_string(i),
                            std::string(static_cast<std::size_t>(10 + i * 37 % 3000), static_cast<char>('a' + i % 26))});
        EncoderOptions options;
        options.blockSizeKB = 1;
        return encodeInMemory({{"Id", FieldType::Long, 0}, {"Name", FieldType::Alpha, 10}, {"Notes", FieldType::Memo, 11}},
                              rows, options);
    }();
    return table;
}

const MemoryTable& protectedTable()
{
    static const MemoryTable table = [] {
        MemoryTable copy = plainTable();
        detail::protectTableBytes(copy.table, copy.blobs, 0x31C4A7E2u);
        return copy;
    }();
    return table;
}

TEST(ProtectedTables, AnInMemoryTwinReadsAsItsPlainTable)
{
    auto plain = readerOf(plainTable());
    auto locked = readerOf(protectedTable());
    EXPECT_EQ(locked.countRecords(), 100u);
    EXPECT_EQ(readAll(locked), readAll(plain));
    EXPECT_TRUE(locked.warnings().empty());
}

// Reads the whole table; true when it read, false on a FormatError. Anything else escapes
// and fails the test: an IoError would mean a read past the data the reader checked.
bool readsOrFailsCleanly(const MemoryTable& table, std::string* message = nullptr)
{
    try {
        auto reader = readerOf(table);
        reader.countRecords();
        readAll(reader);
        return true;
    } catch (const FormatError& error) {
        if (message)
            *message = error.what();
        return false;
    }
}

TEST(DamagedProtectedTables, ABlockCutInsideAChunkIsReportedAsMissing)
{
    MemoryTable table = protectedTable();
    // Block 3 keeps its first 100 bytes: less than the 256 it takes to unscramble any of them.
    table.table.resize(headerSize + 2 * blockSize + 100);
    std::string message;
    EXPECT_FALSE(readsOrFailsCleanly(table, &message));
    EXPECT_NE(message.find("'mem.db'"), std::string::npos) << message;
    EXPECT_NE(message.find("block 3 lies past the end of the file"), std::string::npos) << message;
}

TEST(DamagedProtectedTables, ABlobFileCutInsideAChunkIsReported)
{
    MemoryTable table = protectedTable();
    table.blobs.resize(table.blobs.size() - 4096 - 10);
    std::string message;
    EXPECT_FALSE(readsOrFailsCleanly(table, &message));
    EXPECT_NE(message.find("mem.mb"), std::string::npos) << message;
}

TEST(DamagedProtectedTables, TruncatedOrChangedBytesNeverCrash)
{
    for (std::size_t length = 0; length <= protectedTable().table.size(); length += 13) {
        MemoryTable table = protectedTable();
        table.table.resize(length);
        readsOrFailsCleanly(table);
    }
    for (std::size_t length = 0; length <= protectedTable().blobs.size(); length += 101) {
        MemoryTable table = protectedTable();
        table.blobs.resize(length);
        readsOrFailsCleanly(table);
    }
    std::mt19937 random(20261209);
    for (int round = 0; round < 1500; ++round) {
        MemoryTable table = protectedTable();
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            auto& bytes = random() % 4 == 0 ? table.blobs : table.table;
            bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
        }
        readsOrFailsCleanly(table);
    }
}

} // namespace
} // namespace quintabel::paradox
