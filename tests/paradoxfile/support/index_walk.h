#pragma once
// Finding a record through a primary index the way Paradox does (docs/paradox-format.md
// §13.1), for the tests: from the root, in each index block the last entry whose key is not
// above the key sought, down to a data block of the table, and there the record.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace quintabel::paradox::testing {

class IndexWalk {
public:
    // Reads both files whole.
    IndexWalk(const std::filesystem::path& pxFile, const std::filesystem::path& dbFile);

    // The number of index levels walked to find the record with `key`; 0 when the walk ends in
    // a block that does not hold it.
    int find(std::span<const std::uint8_t> key) const;

private:
    std::vector<std::uint8_t> index_;
    std::vector<std::uint8_t> table_;
};

} // namespace quintabel::paradox::testing
