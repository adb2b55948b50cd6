// Makes the seed corpus of fuzz_paradox_table at build time, into the build folder: every
// table of the shared test data (a u32 length, the .DB, then its .MB when that is small), and
// a few tables written by our own encoder (all field types, blobs in both kinds of .MB block),
// and a password-protected twin of each, scrambled as Paradox scrambles, so that the fuzzer
// walks the unscrambling path too.
//
//   make_seeds TESTDATA_DIR OUTPUT_DIR
#include "paradoxfile/byte_io.h"
#include "paradoxfile/detail/scrambling.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_encoder.h"
#include "paradoxfile/table_header.h"
#include "paradoxfile/table_family.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using namespace quintabel::paradox;

namespace {

constexpr std::uintmax_t largestBlobFile = 256 * 1024;

std::vector<std::uint8_t> contentOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeOneSeed(const fs::path& path, const std::vector<std::uint8_t>& table, const std::vector<std::uint8_t>& blobs)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const auto length = static_cast<std::uint32_t>(table.size());
    const char prefix[4] = {static_cast<char>(length), static_cast<char>(length >> 8), static_cast<char>(length >> 16),
                            static_cast<char>(length >> 24)};
    out.write(prefix, 4);
    out.write(reinterpret_cast<const char*>(table.data()), static_cast<std::streamsize>(table.size()));
    out.write(reinterpret_cast<const char*>(blobs.data()), static_cast<std::streamsize>(blobs.size()));
}

// The table as it is, and a protected twin of it when it is not protected already.
void writeSeed(const fs::path& path, const std::vector<std::uint8_t>& table, const std::vector<std::uint8_t>& blobs)
{
    writeOneSeed(path, table, blobs);
    auto lockedTable = table;
    auto lockedBlobs = blobs;
    bool plain = false;
    try {
        plain = !parseTableHeader(MemorySource(std::span<const std::uint8_t>(table))).encrypted;
    } catch (const Error&) {
    }
    if (plain && detail::protectTableBytes(lockedTable, lockedBlobs, 0x4B1DC0DEu))
        writeOneSeed(path.string() + "_protected", lockedTable, lockedBlobs);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_seeds TESTDATA_DIR OUTPUT_DIR\n");
        return 2;
    }
    const fs::path testdata = fs::path(argv[1]) / "paradox";
    const fs::path output = argv[2];
    fs::create_directories(output);
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(testdata)) {
        if (!entry.is_regular_file() || !equalIgnoringCase(entry.path().extension().string(), ".db"))
            continue;
        std::vector<std::uint8_t> blobs;
        if (const auto mb = findBlobFile(entry.path()); mb && fs::file_size(*mb) <= largestBlobFile)
            blobs = contentOf(*mb);
        std::string name = fs::relative(entry.path(), testdata).string();
        for (char& c : name)
            if (c == '/')
                c = '_';
        writeSeed(output / name, contentOf(entry.path()), blobs);
        ++count;
    }

    // Our own: every type, small and large blobs, two blocks.
    const std::vector<Field> fields = {
        {"A", FieldType::Alpha, 12}, {"S", FieldType::Short, 0},     {"I", FieldType::Long, 0},
        {"C", FieldType::Money, 0},  {"N", FieldType::Number, 0},    {"L", FieldType::Logical, 0},
        {"D", FieldType::Date, 0},   {"T", FieldType::Time, 0},      {"TS", FieldType::Timestamp, 0},
        {"P", FieldType::AutoIncrement, 0}, {"BCD", FieldType::Bcd, 0, 4}, {"Y", FieldType::Bytes, 3},
        {"M", FieldType::Memo, 14},  {"F", FieldType::FormattedMemo, 10}, {"B", FieldType::Binary, 10},
        {"O", FieldType::Ole, 10},   {"G", FieldType::Graphic, 10},
    };
    MemorySink table;
    MemorySink blobs;
    EncoderOptions options;
    options.blockSizeKB = 1;
    options.updateTime = 0;
    TableEncoder encoder(fields, table, &blobs, options);
    for (int i = 1; i <= 8; ++i) {
        const Blob small(static_cast<std::size_t>(i * 13), static_cast<std::uint8_t>(i));
        const Blob large(static_cast<std::size_t>(2100 + i), static_cast<std::uint8_t>(i));
        encoder.append(std::vector<Value>{
            std::string("row ") + std::to_string(i), std::int64_t{-i}, std::int64_t{i * 1000}, i * 1.25, -i / 3.0,
            i % 2 == 0, Date{1990 + i, i, i}, Time{i, i, i, i}, Timestamp{{2000, 1, i}, {i, 0, 0, 0}},
            std::int64_t{i}, Decimal{std::to_string(i) + ".0625"}, Blob{1, 2, static_cast<std::uint8_t>(i)},
            std::string(static_cast<std::size_t>(i * 300), 'm'), std::string("{\\rtf1}"), i % 2 ? small : large,
            small, large});
    }
    encoder.finish();
    writeSeed(output / "own_all_types", table.bytes(), blobs.bytes());
    std::printf("make_seeds: %d tables from the test data and 1 of our own, each with a protected twin, in %s\n",
                count, output.c_str());
    return 0;
}
