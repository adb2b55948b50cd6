// libFuzzer target: reads a whole Paradox table, .DB and .MB, from one memory buffer, the way
// the program reads a user's table: header, block chain, every record, every blob.
//
// Input: a little-endian u32 n, then n bytes of .DB, then the .MB (possibly empty). The seed
// corpus is made from the real tables in the shared test data (see make_seeds.cpp).
#include "paradoxfile/byte_io.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_reader.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

using namespace quintabel::paradox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    std::uint32_t tableLength = 0;
    std::memcpy(&tableLength, data, 4);
    const std::size_t rest = size - 4;
    if (tableLength > rest)
        tableLength = static_cast<std::uint32_t>(rest);
    const std::span<const std::uint8_t> table(data + 4, tableLength);
    const std::span<const std::uint8_t> blobs(data + 4 + tableLength, rest - tableLength);
    try {
        std::unique_ptr<ByteSource> blobSource;
        if (!blobs.empty())
            blobSource = std::make_unique<MemorySource>(blobs, "fuzz.mb");
        TableReader reader(std::make_unique<MemorySource>(table, "fuzz.db"), std::move(blobSource));
        reader.countRecords();
        std::vector<Value> record;
        while (reader.next(record)) {
        }
    } catch (const Error&) {
        // A clear error is the right answer to a bad file. Anything else (a crash, a hang, a
        // std::bad_alloc from a huge allocation) is a finding.
    }
    return 0;
}
