#pragma once
// Finds a blob's bytes in a .MB file (paradox-format.md §5.2, §5.3), checking every offset and
// length against the file before it reads or allocates.

#include <cstdint>
#include <string>
#include <vector>

namespace quintabel::paradox {
class ByteSource;
}

namespace quintabel::paradox::detail {

class BlobReader {
public:
    // `blobs` may be null: the table has no .MB; `tableFile` names the .DB in messages.
    BlobReader(const ByteSource* blobs, std::string tableFile);

    // Reads the `length` bytes that `pointer` (from a record's blob field) leads to.
    // `where` describes the field and record for messages ("field 'Notes' of record 12").
    void read(std::uint32_t pointer, std::uint32_t length, const std::string& where,
              std::vector<std::uint8_t>& out);

private:
    const ByteSource* blobs_;
    std::string tableFile_;
    // The last suballocated block read: consecutive small memos usually share one.
    std::uint64_t cachedOffset_ = 0;
    std::vector<std::uint8_t> cachedBlock_;
};

} // namespace quintabel::paradox::detail
