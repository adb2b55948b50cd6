#pragma once
// Writing small tables for the tests, in memory or in a scratch folder.

#include "paradoxfile/byte_io.h"
#include "paradoxfile/table_encoder.h"
#include "paradoxfile/table_reader.h"
#include "paradoxfile/table_writer.h"

#include <memory>
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

inline Rows readAll(TableReader& reader)
{
    Rows rows;
    std::vector<Value> record;
    while (reader.next(record))
        rows.push_back(record);
    return rows;
}

} // namespace quintabel::paradox::testing
