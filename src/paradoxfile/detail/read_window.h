#pragma once
// A window of bytes read ahead from a ByteSource, so that walking a table block by block (or
// a .MB slot by slot) costs one read per window instead of one or two per block. Its size is
// fixed: memory stays flat however large the file.

#include "paradoxfile/byte_io.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace quintabel::paradox::detail {

class ReadWindow {
public:
    explicit ReadWindow(std::size_t windowSize) : windowSize_(windowSize) {}

    // The `length` bytes at `offset`, which the caller has checked lie inside the source.
    // Valid until the next call.
    std::span<const std::uint8_t> get(const ByteSource& source, std::uint64_t offset, std::size_t length)
    {
        if (offset < start_ || offset + length > start_ + buffer_.size()) {
            const std::uint64_t size = source.size();
            const std::size_t wanted = std::max(length, windowSize_);
            const auto available = static_cast<std::size_t>(std::min<std::uint64_t>(wanted, size - offset));
            buffer_.resize(available);
            start_ = offset;
            source.readAt(offset, buffer_);
        }
        return {buffer_.data() + (offset - start_), length};
    }

    void clear()
    {
        buffer_.clear();
        buffer_.shrink_to_fit();
        start_ = 0;
    }

private:
    std::size_t windowSize_;
    std::uint64_t start_ = 0;
    std::vector<std::uint8_t> buffer_;
};

} // namespace quintabel::paradox::detail
