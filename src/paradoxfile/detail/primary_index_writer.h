#pragma once
// Writes the primary index (.PX) of a keyed table while the table's data blocks are written
// (docs/paradox-format.md §13.1, §13.2). Level 1 holds one entry per data block: the block's
// first key, its number and its record count. Each level above holds one entry per block of
// the level below, until one block, the root, holds them all. Level-1 blocks go to the sink as
// they fill; only the levels above, one entry per index block, wait in memory for the end.

#include "paradoxfile/field.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quintabel::paradox {
class ByteSink;
}

namespace quintabel::paradox::detail {

struct PrimaryIndexLayout {
    std::vector<Field> keyFields; // the table's key fields, sizes filled in
    int blockSize = 0;            // bytes; primaryIndexBlockSize() chooses it
    std::uint8_t sortOrder = 0;   // the table's language-driver byte
    std::uint8_t fileVersion = 0; // the table's version byte
    std::string tableName;        // as the header stores it: "ORDERS.PX" in the code page
};

// The block size of the index of a table with blocks of `tableBlockSize` bytes and keys of
// `keySize` bytes: the table's own, or the next larger one when it would hold fewer than three
// entries (a tree of two entries a block would need too many blocks).
int primaryIndexBlockSize(int tableBlockSize, int keySize);

class PrimaryIndexWriter {
public:
    // Writes the header at once; finish() completes it.
    PrimaryIndexWriter(ByteSink& sink, PrimaryIndexLayout layout);

    // Data block `block` of the table, which has just been written, begins with `firstKey`
    // and holds `records` records. Blocks come in key order.
    void addDataBlock(std::span<const std::uint8_t> firstKey, int block, int records);

    // Writes the last level-1 block and the levels above it, completes the header and
    // finishes the sink.
    void finish();

private:
    // Entries that wait for their block: the keys back to back, and per entry the block it
    // points at and the records below it.
    struct Entries {
        std::vector<std::uint8_t> keys;
        std::vector<int> blocks;
        std::vector<int> records;
        std::size_t size() const { return blocks.size(); }
        void add(std::span<const std::uint8_t> key, int block, int count);
        void clear();
    };

    void writeBlock(const Entries& entries, std::size_t first, std::size_t count, int next, int previous);
    void flushLevelOneBlock(bool last);

    ByteSink& sink_;
    PrimaryIndexLayout layout_;
    std::vector<std::uint8_t> header_;
    std::size_t keySize_ = 0;
    std::size_t entrySize_ = 0;
    std::size_t entriesPerBlock_ = 0;

    Entries pending_;  // the level-1 entries of the block being filled
    Entries levelTwo_; // one entry per level-1 block written
    int levelOneBlocks_ = 0;
    std::uint32_t entryCount_ = 0;
    std::vector<std::uint8_t> block_;
};

} // namespace quintabel::paradox::detail
