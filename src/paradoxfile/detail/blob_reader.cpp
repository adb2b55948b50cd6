#include "paradoxfile/detail/blob_reader.h"

#include "paradoxfile/byte_io.h"
#include "paradoxfile/detail/endian.h"
#include "paradoxfile/detail/messages.h"

#include <algorithm>

namespace quintabel::paradox::detail {

namespace {

constexpr std::uint64_t mbBlockSize = 4096;

} // namespace

BlobReader::BlobReader(const ByteSource* blobs, std::string tableFile)
    : blobs_(blobs), tableFile_(std::move(tableFile)), window_(64 * 1024)
{
}

void BlobReader::read(std::uint32_t pointer, std::uint32_t length, const std::function<std::string()>& where,
                      std::vector<std::uint8_t>& out)
{
    if (!blobs_)
        throwCorrupt(tableFile_, "the value of " + where()
                                     + " is stored in the table's .MB file, which was not found");
    const std::uint64_t size = blobs_->size();
    const std::uint64_t offset = pointer & 0xFFFFFF00u;
    const unsigned index = pointer & 0xFFu;
    // Messages are put together only when one is needed.
    const auto file = [&] { return blobs_->name(); };
    const auto at = [&] {
        return " (the value of " + where() + " in '" + tableFile_ + "' points to offset " + hexNumber(offset) + ")";
    };

    if (offset < mbBlockSize || offset % mbBlockSize != 0)
        throwCorrupt(file(), "a blob pointer is not a block offset" + at());
    if (offset + 3 > size)
        throwCorrupt(file(), "a blob pointer lies past the end of the file" + at());

    const unsigned type = window_.get(*blobs_, offset, 3)[0];

    if (type == 2) {
        if (index != 0xFF)
            throwCorrupt(file(), "a pointer into a single-blob block carries slot " + std::to_string(index) + at());
        if (offset + 9 > size)
            throwCorrupt(file(), "a blob block is cut off by the end of the file" + at());
        const std::uint8_t* head = window_.get(*blobs_, offset, 9).data();
        const std::uint64_t units = loadLe16(head + 1);
        const std::uint32_t storedLength = loadLe32(head + 3);
        if (storedLength != length)
            throwCorrupt(file(), "a blob block holds " + std::to_string(storedLength) + " bytes, but its record says "
                                   + std::to_string(length) + at());
        if (9 + static_cast<std::uint64_t>(length) > units * mbBlockSize)
            throwCorrupt(file(), "a blob of " + std::to_string(length) + " bytes does not fit its block of "
                                   + std::to_string(units) + " × 4096 bytes" + at());
        if (offset + 9 + length > size)
            throwCorrupt(file(), "a blob runs past the end of the file" + at());
        out.resize(length);
        blobs_->readAt(offset + 9, out);
        return;
    }

    if (type == 3) {
        if (index > 63)
            throwCorrupt(file(), "a pointer into a suballocated block carries slot " + std::to_string(index)
                                   + " (there are 64)" + at());
        // The last block of a file written by pxlib may stop short of 4096 bytes.
        const auto available = static_cast<std::size_t>(std::min<std::uint64_t>(mbBlockSize, size - offset));
        const std::uint8_t* block = window_.get(*blobs_, offset, available).data();
        const std::size_t slotAt = 12 + 5 * index;
        if (slotAt + 5 > available)
            throwCorrupt(file(), "a blob slot lies past the end of the file" + at());
        const std::uint8_t* slot = block + slotAt;
        const std::uint64_t dataOffset = static_cast<std::uint64_t>(slot[0]) * 16;
        const unsigned chunks = slot[1];
        const unsigned last = slot[4];
        if (dataOffset == 0 || chunks == 0 || last == 0 || last > 16)
            throwCorrupt(file(), "the blob slot " + std::to_string(index) + " is empty or deleted" + at());
        const std::uint64_t slotLength = static_cast<std::uint64_t>(chunks - 1) * 16 + last;
        if (slotLength != length)
            throwCorrupt(file(), "blob slot " + std::to_string(index) + " holds " + std::to_string(slotLength)
                                   + " bytes, but its record says " + std::to_string(length) + at());
        if (dataOffset + length > mbBlockSize)
            throwCorrupt(file(), "blob slot " + std::to_string(index) + " runs past the end of its block" + at());
        if (dataOffset + length > available)
            throwCorrupt(file(), "blob slot " + std::to_string(index) + " runs past the end of the file" + at());
        out.assign(block + dataOffset, block + dataOffset + length);
        return;
    }

    throwCorrupt(file(), "a blob pointer leads to a block of type " + std::to_string(type)
                           + ", which holds no blob" + at());
}

} // namespace quintabel::paradox::detail
