#pragma once
// A ByteSource that shows a protected table's file as it would be unprotected, so that the
// reader walks blocks, records and blobs exactly as in a plain table. Only whole 256-byte
// chunks can be unscrambled (each byte's plain value may come from anywhere in its chunk), so
// the source ends at the last whole chunk: a file cut off inside a chunk reads as a shorter
// file, and the reader's own checks report the cut.

#include "paradoxfile/byte_io.h"
#include "paradoxfile/detail/scrambling.h"

#include <memory>

namespace quintabel::paradox::detail {

class UnscramblingSource final : public ByteSource {
public:
    // A .DB: the header (its first `headerSize` bytes) is plain; the data blocks of
    // `blockSize` bytes after it are scrambled chunk by chunk.
    static std::unique_ptr<ByteSource> forTable(std::unique_ptr<ByteSource> scrambled, std::uint32_t key,
                                                std::uint64_t headerSize, std::uint64_t blockSize);
    // A .MB: scrambled chunk by chunk from its first byte.
    static std::unique_ptr<ByteSource> forBlobs(std::unique_ptr<ByteSource> scrambled, std::uint32_t key);

    std::uint64_t size() const override { return size_; }
    void readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override;
    std::string name() const override { return scrambled_->name(); }

private:
    UnscramblingSource(std::unique_ptr<ByteSource> scrambled, std::uint32_t key, std::uint64_t plainBytes,
                       std::uint64_t blockSize, bool blobFile);
    ChunkKey keyOfChunk(std::uint64_t chunk) const;

    std::unique_ptr<ByteSource> scrambled_;
    std::uint32_t key_;
    mutable ChunkUnscrambler unscrambler_;
    std::uint64_t plainBytes_; // the unscrambled start of the file: the .DB header
    std::uint64_t chunksPerBlock_;
    bool blobFile_;
    std::uint64_t size_;
    mutable std::vector<std::uint8_t> chunks_; // scrambled chunks, read in one go
};

} // namespace quintabel::paradox::detail
