#include "paradoxfile/table_encoder.h"

#include "base/ascii_case.h"
#include "paradoxfile/byte_io.h"
#include "paradoxfile/code_page.h"
#include "paradoxfile/detail/endian.h"
#include "paradoxfile/detail/field_codec.h"
#include "paradoxfile/detail/primary_index_writer.h"
#include "paradoxfile/detail/record_value.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/key_order.h"
#include "paradoxfile/table_family.h"
#include "paradoxfile/written_code_pages.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <set>

namespace quintabel::paradox {

using detail::storeLe16;
using detail::storeLe32;

namespace {

constexpr int extendedHeaderSize = 0x78;
constexpr std::uint8_t fileVersion5 = 0x0B;
constexpr int tableNameArea = 79;
constexpr int maxFieldNameBytes = 25;
constexpr int maxBlocks = 65535;
constexpr int blockHeaderSize = 6;

constexpr std::uint64_t mbBlockSize = 4096;
constexpr std::size_t largeBlobThreshold = 2048; // longer values get a block of their own
constexpr int slotsPerBlock = 64;
constexpr std::size_t subBlockDataStart = 0x150;
constexpr std::uint16_t modificationNumber = 1;

std::string typeWords(FieldType type)
{
    return std::string(fieldTypeName(type)) + " field";
}

} // namespace

std::vector<Field> checkedDefinition(std::vector<Field> fields, int codePage)
{
    if (!languageDriverForCodePage(codePage)) {
        std::string list;
        for (const int writable : writableCodePages())
            list += (list.empty() ? "" : ", ") + std::to_string(writable);
        throw DefinitionError("Code page " + std::to_string(codePage)
                              + " cannot be written: no Paradox language driver is known for it (use one of " + list
                              + ").");
    }
    if (fields.empty() || fields.size() > 255)
        throw DefinitionError("A Paradox table has 1 to 255 fields, not " + std::to_string(fields.size()) + ".");
    const CodePage page(codePage);
    std::set<std::string> seen;
    for (auto& field : fields) {
        const std::string what = "Field '" + field.name + "'";
        if (field.name.empty())
            throw DefinitionError("A field has no name.");
        if (field.name.front() == ' ')
            throw DefinitionError(what + ": a Paradox field name cannot begin with a blank.");
        std::string stored;
        if (const auto problem = page.encode(field.name, stored))
            throw DefinitionError(what + ": the name holds " + *problem + ", which code page "
                                  + std::to_string(codePage) + " cannot store (" + whereTextWouldFit(field.name) + ").");
        if (stored.find('\0') != std::string::npos)
            throw DefinitionError(what + ": the name holds a NUL character.");
        if (stored.size() > maxFieldNameBytes)
            throw DefinitionError(what + ": the name is longer than Paradox's 25 characters.");
        std::string folded;
        for (const char c : field.name)
            folded.push_back(asciiUpper(c));
        if (!seen.insert(folded).second)
            throw DefinitionError(what + ": the table already has a field of that name.");

        if (field.type != FieldType::Bcd && field.decimals != 0)
            throw DefinitionError(what + ": only BCD fields have decimal places.");
        if (const auto fixed = fixedFieldSize(field.type)) {
            if (field.size != 0 && field.size != *fixed)
                throw DefinitionError(what + ": a " + typeWords(field.type) + " takes " + std::to_string(*fixed)
                                      + " bytes, not " + std::to_string(field.size) + ".");
            field.size = *fixed;
            if (field.type == FieldType::Bcd && (field.decimals < 0 || field.decimals > 32))
                throw DefinitionError(what + ": a BCD field has 0 to 32 decimal places, not "
                                      + std::to_string(field.decimals) + ".");
        } else if (isBlobType(field.type)) {
            const int smallest = field.type == FieldType::Memo ? 11 : 10;
            if (field.size < smallest || field.size > 250)
                throw DefinitionError(what + ": a " + typeWords(field.type) + " takes " + std::to_string(smallest)
                                      + " to 250 bytes in the record (leader plus 10), not "
                                      + std::to_string(field.size) + ".");
        } else if (field.size < 1 || field.size > 255) {
            throw DefinitionError(what + ": an " + typeWords(field.type) + " holds 1 to 255 bytes, not "
                                  + std::to_string(field.size) + ".");
        }
    }
    return fields;
}

struct TableEncoder::Impl {
    std::vector<Field> fields;
    std::vector<int> offsets;
    int recordSize = 0;
    int blockSize = 0;
    int recordsPerBlock = 0;
    ByteSink& table;
    ByteSink* blobs = nullptr;
    std::optional<CodePage> codePage;
    std::vector<std::uint8_t> header;

    std::vector<std::uint8_t> block;
    int recordsInBlock = 0;
    int blocksWritten = 0;
    std::uint64_t records = 0;
    std::int64_t highestAutoIncrement = 0;
    bool finished = false;
    bool broken = false;

    // The suballocated .MB block being filled (offset 0: none).
    std::vector<std::uint8_t> subBlock;
    std::uint64_t subBlockOffset = 0;
    int nextSlot = slotsPerBlock - 1;
    std::size_t nextData = subBlockDataStart;

    // A keyed table: its key is the first keySize bytes of each record, and the primary
    // index is written as the blocks are (docs/paradox-format.md §9.4).
    int keyFieldCount = 0;
    std::size_t keySize = 0;
    std::vector<std::uint8_t> previousKey;
    std::unique_ptr<detail::PrimaryIndexWriter> primaryIndex;
    std::string storedTableName; // the header's table name, in the code page

    // One record being prepared: its bytes and the blob values that go to the .MB.
    std::vector<std::uint8_t> record;
    std::vector<std::string> blobData;
    std::vector<bool> blobToFile;

    Impl(ByteSink& tableSink) : table(tableSink) {}

    [[noreturn]] void refuse(std::size_t field, const std::string& what) const
    {
        const std::uint64_t row = records + 1;
        throw ValueError("Cannot store the value of column '" + fields[field].name + "' in row " + std::to_string(row)
                             + ": " + what + ".",
                         fields[field].name, row);
    }

    void encodeText(std::size_t field, const std::string& text, std::string& out)
    {
        if (const auto problem = detail::encodeText(*codePage, text, out))
            refuse(field, *problem);
    }

    // Fills the record bytes of one field (blob fields: the leader and length; the pointer
    // comes once the value is in the .MB).
    void encodeField(std::size_t i, const Value& value)
    {
        const Field& field = fields[i];
        std::uint8_t* p = record.data() + offsets[i];
        blobToFile[i] = false;
        if (isNull(value))
            return; // all zero bytes
        if (isBlobType(field.type)) {
            encodeBlobField(i, value, p);
            return;
        }
        if (const auto problem = detail::encodeRecordValue(field, value, *codePage, p, blobData[i]))
            refuse(i, *problem);
    }

    void encodeBlobField(std::size_t i, const Value& value, std::uint8_t* p)
    {
        const Field& field = fields[i];
        std::string& data = blobData[i];
        data.clear();
        const bool text = field.type == FieldType::Memo || field.type == FieldType::FormattedMemo;
        if (const auto* s = std::get_if<std::string>(&value); s && text) {
            encodeText(i, *s, data);
        } else if (const auto* b = std::get_if<Blob>(&value); b && field.type != FieldType::Memo) {
            data.assign(b->begin(), b->end());
        } else {
            refuse(i, detail::wrongKindOfValue(field.type));
        }
        if (data.empty())
            return; // an empty value is blank in Paradox
        const auto leader = static_cast<std::size_t>(field.size - 10);
        std::memcpy(p, data.data(), std::min(leader, data.size()));
        const bool graphic = field.type == FieldType::Graphic;
        // A graphic carries an 8-byte prefix in the .MB: an unknown word, then its length.
        const std::uint64_t length = data.size() + (graphic ? 8 : 0);
        if (length > 0xFFFFFFFFu - 16)
            refuse(i, "the value is larger than a Paradox blob (4 GB)");
        std::uint8_t* control = p + leader;
        storeLe32(control + 4, static_cast<std::uint32_t>(length));
        if (!graphic && data.size() <= leader)
            return; // stays in the record: pointer 0, modification number 0
        const std::uint64_t units = (9 + length + mbBlockSize - 1) / mbBlockSize;
        if (units > 65535)
            refuse(i, "the value is larger than a Paradox blob (65535 blocks of 4 KB)");
        if (blobs->size() + units * mbBlockSize + mbBlockSize > 0xFFFFFF00u)
            refuse(i, "the table's .MB file would grow past the 4 GB its pointers reach");
        storeLe16(control + 8, modificationNumber);
        blobToFile[i] = true;
    }

    // Puts one value into the .MB and returns its pointer.
    std::uint32_t writeBlob(const Field& field, const std::string& data)
    {
        const bool graphic = field.type == FieldType::Graphic;
        const std::uint64_t length = data.size() + (graphic ? 8 : 0);
        if (graphic || length > largeBlobThreshold) {
            // A block of its own (type 2), as many 4 KB units as it needs.
            const std::uint64_t offset = blobs->size();
            const std::uint64_t units = (9 + length + mbBlockSize - 1) / mbBlockSize;
            std::uint8_t head[17] = {};
            head[0] = 2;
            storeLe16(head + 1, static_cast<std::uint16_t>(units));
            storeLe32(head + 3, static_cast<std::uint32_t>(length));
            storeLe16(head + 7, modificationNumber);
            std::size_t headLength = 9;
            if (graphic) {
                storeLe32(head + 9, 0x01000001u);
                storeLe32(head + 13, static_cast<std::uint32_t>(data.size()));
                headLength = 17;
            }
            blobs->write({head, headLength});
            blobs->write({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()});
            writeZeros(units * mbBlockSize - 9 - length);
            return static_cast<std::uint32_t>(offset) | 0xFFu;
        }
        // A slot of a shared block (type 3): 16-byte chunks, slots from 63 downwards.
        const std::size_t chunks = (length + 15) / 16;
        if (subBlockOffset == 0 || nextSlot < 0 || nextData + chunks * 16 > mbBlockSize)
            startSubBlock();
        std::memcpy(subBlock.data() + nextData, data.data(), data.size());
        std::uint8_t* slot = subBlock.data() + 12 + 5 * nextSlot;
        slot[0] = static_cast<std::uint8_t>(nextData / 16);
        slot[1] = static_cast<std::uint8_t>(chunks);
        storeLe16(slot + 2, modificationNumber);
        slot[4] = static_cast<std::uint8_t>(length - (chunks - 1) * 16);
        const std::uint32_t pointer = static_cast<std::uint32_t>(subBlockOffset) | static_cast<std::uint32_t>(nextSlot);
        --nextSlot;
        nextData += chunks * 16;
        return pointer;
    }

    void writeZeros(std::uint64_t count)
    {
        static const std::uint8_t zeros[4096] = {};
        while (count > 0) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, sizeof zeros));
            blobs->write({zeros, n});
            count -= n;
        }
    }

    void closeSubBlock()
    {
        if (subBlockOffset != 0)
            blobs->writeAt(subBlockOffset, subBlock);
        subBlockOffset = 0;
    }

    void startSubBlock()
    {
        closeSubBlock();
        // Reserve the block's place now; its contents are written when it is full.
        subBlockOffset = blobs->size();
        subBlock.assign(mbBlockSize, 0);
        subBlock[0] = 3;
        storeLe16(subBlock.data() + 1, 1);
        nextSlot = slotsPerBlock - 1;
        nextData = subBlockDataStart;
        writeZeros(mbBlockSize);
    }

    void writeBlock(bool last)
    {
        const int number = blocksWritten + 1;
        storeLe16(block.data(), static_cast<std::uint16_t>(last ? 0 : number + 1));
        storeLe16(block.data() + 2, static_cast<std::uint16_t>(number - 1));
        storeLe16(block.data() + 4, static_cast<std::uint16_t>((recordsInBlock - 1) * recordSize));
        std::memset(block.data() + blockHeaderSize + static_cast<std::size_t>(recordsInBlock) * recordSize, 0,
                    block.size() - blockHeaderSize - static_cast<std::size_t>(recordsInBlock) * recordSize);
        table.write(block);
        if (primaryIndex)
            primaryIndex->addDataBlock({block.data() + blockHeaderSize, keySize}, number, recordsInBlock);
        ++blocksWritten;
        recordsInBlock = 0;
    }

    // A keyed table's records ascend strictly in the byte order of their keys (§7.4).
    void checkKeyOrder() const
    {
        if (records == 0)
            return;
        const int order = std::memcmp(record.data(), previousKey.data(), keySize);
        if (order > 0)
            return;
        std::string key;
        for (int i = 0; i < keyFieldCount; ++i)
            key += (i ? ", " : "") + fields[static_cast<std::size_t>(i)].name;
        const std::string row = std::to_string(records + 1);
        const std::string previous = std::to_string(records);
        throw KeyOrderError("Row " + row + " cannot follow row " + previous + " in a table keyed on (" + key + "): "
                                + (order == 0 ? "its key is the same as row " + previous + "'s (a duplicate key)."
                                              : "its key sorts before row " + previous
                                                    + "'s (the rows are not in key order)."),
                            records + 1, order == 0);
    }

    detail::PrimaryIndexLayout primaryIndexLayout(const LanguageDriver& driver) const
    {
        detail::PrimaryIndexLayout layout;
        layout.keyFields.assign(fields.begin(), fields.begin() + keyFieldCount);
        layout.blockSize = detail::primaryIndexBlockSize(blockSize, static_cast<int>(keySize));
        layout.sortOrder = driver.sortOrder;
        layout.fileVersion = fileVersion5;
        // The index's header names the table's file with the index's extension: "ORDERS.PX".
        const std::size_t dot = storedTableName.rfind('.');
        const bool lowerCase = dot != std::string::npos && dot + 1 < storedTableName.size()
            && storedTableName[dot + 1] >= 'a' && storedTableName[dot + 1] <= 'z';
        layout.tableName = storedTableName.substr(0, dot) + (lowerCase ? ".px" : ".PX");
        return layout;
    }

    void buildHeader(const EncoderOptions& options, const LanguageDriver& driver)
    {
        const int n = static_cast<int>(fields.size());
        std::string& tableName = storedTableName;
        if (const auto problem = codePage->encode(options.tableFileName, tableName))
            throw DefinitionError("The table name '" + options.tableFileName + "' holds " + *problem
                                  + ", which code page " + std::to_string(codePage->number()) + " cannot store.");
        if (tableName.size() >= tableNameArea || tableName.find('\0') != std::string::npos)
            throw DefinitionError("The table name '" + options.tableFileName + "' is too long for a Paradox header.");
        std::vector<std::string> names;
        std::size_t namesLength = 0;
        for (const auto& field : fields) {
            names.emplace_back();
            codePage->encode(field.name, names.back());
            namesLength += names.back().size() + 1;
        }
        const std::size_t namesStart = extendedHeaderSize + 6 * n + 4 + tableNameArea;
        const std::size_t fieldNumbers = namesStart + namesLength;
        const std::size_t sortId = fieldNumbers + 2 * n;
        const std::size_t used = sortId + std::strlen(driver.id) + 1;
        const std::size_t size = (used + 0x7FF) / 0x800 * 0x800;
        header.assign(size, 0);
        std::uint8_t* h = header.data();
        storeLe16(h + 0x00, static_cast<std::uint16_t>(recordSize));
        storeLe16(h + 0x02, static_cast<std::uint16_t>(size));
        h[0x04] = keyFieldCount > 0 ? 0 : 2; // keyed or keyless table
        h[0x05] = static_cast<std::uint8_t>(blockSize / 1024);
        storeLe16(h + 0x21, static_cast<std::uint16_t>(n));
        storeLe16(h + 0x23, static_cast<std::uint16_t>(keyFieldCount));
        h[0x25] = 0x00;
        h[0x26] = 0xFF;
        h[0x27] = 0x00;
        h[0x28] = 0xFF;
        h[0x29] = driver.sortOrder;
        h[0x2D] = 1;
        h[0x2E] = 1;
        h[0x39] = fileVersion5;
        h[0x3E] = 0x1F;
        h[0x3F] = 0x0F;
        storeLe16(h + 0x51, static_cast<std::uint16_t>(used));
        h[0x56] = 0x20;
        storeLe16(h + 0x58, 0x0100 | fileVersion5);
        storeLe16(h + 0x5A, 0x0100 | fileVersion5);
        const auto now = options.updateTime ? *options.updateTime : static_cast<std::uint32_t>(std::time(nullptr));
        storeLe32(h + 0x60, now);
        storeLe16(h + 0x64, static_cast<std::uint16_t>(n + 1));
        storeLe16(h + 0x66, static_cast<std::uint16_t>(fieldNumbers - 0x58));
        storeLe16(h + 0x6A, static_cast<std::uint16_t>(codePage->number()));
        h[0x6C] = 1;
        h[0x6D] = 1;
        storeLe16(h + 0x6E, static_cast<std::uint16_t>(sortId - 0x58));
        h[0x70] = 1;
        for (int i = 0; i < n; ++i) {
            const Field& field = fields[static_cast<std::size_t>(i)];
            h[extendedHeaderSize + 2 * i] = static_cast<std::uint8_t>(field.type);
            h[extendedHeaderSize + 2 * i + 1] =
                static_cast<std::uint8_t>(field.type == FieldType::Bcd ? field.decimals : field.size);
        }
        std::memcpy(h + extendedHeaderSize + 6 * n + 4, tableName.data(), tableName.size());
        std::size_t pos = namesStart;
        for (const auto& name : names) {
            std::memcpy(h + pos, name.data(), name.size());
            pos += name.size() + 1;
        }
        for (int i = 0; i < n; ++i)
            storeLe16(h + fieldNumbers + 2 * i, static_cast<std::uint16_t>(i + 1));
        std::memcpy(h + sortId, driver.id, std::strlen(driver.id));
    }

    void completeHeader()
    {
        std::uint8_t* h = header.data();
        storeLe32(h + 0x06, static_cast<std::uint32_t>(records));
        storeLe16(h + 0x0A, static_cast<std::uint16_t>(blocksWritten));
        storeLe16(h + 0x0C, static_cast<std::uint16_t>(blocksWritten));
        storeLe16(h + 0x0E, static_cast<std::uint16_t>(blocksWritten > 0 ? 1 : 0));
        storeLe16(h + 0x10, static_cast<std::uint16_t>(blocksWritten));
        storeLe16(h + 0x3A, static_cast<std::uint16_t>(blocksWritten));
        storeLe32(h + 0x49, static_cast<std::uint32_t>(highestAutoIncrement));
    }
};

TableEncoder::TableEncoder(std::vector<Field> fields, ByteSink& table, ByteSink* blobs, const EncoderOptions& options,
                           ByteSink* primaryIndex)
    : impl_(std::make_unique<Impl>(table))
{
    Impl& d = *impl_;
    d.fields = checkedDefinition(std::move(fields), options.codePage);
    d.codePage.emplace(options.codePage);
    bool hasBlobs = false;
    for (const auto& field : d.fields) {
        d.offsets.push_back(d.recordSize);
        d.recordSize += field.size;
        hasBlobs = hasBlobs || isBlobType(field.type);
    }
    if (hasBlobs && !blobs)
        throw DefinitionError("The table has blob fields but no place for its .MB file.");
    d.blobs = hasBlobs ? blobs : nullptr;
    checkKeyDefinition(d.fields, options.keyFieldCount, options.codePage);
    d.keyFieldCount = options.keyFieldCount;
    if (d.keyFieldCount > 0 && !primaryIndex)
        throw DefinitionError("The table is keyed but has no place for its primary index.");
    for (int i = 0; i < d.keyFieldCount; ++i)
        d.keySize += static_cast<std::size_t>(d.fields[static_cast<std::size_t>(i)].size);

    auto fits = [&](int kb) {
        const int size = kb * 1024;
        if (d.recordSize > size - blockHeaderSize)
            return false;
        const std::uint64_t perBlock = static_cast<std::uint64_t>((size - blockHeaderSize) / d.recordSize);
        return options.expectedRecords == 0 || (options.expectedRecords + perBlock - 1) / perBlock <= maxBlocks;
    };
    if (options.blockSizeKB != 0) {
        const int kb = options.blockSizeKB;
        if (kb != 1 && kb != 2 && kb != 3 && kb != 4 && kb != 16 && kb != 32)
            throw DefinitionError("A Paradox block is 1, 2, 3, 4, 16 or 32 KB, not " + std::to_string(kb) + " KB.");
        if (d.recordSize > kb * 1024 - blockHeaderSize)
            throw DefinitionError("A record of " + std::to_string(d.recordSize) + " bytes does not fit a block of "
                                  + std::to_string(kb) + " KB.");
        d.blockSize = kb * 1024;
    } else {
        for (const int kb : {4, 16, 32})
            if (d.blockSize == 0 && fits(kb))
                d.blockSize = kb * 1024;
        if (d.blockSize == 0) {
            if (d.recordSize > 32 * 1024 - blockHeaderSize)
                throw DefinitionError("A record of " + std::to_string(d.recordSize)
                                      + " bytes is larger than Paradox's largest block.");
            d.blockSize = 32 * 1024; // too many records expected: the table will say so when full
        }
    }
    d.recordsPerBlock = (d.blockSize - blockHeaderSize) / d.recordSize;
    d.highestAutoIncrement = options.autoIncrementCounter;
    d.block.assign(static_cast<std::size_t>(d.blockSize), 0);
    d.record.assign(static_cast<std::size_t>(d.recordSize), 0);
    d.blobData.resize(d.fields.size());
    d.blobToFile.assign(d.fields.size(), false);
    const LanguageDriver driver =
        d.keyFieldCount > 0 ? *keyedLanguageDriver(options.codePage) : *languageDriverForCodePage(options.codePage);
    d.buildHeader(options, driver);

    try {
        d.table.write(d.header);
        if (d.keyFieldCount > 0)
            d.primaryIndex = std::make_unique<detail::PrimaryIndexWriter>(*primaryIndex, d.primaryIndexLayout(driver));
        if (d.blobs) {
            // The .MB header block (docs/paradox-format.md §6.2).
            std::uint8_t head[mbBlockSize] = {};
            head[0x00] = 0;
            storeLe16(head + 0x01, 1);
            storeLe16(head + 0x03, 1);
            const std::uint8_t constant[] = {0x82, 0x73, 0x02, 0x00, 0x29, 0x00};
            std::memcpy(head + 0x05, constant, sizeof constant);
            storeLe16(head + 0x0B, 0x1000);
            storeLe16(head + 0x0D, 0x1000);
            head[0x10] = 0x10;
            storeLe16(head + 0x11, 0x0040);
            storeLe16(head + 0x13, 0x0800);
            storeLe16(head + 0x29, 0x02A1);
            d.blobs->write({head, sizeof head});
        }
    } catch (...) {
        d.broken = true;
        throw;
    }
}

TableEncoder::~TableEncoder() = default;

const std::vector<Field>& TableEncoder::fields() const
{
    return impl_->fields;
}

int TableEncoder::blockSize() const
{
    return impl_->blockSize;
}

std::uint64_t TableEncoder::recordCount() const
{
    return impl_->records;
}

void TableEncoder::append(std::span<const Value> values)
{
    Impl& d = *impl_;
    if (d.broken)
        throw Error("The table cannot take more records: an earlier write failed.");
    if (d.finished)
        throw Error("The table is already finished.");
    if (values.size() != d.fields.size())
        throw ValueError("Row " + std::to_string(d.records + 1) + " has " + std::to_string(values.size())
                             + " values for the table's " + std::to_string(d.fields.size()) + " fields.",
                         std::string(), d.records + 1);
    if (d.recordsInBlock == d.recordsPerBlock && d.blocksWritten + 1 >= maxBlocks)
        throw ValueError("Row " + std::to_string(d.records + 1) + " does not fit: the table's "
                             + std::to_string(maxBlocks) + " blocks of " + std::to_string(d.blockSize / 1024)
                             + " KB are full (a larger block size holds more rows).",
                         std::string(), d.records + 1);

    // First every value is checked and encoded; nothing is written before all of them pass.
    std::fill(d.record.begin(), d.record.end(), std::uint8_t{0});
    std::int64_t autoIncrement = d.highestAutoIncrement;
    for (std::size_t i = 0; i < d.fields.size(); ++i) {
        d.encodeField(i, values[i]);
        if (d.fields[i].type == FieldType::AutoIncrement && !isNull(values[i]))
            autoIncrement = std::max(autoIncrement, std::get<std::int64_t>(values[i]));
    }

    if (d.keyFieldCount > 0)
        d.checkKeyOrder();

    try {
        for (std::size_t i = 0; i < d.fields.size(); ++i) {
            if (!d.blobToFile[i])
                continue;
            const std::uint32_t pointer = d.writeBlob(d.fields[i], d.blobData[i]);
            storeLe32(d.record.data() + d.offsets[i] + d.fields[i].size - 10, pointer);
        }
        if (d.recordsInBlock == d.recordsPerBlock)
            d.writeBlock(false);
    } catch (...) {
        d.broken = true;
        throw;
    }
    std::memcpy(d.block.data() + blockHeaderSize + static_cast<std::size_t>(d.recordsInBlock) * d.recordSize,
                d.record.data(), d.record.size());
    ++d.recordsInBlock;
    ++d.records;
    d.highestAutoIncrement = autoIncrement;
    if (d.keyFieldCount > 0)
        d.previousKey.assign(d.record.begin(), d.record.begin() + static_cast<std::ptrdiff_t>(d.keySize));
}

void TableEncoder::finish()
{
    Impl& d = *impl_;
    if (d.broken)
        throw Error("The table cannot be finished: an earlier write failed.");
    if (d.finished)
        return;
    try {
        if (d.recordsInBlock > 0)
            d.writeBlock(true);
        d.completeHeader();
        d.table.writeAt(0, {d.header.data(), 0x58});
        if (d.blobs)
            d.closeSubBlock();
        d.table.finish();
        if (d.blobs)
            d.blobs->finish();
        if (d.primaryIndex)
            d.primaryIndex->finish();
    } catch (...) {
        d.broken = true;
        throw;
    }
    d.finished = true;
}

} // namespace quintabel::paradox
