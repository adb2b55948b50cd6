#include "paradoxfile/table_reader.h"

#include "paradoxfile/byte_io.h"
#include "paradoxfile/calendar.h"
#include "paradoxfile/code_page.h"
#include "paradoxfile/detail/blob_reader.h"
#include "paradoxfile/detail/endian.h"
#include "paradoxfile/detail/field_codec.h"
#include "paradoxfile/detail/messages.h"
#include "paradoxfile/detail/read_window.h"
#include "paradoxfile/detail/unscrambling_source.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_family.h"

#include <cmath>
#include <cstring>

namespace quintabel::paradox {

using detail::isAllZero;
using detail::throwCorrupt;

namespace {

constexpr std::size_t maxWarnings = 50;
constexpr int blockHeaderSize = 6;
constexpr std::size_t readAhead = 256 * 1024;

struct BlockInfo {
    int next = 0;
    int recordCount = 0;
    std::uint64_t start = 0;
};

// Replaces the value with an empty text, keeping the string's storage when it held one.
std::string& resetText(Value& value)
{
    if (auto* text = std::get_if<std::string>(&value)) {
        text->clear();
        return *text;
    }
    return value.emplace<std::string>();
}

Blob& resetBlob(Value& value)
{
    if (auto* bytes = std::get_if<Blob>(&value)) {
        bytes->clear();
        return *bytes;
    }
    return value.emplace<Blob>();
}

} // namespace

struct TableReader::Impl {
    std::unique_ptr<ByteSource> table;
    std::unique_ptr<ByteSource> blobs;
    std::filesystem::path blobPath;
    std::string file;
    TableHeader header;
    std::optional<CodePage> codePage;
    std::optional<detail::BlobReader> blobReader;
    std::vector<int> offsets;
    std::uint64_t maxBlockNumber = 0;

    // Where the reading stands: `records` points into `window`.
    detail::ReadWindow window{readAhead};
    const std::uint8_t* records = nullptr;
    std::vector<bool> visited;
    int nextBlock = 0;
    int recordsInBlock = 0;
    int recordInBlock = 0;
    std::uint64_t recordsRead = 0;
    bool started = false;
    bool finished = false;

    std::vector<std::string> warnings;
    std::vector<bool> warnedField;
    std::vector<std::uint8_t> blobBytes;

    void warn(std::string text)
    {
        if (warnings.size() < maxWarnings)
            warnings.push_back(std::move(text));
        else if (warnings.size() == maxWarnings)
            warnings.push_back("More warnings were left out.");
    }

    // Warns once per field about something lenient done to its values.
    void warnField(std::size_t field, std::string text)
    {
        if (warnedField[field])
            return;
        warnedField[field] = true;
        warn(std::move(text));
    }

    // Checks block `number` and returns what its header says; `window` supplies the bytes.
    BlockInfo readBlockHeader(int number, std::vector<bool>& seen, detail::ReadWindow& from) const
    {
        if (number < 1 || static_cast<std::uint64_t>(number) > maxBlockNumber)
            throwCorrupt(file, "block " + std::to_string(number) + " lies past the end of the file");
        if (seen[static_cast<std::size_t>(number)])
            throwCorrupt(file, "the chain of data blocks returns to block " + std::to_string(number));
        seen[static_cast<std::size_t>(number)] = true;
        BlockInfo info;
        info.start = static_cast<std::uint64_t>(header.headerSize)
            + static_cast<std::uint64_t>(number - 1) * static_cast<std::uint64_t>(header.blockSize);
        const std::uint8_t* head = from.get(*table, info.start, blockHeaderSize).data();
        info.next = detail::loadLe16(head);
        const int lastOffset = static_cast<std::int16_t>(detail::loadLe16(head + 4));
        if (lastOffset < 0) {
            if (lastOffset < -header.recordSize)
                throwCorrupt(file, "block " + std::to_string(number) + " gives " + std::to_string(lastOffset)
                                       + " as the offset of its last record");
            info.recordCount = 0;
        } else {
            if (lastOffset % header.recordSize != 0)
                throwCorrupt(file, "block " + std::to_string(number) + " gives " + std::to_string(lastOffset)
                                       + " as the offset of its last record, not a multiple of the record size "
                                       + std::to_string(header.recordSize));
            info.recordCount = lastOffset / header.recordSize + 1;
        }
        const std::uint64_t used = blockHeaderSize + static_cast<std::uint64_t>(info.recordCount) * header.recordSize;
        if (used > static_cast<std::uint64_t>(header.blockSize))
            throwCorrupt(file, "block " + std::to_string(number) + " claims " + std::to_string(info.recordCount)
                                   + " records, more than a block holds");
        if (info.start + used > table->size())
            throwCorrupt(file, "block " + std::to_string(number) + " is cut off by the end of the file");
        return info;
    }

    // Loads the next block with records into `block`; false at the end of the chain.
    bool loadNextBlock()
    {
        while (nextBlock != 0) {
            const BlockInfo info = readBlockHeader(nextBlock, visited, window);
            nextBlock = info.next;
            if (info.recordCount == 0)
                continue;
            const std::size_t bytes = static_cast<std::size_t>(info.recordCount) * header.recordSize;
            records = window.get(*table, info.start + blockHeaderSize, bytes).data();
            recordsInBlock = info.recordCount;
            recordInBlock = 0;
            return true;
        }
        return false;
    }

    std::string where(std::size_t field) const
    {
        return "field '" + header.fields[field].name + "' of record " + std::to_string(recordsRead + 1);
    }

    [[noreturn]] void badValue(std::size_t field, const std::string& what) const
    {
        throwCorrupt(file, where(field) + " " + what);
    }

    void decodeText(std::size_t field, std::span<const std::uint8_t> bytes, Value& value)
    {
        std::string& text = resetText(value);
        if (!codePage->decode(bytes, text))
            detail::throwInvalidText(file, header.fields[field].name, recordsRead + 1, header.textCodePage,
                                     header.codePageOrigin);
    }

    void decodeBlob(std::size_t i, const std::uint8_t* p, Value& value)
    {
        const Field& field = header.fields[i];
        const int leader = field.size - 10;
        const std::uint8_t* control = p + leader;
        const std::uint32_t pointer = detail::loadLe32(control);
        const std::uint32_t length = detail::loadLe32(control + 4);
        if (length == 0) {
            value = Null{};
            return;
        }
        const bool graphic = field.type == FieldType::Graphic;
        std::span<const std::uint8_t> data;
        if (pointer == 0) {
            // The whole value is in the leader; a graphic's length counts its 8-byte prefix,
            // which the leader leaves out.
            const std::uint32_t inLeader = graphic ? length - 8 : length;
            if ((graphic && length < 8) || inLeader > static_cast<std::uint32_t>(leader))
                badValue(i, "claims " + std::to_string(length) + " bytes in a leader of "
                                + std::to_string(leader) + " bytes and no blob pointer");
            data = {p, inLeader};
        } else {
            blobReader->read(pointer, length, [&] { return where(i); }, blobBytes);
            data = blobBytes;
            if (graphic) {
                if (data.size() < 8 || detail::loadLe32(data.data() + 4) != data.size() - 8)
                    badValue(i, "is a graphic without the expected 8-byte prefix");
                if (detail::loadLe32(data.data()) != 0x01000001u)
                    warnField(i, "Field '" + field.name + "' holds graphics whose prefix starts "
                                     + detail::hexNumber(detail::loadLe32(data.data()))
                                     + " instead of 0x1000001; the images were read without it.");
                data = data.subspan(8);
            }
        }
        // A formatted memo is Paradox's own rich-text format, bytes rather than text in the
        // table's code page: it travels unchanged.
        if (field.type == FieldType::Memo) {
            decodeText(i, data, value);
        } else {
            Blob& bytes = resetBlob(value);
            bytes.assign(data.begin(), data.end());
        }
    }

    void decodeRecord(const std::uint8_t* record, std::vector<Value>& values)
    {
        const std::size_t count = header.fields.size();
        values.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const Field& field = header.fields[i];
            const std::uint8_t* p = record + offsets[i];
            const auto size = static_cast<std::size_t>(field.size);
            Value& value = values[i];
            switch (field.type) {
            case FieldType::Alpha: {
                const void* nul = std::memchr(p, 0, size);
                const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - p) : size;
                if (length == 0)
                    value = Null{};
                else
                    decodeText(i, {p, length}, value);
                break;
            }
            case FieldType::Short:
                if (p[0] == 0 && p[1] == 0)
                    value = Null{};
                else
                    value = detail::decodeInteger16(p);
                break;
            case FieldType::Long:
            case FieldType::AutoIncrement:
                if (isAllZero(p, 4))
                    value = Null{};
                else
                    value = detail::decodeInteger32(p);
                break;
            case FieldType::Date:
                if (isAllZero(p, 4))
                    value = Null{};
                else
                    value = *dateFromDayNumber(detail::decodeInteger32(p));
                break;
            case FieldType::Time:
                if (isAllZero(p, 4)) {
                    value = Null{};
                } else {
                    const std::int64_t ms = detail::decodeInteger32(p);
                    if (ms < 0 || ms >= millisecondsPerDay)
                        badValue(i, "holds " + std::to_string(ms) + " milliseconds, not a time of day");
                    value = timeFromMilliseconds(ms);
                }
                break;
            case FieldType::Number:
            case FieldType::Money:
                if (isAllZero(p, 8))
                    value = Null{};
                else
                    value = detail::decodeDouble(p);
                break;
            case FieldType::Timestamp:
                if (isAllZero(p, 8)) {
                    value = Null{};
                } else {
                    const double ms = detail::decodeDouble(p);
                    const auto timestamp = detail::timestampFromMilliseconds(ms);
                    if (!timestamp)
                        badValue(i, "holds a timestamp outside every calendar");
                    if (ms != std::floor(ms))
                        warnField(i, "Field '" + field.name + "' holds timestamps with fractions of a millisecond"
                                         " (first in record " + std::to_string(recordsRead + 1)
                                         + "); they were rounded to whole milliseconds.");
                    value = *timestamp;
                }
                break;
            case FieldType::Logical:
                if (p[0] == 0)
                    value = Null{};
                else if (p[0] == 0x80)
                    value = false;
                else if (p[0] == 0x81)
                    value = true;
                else
                    badValue(i, "holds " + detail::hexNumber(p[0]) + ", which is neither true (0x81) nor false (0x80)");
                break;
            case FieldType::Bcd: {
                if (isAllZero(p, 17)) {
                    value = Null{};
                    break;
                }
                std::string digits;
                const auto result = detail::decodeBcd(p, digits);
                if (!result.problem.empty())
                    badValue(i, result.problem);
                if (result.blank) {
                    value = Null{};
                    break;
                }
                if (result.badNibbles)
                    warnField(i, "Field '" + field.name + "' holds BCD values with digit nibbles above 9 (first in record "
                                     + std::to_string(recordsRead + 1)
                                     + "); each nibble was taken at its face value, carrying into the digit before it.");
                if (auto* decimal = std::get_if<Decimal>(&value))
                    decimal->digits = std::move(digits);
                else
                    value = Decimal{std::move(digits)};
                break;
            }
            case FieldType::Bytes:
                if (isAllZero(p, size)) {
                    value = Null{};
                } else {
                    Blob& bytes = resetBlob(value);
                    bytes.assign(p, p + size);
                }
                break;
            case FieldType::Memo:
            case FieldType::Binary:
            case FieldType::FormattedMemo:
            case FieldType::Ole:
            case FieldType::Graphic:
                decodeBlob(i, p, value);
                break;
            }
        }
    }
};

TableReader TableReader::open(const std::filesystem::path& dbPath, const ReaderOptions& options)
{
    auto table = std::make_unique<FileSource>(dbPath);
    // Peek at the header first: only a table with blob fields needs its .MB.
    const TableHeader header = parseTableHeader(*table, options);
    std::unique_ptr<ByteSource> blobs;
    std::filesystem::path blobPath;
    bool hasBlobFields = false;
    for (const auto& field : header.fields)
        hasBlobFields = hasBlobFields || isBlobType(field.type);
    if (hasBlobFields) {
        if (const auto found = findBlobFile(dbPath)) {
            blobPath = *found;
            blobs = std::make_unique<FileSource>(*found);
        }
    }
    TableReader reader(std::move(table), std::move(blobs), options);
    reader.impl_->blobPath = blobPath;
    return reader;
}

TableReader::TableReader(std::unique_ptr<ByteSource> table, std::unique_ptr<ByteSource> blobs,
                         const ReaderOptions& options)
    : impl_(std::make_unique<Impl>())
{
    Impl& d = *impl_;
    d.table = std::move(table);
    d.blobs = std::move(blobs);
    d.file = d.table->name();
    d.header = parseTableHeader(*d.table, options);
    if (d.header.encrypted) {
        // From here on the reader sees the table as if it had no password.
        d.table = detail::UnscramblingSource::forTable(std::move(d.table), d.header.encryptionKey,
                                                        static_cast<std::uint64_t>(d.header.headerSize),
                                                        static_cast<std::uint64_t>(d.header.blockSize));
        if (d.blobs)
            d.blobs = detail::UnscramblingSource::forBlobs(std::move(d.blobs), d.header.encryptionKey);
    }
    d.codePage.emplace(d.header.textCodePage);
    d.blobReader.emplace(d.blobs.get(), d.file);
    int offset = 0;
    for (const auto& field : d.header.fields) {
        d.offsets.push_back(offset);
        offset += field.size;
    }
    const std::uint64_t dataBytes = d.table->size() - static_cast<std::uint64_t>(d.header.headerSize);
    // A block counts as present when at least its 6-byte header is in the file.
    d.maxBlockNumber = dataBytes < blockHeaderSize
        ? 0
        : std::min<std::uint64_t>(65535, (dataBytes - blockHeaderSize) / static_cast<std::uint64_t>(d.header.blockSize) + 1);
    d.warnedField.assign(d.header.fields.size(), false);
}

TableReader::~TableReader() = default;
TableReader::TableReader(TableReader&&) noexcept = default;
TableReader& TableReader::operator=(TableReader&&) noexcept = default;

const TableHeader& TableReader::header() const
{
    return impl_->header;
}

const std::filesystem::path& TableReader::blobFilePath() const
{
    return impl_->blobPath;
}

bool TableReader::next(std::vector<Value>& values)
{
    Impl& d = *impl_;
    if (d.finished)
        return false;
    if (!d.started) {
        d.started = true;
        d.visited.assign(static_cast<std::size_t>(d.maxBlockNumber) + 1, false);
        d.nextBlock = d.header.firstBlock;
    }
    if (d.recordInBlock >= d.recordsInBlock && !d.loadNextBlock()) {
        d.finished = true;
        d.window.clear();
        if (d.recordsRead != d.header.recordCount)
            d.warn("The header of '" + d.file + "' says the table holds " + std::to_string(d.header.recordCount)
                   + " records, but its data blocks hold " + std::to_string(d.recordsRead)
                   + "; the records in the blocks were read.");
        return false;
    }
    const std::uint8_t* record = d.records + static_cast<std::size_t>(d.recordInBlock) * d.header.recordSize;
    d.decodeRecord(record, values);
    ++d.recordInBlock;
    ++d.recordsRead;
    return true;
}

std::uint64_t TableReader::recordsRead() const
{
    return impl_->recordsRead;
}

std::uint64_t TableReader::countRecords() const
{
    const Impl& d = *impl_;
    std::vector<bool> seen(static_cast<std::size_t>(d.maxBlockNumber) + 1, false);
    // Block headers only: a small window, so each read fetches one header.
    detail::ReadWindow headers(blockHeaderSize);
    std::uint64_t count = 0;
    for (int number = d.header.firstBlock; number != 0;) {
        const BlockInfo info = d.readBlockHeader(number, seen, headers);
        count += static_cast<std::uint64_t>(info.recordCount);
        number = info.next;
    }
    return count;
}

const std::vector<std::string>& TableReader::warnings() const
{
    return impl_->warnings;
}

} // namespace quintabel::paradox
