#include "paradoxfile/detail/primary_index_writer.h"

#include "paradoxfile/byte_io.h"
#include "paradoxfile/detail/endian.h"

#include <algorithm>
#include <cstring>

namespace quintabel::paradox::detail {

namespace {

constexpr std::size_t headerSize = 0x800;
constexpr std::size_t variablePart = 0x58; // index files have no 5.x extension
constexpr std::size_t tableNameArea = 79;   // levels 3.0 to 5.x
constexpr std::size_t blockHeaderSize = 6;
constexpr std::size_t entryTail = 6; // block number, record count, a word always 0
constexpr int largestCount = 32767;

// The three words after an entry's key are stored like Short values: big-endian with the top
// bit flipped. Block numbers above 32767 keep the rule as unsigned numbers (§13.1).
void storeIndexWord(std::uint8_t* p, int value)
{
    storeBe16(p, static_cast<std::uint16_t>(static_cast<unsigned>(value) ^ 0x8000u));
}

// One level's blocks: how many entries each, in key order; the number of the first.
struct LevelBlocks {
    int firstNumber = 0;
    std::vector<std::size_t> starts; // index of each block's first entry
};

} // namespace

int primaryIndexBlockSize(int tableBlockSize, int keySize)
{
    const int entrySize = keySize + static_cast<int>(entryTail);
    for (const int kb : {1, 2, 3, 4, 16, 32}) {
        const int size = kb * 1024;
        if (size >= tableBlockSize && (size - static_cast<int>(blockHeaderSize)) / entrySize >= 3)
            return size;
    }
    return 32 * 1024; // a key takes at most 16 × 255 bytes: 32 KB hold eight entries
}

void PrimaryIndexWriter::Entries::add(std::span<const std::uint8_t> key, int block, int count)
{
    keys.insert(keys.end(), key.begin(), key.end());
    blocks.push_back(block);
    records.push_back(count);
}

void PrimaryIndexWriter::Entries::clear()
{
    keys.clear();
    blocks.clear();
    records.clear();
}

PrimaryIndexWriter::PrimaryIndexWriter(ByteSink& sink, PrimaryIndexLayout layout)
    : sink_(sink), layout_(std::move(layout))
{
    for (const Field& field : layout_.keyFields)
        keySize_ += static_cast<std::size_t>(field.size);
    entrySize_ = keySize_ + entryTail;
    entriesPerBlock_ = (static_cast<std::size_t>(layout_.blockSize) - blockHeaderSize) / entrySize_;
    block_.assign(static_cast<std::size_t>(layout_.blockSize), 0);

    const std::size_t n = layout_.keyFields.size();
    header_.assign(headerSize, 0);
    std::uint8_t* h = header_.data();
    storeLe16(h + 0x00, static_cast<std::uint16_t>(entrySize_));
    storeLe16(h + 0x02, static_cast<std::uint16_t>(headerSize));
    h[0x04] = 1; // primary index
    h[0x05] = static_cast<std::uint8_t>(layout_.blockSize / 1024);
    storeLe16(h + 0x1E, 1); // an empty index names block 1 as its root, as Paradox's do
    storeLe16(h + 0x21, static_cast<std::uint16_t>(n));
    h[0x29] = layout_.sortOrder;
    h[0x39] = layout_.fileVersion;
    // Every index file seen holds at least 1 here; those Paradox had just rebuilt, 1.
    storeLe32(h + 0x49, 1);
    for (std::size_t i = 0; i < n; ++i) {
        const Field& field = layout_.keyFields[i];
        h[variablePart + 2 * i] = static_cast<std::uint8_t>(field.type);
        h[variablePart + 2 * i + 1] =
            static_cast<std::uint8_t>(field.type == FieldType::Bcd ? field.decimals : field.size);
    }
    const std::size_t tableName = variablePart + 2 * n + 4;
    std::memcpy(h + tableName, layout_.tableName.data(), std::min(layout_.tableName.size(), tableNameArea - 1));
    storeLe16(h + 0x51, static_cast<std::uint16_t>(tableName + tableNameArea));
    sink_.write(header_);
}

void PrimaryIndexWriter::addDataBlock(std::span<const std::uint8_t> firstKey, int block, int records)
{
    if (pending_.size() == entriesPerBlock_)
        flushLevelOneBlock(false);
    pending_.add(firstKey.first(keySize_), block, records);
    ++entryCount_;
}

void PrimaryIndexWriter::writeBlock(const Entries& entries, std::size_t first, std::size_t count, int next,
                                    int previous)
{
    std::fill(block_.begin(), block_.end(), std::uint8_t{0});
    storeLe16(block_.data(), static_cast<std::uint16_t>(next));
    storeLe16(block_.data() + 2, static_cast<std::uint16_t>(previous));
    storeLe16(block_.data() + 4, static_cast<std::uint16_t>((count - 1) * entrySize_));
    std::uint8_t* p = block_.data() + blockHeaderSize;
    for (std::size_t i = first; i < first + count; ++i, p += entrySize_) {
        std::memcpy(p, entries.keys.data() + i * keySize_, keySize_);
        storeIndexWord(p + keySize_, entries.blocks[i]);
        // A count of the records below the entry: statistics, kept within a Short's range.
        storeIndexWord(p + keySize_ + 2, std::min(entries.records[i], largestCount));
        storeIndexWord(p + keySize_ + 4, 0);
    }
    sink_.write(block_);
}

void PrimaryIndexWriter::flushLevelOneBlock(bool last)
{
    const int number = ++levelOneBlocks_;
    writeBlock(pending_, 0, pending_.size(), last ? 0 : number + 1, number - 1);
    int records = 0;
    for (const int count : pending_.records)
        records += count;
    levelTwo_.add({pending_.keys.data(), keySize_}, number, records);
    pending_.clear();
}

void PrimaryIndexWriter::finish()
{
    if (pending_.size() > 0)
        flushLevelOneBlock(true);

    // The levels above the first, bottom up: the entries of each, and how they fill blocks.
    // Blocks are numbered on after the level-1 blocks, level by level; the root comes last.
    std::vector<Entries> levels;
    std::vector<LevelBlocks> blocks;
    int nextNumber = levelOneBlocks_ + 1;
    if (levelOneBlocks_ > 1)
        levels.push_back(std::move(levelTwo_));
    while (!levels.empty()) {
        const Entries& entries = levels.back();
        LevelBlocks level;
        level.firstNumber = nextNumber;
        for (std::size_t start = 0; start < entries.size(); start += entriesPerBlock_)
            level.starts.push_back(start);
        nextNumber += static_cast<int>(level.starts.size());
        blocks.push_back(level);
        entryCount_ += static_cast<std::uint32_t>(entries.size());
        if (level.starts.size() == 1)
            break;
        Entries above;
        for (std::size_t b = 0; b < level.starts.size(); ++b) {
            const std::size_t end = std::min(level.starts[b] + entriesPerBlock_, entries.size());
            int records = 0;
            for (std::size_t i = level.starts[b]; i < end; ++i)
                records += entries.records[i];
            above.add({entries.keys.data() + level.starts[b] * keySize_, keySize_},
                      level.firstNumber + static_cast<int>(b), records);
        }
        levels.push_back(std::move(above));
    }

    // The chain runs from the root down, each level in key order, and ends with the level-1
    // blocks: pxlib takes the first block of the chain for the level above level 1 (§13.2).
    std::vector<int> chain;
    for (auto level = blocks.rbegin(); level != blocks.rend(); ++level)
        for (std::size_t b = 0; b < level->starts.size(); ++b)
            chain.push_back(level->firstNumber + static_cast<int>(b));
    // Upper blocks are numbered levelOneBlocks_ + 1 onwards: where each stands in the chain.
    std::vector<std::size_t> placeInChain(chain.size());
    for (std::size_t at = 0; at < chain.size(); ++at)
        placeInChain[static_cast<std::size_t>(chain[at] - levelOneBlocks_ - 1)] = at;
    const auto neighbours = [&](int number) {
        const std::size_t at = placeInChain[static_cast<std::size_t>(number - levelOneBlocks_ - 1)];
        return std::pair{at + 1 < chain.size() ? chain[at + 1] : 1, at > 0 ? chain[at - 1] : 0};
    };
    for (std::size_t l = 0; l < blocks.size(); ++l) {
        const Entries& entries = levels[l];
        for (std::size_t b = 0; b < blocks[l].starts.size(); ++b) {
            const std::size_t start = blocks[l].starts[b];
            const auto [next, previous] = neighbours(blocks[l].firstNumber + static_cast<int>(b));
            writeBlock(entries, start, std::min(entriesPerBlock_, entries.size() - start), next, previous);
        }
    }
    if (!chain.empty()) {
        std::uint8_t previous[2];
        storeLe16(previous, static_cast<std::uint16_t>(chain.back()));
        sink_.writeAt(headerSize + 2, previous); // level-1 block 1 follows the last upper block
    }

    const int totalBlocks = nextNumber - 1;
    const int root = chain.empty() ? 1 : chain.front();
    std::uint8_t* h = header_.data();
    storeLe32(h + 0x06, entryCount_);
    storeLe16(h + 0x0A, static_cast<std::uint16_t>(totalBlocks));
    storeLe16(h + 0x0C, static_cast<std::uint16_t>(totalBlocks));
    storeLe16(h + 0x0E, static_cast<std::uint16_t>(totalBlocks > 0 ? root : 0));
    storeLe16(h + 0x10, static_cast<std::uint16_t>(levelOneBlocks_));
    storeLe16(h + 0x1E, static_cast<std::uint16_t>(root));
    h[0x20] = static_cast<std::uint8_t>(levelOneBlocks_ > 0 ? 1 + blocks.size() : 0);
    storeLe16(h + 0x3A, static_cast<std::uint16_t>(totalBlocks));
    sink_.writeAt(0, {h, variablePart});
    sink_.finish();
}

} // namespace quintabel::paradox::detail
