#pragma once
// Writing small tables for the tests, in memory or in a scratch folder.

#include "paradoxfile/byte_io.h"
#include "paradoxfile/table_encoder.h"
#include "paradoxfile/table_reader.h"
#include "paradoxfile/table_writer.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quintabel::paradox::testing {

using Rows = std::vector<std::vector<Value>>;

// A table encoded into memory.
struct MemoryTable {
    std::vector<std::uint8_t> table;
    std::vector<std::uint8_t> blobs; // empty when the table has no blob fields
};

inline MemoryTable encodeInMemory(const std::vector<Field>& fields, const Rows& rows, EncoderOptions options = {})
{
    MemorySink table("mem.db");
    MemorySink blobs("mem.mb");
    if (!options.updateTime)
        options.updateTime = 1'600'000'000;
    TableEncoder encoder(fields, table, &blobs, options);
    for (const auto& row : rows)
        encoder.append(row);
    encoder.finish();
    bool hasBlobs = false;
    for (const auto& field : encoder.fields())
        hasBlobs = hasBlobs || isBlobType(field.type);
    return {table.bytes(), hasBlobs ? blobs.bytes() : std::vector<std::uint8_t>{}};
}

inline TableReader readerOf(const MemoryTable& table, const ReaderOptions& options = {})
{
    std::unique_ptr<ByteSource> blobs;
    if (!table.blobs.empty())
        blobs = std::make_unique<MemorySource>(table.blobs, "mem.mb");
    return TableReader(std::make_unique<MemorySource>(table.table, "mem.db"), std::move(blobs), options);
}

// Writes the table `folder`/`name`.DB (`name` of two letters or more), sound but for the table name in its header, whose
// bytes are no text in the table's code page 936: the reader refuses it as soon as it opens
// it, with a failure the user can put right (InvalidTextError).
inline void writeTableWithUnreadableName(const std::filesystem::path& folder, const std::string& name)
{
    WriterOptions options;
    options.codePage = 936;
    const std::filesystem::path path = [&] {
        TableWriter writer(folder, name, {Field{"NAME", FieldType::Alpha, 10, 0}}, options);
        const Value value = std::string("text");
        writer.append(std::span<const Value>(&value, 1));
        writer.commit();
        return writer.tablePath();
    }();
    std::vector<char> bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // The table name follows the 0x78 bytes of a 5.x header's fixed part, the one field's
    // 2-byte descriptor, a 4-byte pointer and the field's 4-byte name pointer. A GBK lead byte
    // followed by DEL is no text.
    const std::size_t tableName = 0x78 + 2 + 4 + 4;
    bytes.at(tableName) = '\x81';
    bytes.at(tableName + 1) = '\x7f';
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Writes `folder`/`name`.DB, one Alpha field `fieldName` holding `texts`, in code page
// `writtenIn`, then makes its header name `labelledAs` instead, as some old tools labelled
// their tables: a sound table whose header names the wrong code page.
inline std::filesystem::path writeMislabelledTable(const std::filesystem::path& folder, const std::string& name,
                                                   const std::string& fieldName, const std::vector<std::string>& texts,
                                                   int writtenIn, int labelledAs)
{
    WriterOptions options;
    options.codePage = writtenIn;
    const std::filesystem::path path = [&] {
        TableWriter writer(folder, name, {Field{fieldName, FieldType::Alpha, 40, 0}}, options);
        for (const std::string& text : texts) {
            const Value value = text;
            writer.append(std::span<const Value>(&value, 1));
        }
        writer.commit();
        return writer.tablePath();
    }();
    // The header's code page is the 16-bit little-endian number at 0x6A.
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(0x6A);
    const char label[] = {static_cast<char>(labelledAs & 0xFF), static_cast<char>((labelledAs >> 8) & 0xFF)};
    file.write(label, 2);
    return path;
}

inline Rows readAll(TableReader& reader)
{
    Rows rows;
    std::vector<Value> record;
    while (reader.next(record))
        rows.push_back(record);
    return rows;
}

} // namespace quintabel::paradox::testing
