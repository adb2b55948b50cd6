#include "support/index_walk.h"

#include "paradoxfile/detail/endian.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace quintabel::paradox::testing {

namespace {

using detail::loadLe16;

std::vector<std::uint8_t> contentOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The records (or entries) of block `number`: where the first starts, and how many there are.
struct Block {
    const std::uint8_t* first = nullptr;
    int count = 0;
};

Block blockOf(const std::vector<std::uint8_t>& file, int number, std::size_t recordSize)
{
    const std::size_t size = file.at(5) * 1024u;
    const std::size_t start = loadLe16(file.data() + 2) + (static_cast<std::size_t>(number) - 1) * size;
    if (number < 1 || start + size > file.size())
        return {};
    const auto last = static_cast<std::int16_t>(loadLe16(file.data() + start + 4));
    return {file.data() + start + 6, last < 0 ? 0 : last / static_cast<int>(recordSize) + 1};
}

} // namespace

IndexWalk::IndexWalk(const std::filesystem::path& pxFile, const std::filesystem::path& dbFile)
    : index_(contentOf(pxFile)), table_(contentOf(dbFile))
{
}

int IndexWalk::find(std::span<const std::uint8_t> key) const
{
    const auto& index = index_;
    const auto& table = table_;
    const std::size_t entrySize = loadLe16(index.data());
    const int levels = index.at(0x20);
    int block = loadLe16(index.data() + 0x1E);
    for (int level = levels; level >= 1; --level) {
        const Block entries = blockOf(index, block, entrySize);
        int chosen = -1;
        for (int i = 0; i < entries.count; ++i)
            if (std::memcmp(entries.first + i * entrySize, key.data(), key.size()) <= 0)
                chosen = i;
        if (chosen < 0)
            return 0;
        // The block number: big-endian, top bit flipped.
        block = detail::loadBe16(entries.first + chosen * entrySize + key.size()) ^ 0x8000;
    }
    const std::size_t recordSize = loadLe16(table.data());
    const Block records = blockOf(table, block, recordSize);
    for (int i = 0; i < records.count; ++i)
        if (std::memcmp(records.first + i * recordSize, key.data(), key.size()) == 0)
            return levels;
    return 0;
}

} // namespace quintabel::paradox::testing
