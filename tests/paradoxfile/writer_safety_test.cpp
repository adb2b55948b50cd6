// The writer never damages what is there: temporary names, no replacing, nothing left behind
// after a failure (a sink that fails after N bytes), and a header that follows the recipe.
#include "paradoxfile/detail/endian.h"
#include "paradoxfile/errors.h"
#include "support/table_compare.h"
#include "support/write_helpers.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quintabel::paradox {
namespace {

using testing::readWithOurs;
using testing::ScratchFolder;

const std::vector<Field> someFields = {
    {"Id", FieldType::Long, 0}, {"Name", FieldType::Alpha, 20}, {"Notes", FieldType::Memo, 12}};

std::vector<Value> someRow(int i)
{
    return {std::int64_t{i}, std::string("name ") + std::to_string(i),
            std::string(static_cast<std::size_t>(i * 97 % 3000), 'm')};
}

void touch(const std::filesystem::path& path, const std::string& content = "keep me")
{
    std::ofstream(path, std::ios::binary) << content;
}

std::string contentOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(WriterSafety, CommitPutsTheFilesInPlaceAndNothingElse)
{
    ScratchFolder folder;
    TableWriter writer(folder.path(), "ORDERS", someFields);
    // While writing, only hidden temporary files exist.
    for (const auto& name : folder.fileNames())
        EXPECT_EQ(name.front(), '.') << name;
    for (int i = 1; i <= 100; ++i)
        writer.append(someRow(i));
    writer.commit();
    EXPECT_EQ(folder.fileNames(), (std::vector<std::string>{"ORDERS.DB", "ORDERS.MB"}));
    EXPECT_EQ(readWithOurs(folder.path() / "ORDERS.DB").records.size(), 100u);
}

TEST(WriterSafety, LowerCaseExtensionsOnRequest)
{
    ScratchFolder folder;
    WriterOptions options;
    options.lowerCaseExtensions = true;
    TableWriter writer(folder.path(), "orders", {{"Id", FieldType::Long, 0}}, options);
    writer.commit();
    EXPECT_EQ(folder.fileNames(), (std::vector<std::string>{"orders.db"}));
}

TEST(WriterSafety, DestructionWithoutCommitLeavesNothing)
{
    ScratchFolder folder;
    {
        TableWriter writer(folder.path(), "ORDERS", someFields);
        for (int i = 1; i <= 50; ++i)
            writer.append(someRow(i));
    }
    EXPECT_TRUE(folder.fileNames().empty());
}

TEST(WriterSafety, AnExistingTableIsNeverReplaced)
{
    for (const std::string existing : {"ORDERS.DB", "orders.db", "Orders.Db", "orders.MB", "orders.Px"}) {
        ScratchFolder folder;
        touch(folder.path() / existing);
        try {
            TableWriter writer(folder.path(), "ORDERS", someFields);
            FAIL() << existing << " was not noticed";
        } catch (const TableExistsError& error) {
            EXPECT_NE(std::string(error.what()).find(existing), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("never replaces"), std::string::npos);
        }
        EXPECT_EQ(folder.fileNames(), std::vector<std::string>{existing});
        EXPECT_EQ(contentOf(folder.path() / existing), "keep me");
    }
}

TEST(WriterSafety, ATableThatAppearsWhileWritingIsNotReplaced)
{
    for (const std::string appearing : {"ORDERS.DB", "orders.mb", "Orders.PX"}) {
        ScratchFolder folder;
        TableWriter writer(folder.path(), "ORDERS", someFields);
        writer.append(someRow(1));
        touch(folder.path() / appearing);
        EXPECT_THROW(writer.commit(), TableExistsError);
        EXPECT_EQ(folder.fileNames(), std::vector<std::string>{appearing});
        EXPECT_EQ(contentOf(folder.path() / appearing), "keep me");
    }
}

TEST(WriterSafety, ARefusedValueRejectsItsRecordOnly)
{
    ScratchFolder folder;
    TableWriter writer(folder.path(), "T", someFields);
    writer.append(someRow(1));
    EXPECT_THROW(writer.append(std::vector<Value>{std::int64_t{2}, std::string("Привет"), Null{}}), ValueError);
    writer.append(someRow(3));
    writer.commit();
    const auto table = readWithOurs(writer.tablePath());
    ASSERT_EQ(table.records.size(), 2u);
    EXPECT_EQ(table.records[1][0], Value{std::int64_t{3}});
}

TEST(WriterSafety, AMissingFolderIsAClearError)
{
    ScratchFolder folder;
    try {
        TableWriter writer(folder.path() / "nowhere", "T", someFields);
        FAIL();
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("does not exist"), std::string::npos);
    }
}

// The sample table of the sweep below: 300 records with blobs, keyed on Id.
WriterOptions keyedOnId()
{
    WriterOptions options;
    options.keyFieldCount = 1;
    return options;
}

// The sizes of its .DB, .MB and .PX, in the order the writer opens them.
std::vector<std::uint64_t> sizesOfSampleTable()
{
    ScratchFolder folder;
    TableWriter writer(folder.path(), "T", someFields, keyedOnId());
    for (int i = 1; i <= 300; ++i)
        writer.append(someRow(i));
    writer.commit();
    return {std::filesystem::file_size(writer.tablePath()), std::filesystem::file_size(writer.blobPath()),
            std::filesystem::file_size(writer.primaryIndexPath())};
}

TEST(WriterFaults, ASinkThatFailsAfterNBytesLeavesNothingBehind)
{
    const auto sizes = sizesOfSampleTable();
    for (int failing = 0; failing < 3; ++failing) {
        const std::uint64_t size = sizes[static_cast<std::size_t>(failing)];
        std::vector<std::uint64_t> limits = {0, 1, 100, 2047, 2048, 2049, 4096, 4097, size - 1};
        for (std::uint64_t limit = 8192; limit < size; limit += size / 29)
            limits.push_back(limit);
        for (const std::uint64_t limit : limits) {
            ScratchFolder folder;
            WriterOptions options = keyedOnId();
            // Fails the sink of the .DB, the .MB or the .PX after `limit` bytes.
            int opened = 0;
            options.wrapSink = [&](std::unique_ptr<ByteSink> sink) -> std::unique_ptr<ByteSink> {
                if (opened++ == failing)
                    return std::make_unique<FailingSink>(std::move(sink), limit);
                return sink;
            };
            bool failed = false;
            try {
                TableWriter writer(folder.path(), "T", someFields, options);
                for (int i = 1; i <= 300; ++i)
                    writer.append(someRow(i));
                writer.commit();
            } catch (const IoError& error) {
                failed = true;
                EXPECT_NE(std::string(error.what()).find("injected failure"), std::string::npos) << error.what();
            }
            EXPECT_TRUE(failed) << "limit " << limit;
            EXPECT_TRUE(folder.fileNames().empty()) << "limit " << limit << " of file " << failing;
        }
    }
}

TEST(WriterFaults, AFailureToMakeTheFilesDurableLeavesNothingBehind)
{
    ScratchFolder folder;
    WriterOptions options;
    options.wrapSink = [](std::unique_ptr<ByteSink> sink) -> std::unique_ptr<ByteSink> {
        return std::make_unique<FailingSink>(std::move(sink), UINT64_MAX, true);
    };
    TableWriter writer(folder.path(), "T", someFields, options);
    writer.append(someRow(1));
    EXPECT_THROW(writer.commit(), IoError);
    EXPECT_TRUE(folder.fileNames().empty());
    // The writer is spent: it says so instead of writing half a table.
    EXPECT_THROW(writer.append(someRow(2)), Error);
}

TEST(WriterFaults, AfterAnIoFailureTheWriterRefusesMore)
{
    ScratchFolder folder;
    WriterOptions options;
    options.wrapSink = [](std::unique_ptr<ByteSink> sink) -> std::unique_ptr<ByteSink> {
        return std::make_unique<FailingSink>(std::move(sink), 5000);
    };
    TableWriter writer(folder.path(), "T", someFields, options);
    EXPECT_THROW(
        {
            for (int i = 1; i <= 300; ++i)
                writer.append(someRow(i));
        },
        IoError);
    EXPECT_TRUE(folder.fileNames().empty());
    EXPECT_THROW(writer.commit(), Error);
    EXPECT_TRUE(folder.fileNames().empty());
}

TEST(WriterHeader, FollowsTheParadoxFiveRecipe)
{
    EncoderOptions options;
    options.tableFileName = "CUSTOMER.DB";
    options.updateTime = 1'630'000'000;
    const auto table = testing::encodeInMemory(
        {{"Id", FieldType::AutoIncrement, 0}, {"Name", FieldType::Alpha, 10}, {"Cost", FieldType::Bcd, 0, 2}},
        {{std::int64_t{1}, std::string("a"), Decimal{"1.00"}}, {std::int64_t{7}, Null{}, Null{}}}, options);
    const std::uint8_t* h = table.table.data();
    using detail::loadLe16;
    using detail::loadLe32;
    EXPECT_EQ(loadLe16(h + 0x00), 4 + 10 + 17);  // record size
    EXPECT_EQ(loadLe16(h + 0x02), 0x800);        // header size
    EXPECT_EQ(h[0x04], 2);                       // keyless
    EXPECT_EQ(h[0x05], 4);                       // 4 KB blocks
    EXPECT_EQ(loadLe32(h + 0x06), 2u);           // records
    EXPECT_EQ(loadLe16(h + 0x0A), 1);            // blocks in use
    EXPECT_EQ(loadLe16(h + 0x0C), 1);            // blocks in the file
    EXPECT_EQ(loadLe16(h + 0x0E), 1);            // first block
    EXPECT_EQ(loadLe16(h + 0x10), 1);            // last block
    EXPECT_EQ(loadLe16(h + 0x21), 3);            // fields
    EXPECT_EQ(loadLe16(h + 0x23), 0);            // key fields
    EXPECT_EQ(loadLe32(h + 0x25), 0xFF00FF00u);  // 00 FF 00 FF
    EXPECT_EQ(h[0x29], 0x62);                    // ANSIINTL
    EXPECT_EQ(h[0x39], 0x0B);                    // Paradox 5.x
    EXPECT_EQ(loadLe16(h + 0x3A), 1);
    EXPECT_EQ(h[0x3E], 0x1F);
    EXPECT_EQ(h[0x3F], 0x0F);
    EXPECT_EQ(loadLe32(h + 0x49), 7u);           // highest autoincrement value
    EXPECT_EQ(h[0x55], 0);
    EXPECT_EQ(h[0x56], 0x20);
    EXPECT_EQ(loadLe16(h + 0x58), 0x010B);
    EXPECT_EQ(loadLe16(h + 0x5A), 0x010B);
    EXPECT_EQ(loadLe32(h + 0x5C), 0u);           // not encrypted
    EXPECT_EQ(loadLe32(h + 0x60), 1'630'000'000u);
    EXPECT_EQ(loadLe16(h + 0x64), 4);
    EXPECT_EQ(loadLe16(h + 0x6A), 1252);
    EXPECT_EQ(h[0x6C], 1);
    EXPECT_EQ(h[0x6D], 1);
    EXPECT_EQ(h[0x70], 1);
    // Descriptors, then the names after the 79-byte table name (docs/paradox-format.md §3.4).
    EXPECT_EQ(h[0x78], 0x16);
    EXPECT_EQ(h[0x7D], 2); // BCD size byte: decimals
    const int namesStart = 0xCB + 6 * 3;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(h + 0x78 + 6 * 3 + 4)), "CUSTOMER.DB");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(h + namesStart)), "Id");
    const int fieldNumbers = namesStart + 3 + 5 + 5;
    EXPECT_EQ(0x58 + loadLe16(h + 0x66), fieldNumbers);
    EXPECT_EQ(loadLe16(h + fieldNumbers + 4), 3);
    EXPECT_EQ(0x58 + loadLe16(h + 0x6E), fieldNumbers + 6);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(h + fieldNumbers + 6)), "ANSIINTL");
    EXPECT_EQ(loadLe16(h + 0x51), fieldNumbers + 6 + 9);
    // One block: next 0, previous 0, last record at offset recordSize.
    EXPECT_EQ(table.table.size(), 0x800u + 4096u);
    EXPECT_EQ(loadLe16(h + 0x800), 0);
    EXPECT_EQ(loadLe16(h + 0x802), 0);
    EXPECT_EQ(loadLe16(h + 0x804), 31);
}

TEST(WriterHeader, BlockSizeGrowsForLargeRecordsAndTables)
{
    MemorySink table;
    MemorySink blobs;
    {
        TableEncoder encoder({{"A", FieldType::Alpha, 255}}, table, &blobs);
        EXPECT_EQ(encoder.blockSize(), 4096);
    }
    std::vector<Field> wide;
    for (int i = 0; i < 20; ++i)
        wide.push_back({"A" + std::to_string(i), FieldType::Alpha, 255});
    {
        MemorySink sink;
        TableEncoder encoder(wide, sink, nullptr);
        EXPECT_EQ(encoder.blockSize(), 16384); // 5100-byte records
    }
    {
        MemorySink sink;
        EncoderOptions options;
        options.expectedRecords = 6'000'000;
        TableEncoder encoder({{"A", FieldType::Alpha, 50}}, sink, nullptr, options);
        EXPECT_EQ(encoder.blockSize(), 16384); // at 81 per 4 KB block they would need 74075 blocks
    }
}

TEST(WriterHeader, AFullTableRefusesTheNextRecordClearly)
{
    MemorySink sink;
    EncoderOptions options;
    options.blockSizeKB = 1;
    TableEncoder encoder({{"A", FieldType::Alpha, 255}, {"B", FieldType::Alpha, 255}, {"C", FieldType::Alpha, 255},
                          {"D", FieldType::Alpha, 250}},
                         sink, nullptr, options); // 1015 bytes: one record per 1 KB block
    const std::vector<Value> row = {std::string("a"), Null{}, Null{}, Null{}};
    for (int i = 0; i < 65535; ++i)
        encoder.append(row);
    try {
        encoder.append(row);
        FAIL();
    } catch (const ValueError& error) {
        EXPECT_EQ(error.row(), 65536u);
        EXPECT_NE(std::string(error.what()).find("65535 blocks"), std::string::npos);
    }
    encoder.finish();
    auto reader = testing::readerOf({sink.bytes(), {}});
    EXPECT_EQ(reader.countRecords(), 65535u);
}

} // namespace
} // namespace quintabel::paradox
