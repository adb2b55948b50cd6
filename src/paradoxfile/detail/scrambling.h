#pragma once
// The scrambling of a password-protected Paradox table (docs/paradox-format.md §12). Paradox
// scrambles the data blocks of the .DB and the whole .MB with a key it keeps in the .DB header,
// not with the password itself, so a protected table can be read without the password.
//
// The scrambling works on 256-byte chunks: every chunk of a data block (counted from the
// block's start) and every 256-byte chunk of the .MB (counted from the start of the file).
// A chunk's bytes are moved to other places in the chunk and mixed with three fixed tables;
// where they go and what they are mixed with depend on the key and, in the .DB, on the block
// number and on the chunk's place in its block.
//
// The library only ever unscrambles when it reads; it never writes a protected table. The
// scrambling direction is here for the tests, the fuzz corpus and the benchmark, which make
// protected twins of plain tables with it.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace quintabel::paradox::detail {

inline constexpr std::size_t scrambleChunkSize = 256;

// The two key bytes a chunk is scrambled with, and the two that say where it lies.
struct ChunkKey {
    std::uint8_t keyLow = 0;
    std::uint8_t keyHigh = 0;
    std::uint8_t chunk = 0;
    std::uint8_t block = 0;
};

// The key of the chunk `chunkInBlock` (0-based) of data block `blockNumber` (1-based) of a .DB.
ChunkKey tableChunkKey(std::uint32_t key, std::uint64_t blockNumber, std::uint64_t chunkInBlock);

// The key of every chunk of a .MB: the same for all of them.
ChunkKey blobChunkKey(std::uint32_t key);

// One chunk of `scrambleChunkSize` bytes from `plain` to `scrambled` (they must not overlap):
// the plain statement of the transformation, which ChunkUnscrambler undoes.
void scrambleChunk(const std::uint8_t* plain, std::uint8_t* scrambled, const ChunkKey& key);

// Unscrambles the chunks of one table's files, for the reader: each byte goes back from the
// place scrambleChunk() put it, its mask undone, with the parts of each byte's mask that stay
// the same from chunk to chunk worked out once, so that a protected table reads nearly as fast
// as a plain one.
class ChunkUnscrambler {
public:
    explicit ChunkUnscrambler(std::uint32_t key);
    // `key` must come from tableChunkKey() or blobChunkKey() with this object's key.
    void unscramble(const std::uint8_t* scrambled, std::uint8_t* plain, const ChunkKey& key);

private:
    void prepareBlock(std::uint8_t block);

    std::uint8_t keyLow_;
    std::uint8_t keyHigh_;
    // The part of each byte's mask that depends on the byte's index alone.
    std::array<std::uint8_t, scrambleChunkSize> indexMask_{};
    // The part that depends on the chunk's place less the block: 256 rows of 256.
    std::vector<std::uint8_t> offsetMasks_;
    // For the block last prepared: where each byte lies, and its mask less the offset part.
    bool prepared_ = false;
    std::uint8_t preparedBlock_ = 0;
    std::array<std::uint8_t, scrambleChunkSize> places_{};
    std::array<std::uint8_t, scrambleChunkSize> blockMask_{};
};

// Turns the bytes of a plain .DB (and of its .MB, which may be empty) into those of the same
// table protected with `key` (not 0): marks the header and scrambles every whole chunk of the
// data blocks and of the .MB, as Paradox would. For making test tables; returns false (and
// changes nothing) when the .DB is too short to hold a table header.
bool protectTableBytes(std::vector<std::uint8_t>& table, std::vector<std::uint8_t>& blobs, std::uint32_t key);

} // namespace quintabel::paradox::detail
