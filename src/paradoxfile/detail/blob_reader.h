#pragma once
// Finds a blob's bytes in a .MB file (docs/paradox-format.md §6.5), checking every offset and
// length against the file before it reads or allocates.

#include "paradoxfile/detail/read_window.h"

#include <cstdint>
#include <functional>
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
    // `where` describes the field and record for messages ("field 'Notes' of record 12"); it
    // is called only when something is wrong.
    void read(std::uint32_t pointer, std::uint32_t length, const std::function<std::string()>& where,
              std::vector<std::uint8_t>& out);

private:
    const ByteSource* blobs_;
    std::string tableFile_;
    // Read ahead over the .MB: consecutive small memos share blocks, and blocks follow on.
    ReadWindow window_;
};

} // namespace quintabel::paradox::detail
