#include "paradoxfile/detail/unscrambling_source.h"

#include "paradoxfile/errors.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quintabel::paradox::detail {

namespace {

// Large reads are unscrambled a slice at a time, so the scratch buffer stays small.
constexpr std::uint64_t chunksPerRead = 256;

} // namespace

std::unique_ptr<ByteSource> UnscramblingSource::forTable(std::unique_ptr<ByteSource> scrambled, std::uint32_t key,
                                                         std::uint64_t headerSize, std::uint64_t blockSize)
{
    return std::unique_ptr<ByteSource>(new UnscramblingSource(std::move(scrambled), key, headerSize, blockSize, false));
}

std::unique_ptr<ByteSource> UnscramblingSource::forBlobs(std::unique_ptr<ByteSource> scrambled, std::uint32_t key)
{
    return std::unique_ptr<ByteSource>(new UnscramblingSource(std::move(scrambled), key, 0, scrambleChunkSize, true));
}

UnscramblingSource::UnscramblingSource(std::unique_ptr<ByteSource> scrambled, std::uint32_t key,
                                       std::uint64_t plainBytes, std::uint64_t blockSize, bool blobFile)
    : scrambled_(std::move(scrambled)),
      key_(key),
      unscrambler_(key),
      plainBytes_(plainBytes),
      chunksPerBlock_(std::max<std::uint64_t>(1, blockSize / scrambleChunkSize)),
      blobFile_(blobFile)
{
    const std::uint64_t total = scrambled_->size();
    if (total <= plainBytes_)
        size_ = total;
    else
        size_ = plainBytes_ + (total - plainBytes_) / scrambleChunkSize * scrambleChunkSize;
}

ChunkKey UnscramblingSource::keyOfChunk(std::uint64_t chunk) const
{
    if (blobFile_)
        return blobChunkKey(key_);
    return tableChunkKey(key_, chunk / chunksPerBlock_ + 1, chunk % chunksPerBlock_);
}

void UnscramblingSource::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const
{
    if (offset > size_ || buffer.size() > size_ - offset)
        throw IoError("Cannot read " + std::to_string(buffer.size()) + " bytes at offset " + std::to_string(offset)
                      + " of '" + name() + "': past the last whole scrambled chunk");
    std::size_t done = 0;
    if (offset < plainBytes_) {
        const auto plain = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), plainBytes_ - offset));
        scrambled_->readAt(offset, buffer.first(plain));
        done = plain;
    }
    if (done == buffer.size())
        return;

    // The rest lies in the scrambled part: read the chunks it touches, a slice at a time.
    const std::uint64_t start = offset + done - plainBytes_;
    const std::uint64_t end = offset + buffer.size() - plainBytes_;
    const std::uint64_t firstChunk = start / scrambleChunkSize;
    const std::uint64_t lastChunk = (end - 1) / scrambleChunkSize;
    std::array<std::uint8_t, scrambleChunkSize> plain{};
    for (std::uint64_t slice = firstChunk; slice <= lastChunk; slice += chunksPerRead) {
        const std::uint64_t count = std::min(chunksPerRead, lastChunk - slice + 1);
        chunks_.resize(static_cast<std::size_t>(count * scrambleChunkSize));
        scrambled_->readAt(plainBytes_ + slice * scrambleChunkSize, chunks_);
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t chunk = slice + i;
            const std::uint8_t* scrambled = chunks_.data() + i * scrambleChunkSize;
            // The part of this chunk the caller asked for: mostly all of it, unscrambled in place.
            const std::uint64_t chunkStart = chunk * scrambleChunkSize;
            const std::uint64_t from = std::max(start, chunkStart);
            const std::uint64_t to = std::min(end, chunkStart + scrambleChunkSize);
            std::uint8_t* target = buffer.data() + (from - start) + done;
            if (to - from == scrambleChunkSize) {
                unscrambler_.unscramble(scrambled, target, keyOfChunk(chunk));
            } else {
                unscrambler_.unscramble(scrambled, plain.data(), keyOfChunk(chunk));
                std::memcpy(target, plain.data() + (from - chunkStart), static_cast<std::size_t>(to - from));
            }
        }
    }
}

} // namespace quintabel::paradox::detail
