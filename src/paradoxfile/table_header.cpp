#include "paradoxfile/table_header.h"

#include "paradoxfile/byte_io.h"
#include "paradoxfile/code_page.h"
#include "paradoxfile/detail/endian.h"
#include "paradoxfile/detail/index_data_header.h"
#include "paradoxfile/detail/messages.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace quintabel::paradox {

namespace detail {

std::string hexNumber(unsigned long long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", value);
    return text;
}

} // namespace detail

using detail::loadLe16;
using detail::loadLe32;
using detail::throwCorrupt;

namespace {

// Fixed part of every header, and the 5.x/7.x extension after it.
constexpr int fixedHeaderSize = 0x58;
constexpr int extendedHeaderSize = 0x78;

bool isValidBlockCode(int code)
{
    return code == 1 || code == 2 || code == 3 || code == 4 || code == 8 || code == 16 || code == 32;
}

// Checks a field descriptor against the sizes each type allows; returns what is wrong.
std::string checkFieldSize(const Field& field)
{
    if (const auto fixed = fixedFieldSize(field.type)) {
        if (field.type == FieldType::Bcd)
            return field.decimals <= 32 ? std::string() : "has " + std::to_string(field.decimals)
                       + " decimal places (BCD allows 0 to 32)";
        return field.size == *fixed ? std::string()
                                    : "has size " + std::to_string(field.size) + " (a "
                                          + std::string(fieldTypeName(field.type)) + " field takes "
                                          + std::to_string(*fixed) + ")";
    }
    if (isBlobType(field.type))
        return field.size >= 10 && field.size <= 250 ? std::string()
                                                     : "has size " + std::to_string(field.size)
                                                           + " (blob fields take 10 to 250)";
    return field.size >= 1 ? std::string() : "has size 0";
}

} // namespace

std::string fileVersionText(int fileVersion)
{
    if (fileVersion == 3)
        return "3.0";
    if (fileVersion == 4)
        return "3.5";
    if (fileVersion >= 5 && fileVersion <= 9)
        return "4.x";
    if (fileVersion == 10 || fileVersion == 11)
        return "5.x";
    if (fileVersion == 12)
        return "7.x";
    return "unknown";
}

std::optional<int> codePageOfSortOrder(int sortOrder, const std::string& sortOrderId)
{
    // The id spelled out in 5.x and 7.x headers names the driver without doubt (an id not
    // listed here says nothing, whatever the byte); the byte alone is all that 3.x and 4.x
    // headers have, and a few bytes belong to two drivers of
    // different code pages (0x8F: polish and ancyrr; 0xE6: nordan40 and BGPD1251; 0x4C:
    // DBWINUS0 and ANHEBREW): such a byte goes with the driver seen in real tables, or with
    // none. "ascii" is missing on purpose: its tables come in 437 and in 850 alike.
    struct Driver {
        const char* id;
        int sortOrder; // -1: the byte alone does not tell
        int codePage;
    };
    static constexpr Driver drivers[] = {
        {"intl", 0xB7, 437},        {"swedfin", 0xF0, 437},    {"intl850", 0x54, 850},
        {"czech", 0x0D, 852},       {"hun852dc", 0xB1, 852},   {"polish", -1, 852},
        {"slovene", 0xFC, 852},     {"turk", 0xC6, 857},       {"iceland", 0xD0, 861},
        {"nordan", 0x82, 865},      {"nordan40", 0xE6, 865},   {"cyrr", 0xC0, 866},
        {"china", 0x03, 936},       {"anczech", 0xDC, 1250},   {"anhundc", 0xE1, 1250},
        {"anpolish", 0x5E, 1250},   {"ansislov", 0x6F, 1250},  {"ancyrr", -1, 1251},
        {"BGPD1251", -1, 1251},     {"DBWINUS0", 0x4C, 1252},  {"DBWINWE0", 0x40, 1252},
        {"DBWINES0", 0x3C, 1252},   {"ANSII850", 0x11, 1252},  {"ANSIINTL", 0x62, 1252},
        {"ANSISPAN", 0x5D, 1252},   {"ANSISWFN", 0x69, 1252},  {"ANSINOR4", 0x4E, 1252},
        {"angreek1", 0x0E, 1253},   {"ANTURK", 0xD5, 1254},
        // HP Roman-8, the character set of HP's own machines (IBM numbers it 1051).
        {"BLROM800", 0x14, hpRoman8CodePage},
    };
    if (!sortOrderId.empty()) {
        for (const Driver& driver : drivers)
            if (sortOrderId == driver.id)
                return driver.codePage;
        return std::nullopt;
    }
    for (const Driver& driver : drivers)
        if (sortOrder == driver.sortOrder)
            return driver.codePage;
    return std::nullopt;
}

namespace {

// A table's header, or with `indexData` that of a secondary index's data file, which is laid
// out like a table's (docs/paradox-format.md §13.3).
TableHeader parseHeader(const ByteSource& source, const ReaderOptions& options, bool indexData)
{
    const std::string file = source.name();
    const std::uint64_t fileSize = source.size();
    if (fileSize < fixedHeaderSize)
        throwCorrupt(file, "the file is " + std::to_string(fileSize)
                               + " bytes long, too short for a Paradox table header ("
                               + std::to_string(fixedHeaderSize) + " bytes at least)");

    std::uint8_t fixed[fixedHeaderSize];
    source.readAt(0, fixed);

    TableHeader header;
    header.recordSize = loadLe16(fixed + 0x00);
    header.headerSize = loadLe16(fixed + 0x02);
    header.fileType = fixed[0x04];
    const int blockCode = fixed[0x05];
    header.recordCount = loadLe32(fixed + 0x06);
    header.blocksInUse = loadLe16(fixed + 0x0A);
    header.totalBlocks = loadLe16(fixed + 0x0C);
    header.firstBlock = loadLe16(fixed + 0x0E);
    header.lastBlock = loadLe16(fixed + 0x10);
    const int fieldCount = static_cast<std::int16_t>(loadLe16(fixed + 0x21));
    header.keyFieldCount = static_cast<std::int16_t>(loadLe16(fixed + 0x23));
    header.sortOrder = fixed[0x29];
    header.writeProtected = fixed[0x38] != 0;
    header.fileVersion = fixed[0x39];

    if (header.fileVersion < 3 || header.fileVersion > 12)
        throwCorrupt(file, "the file version byte is " + std::to_string(header.fileVersion)
                               + " (Paradox tables have 3 to 12); this is not a Paradox table");
    if (indexData) {
        if (header.fileType != 3 && header.fileType != 5 && header.fileType != 6 && header.fileType != 8)
            throwCorrupt(file, "the file type is " + std::to_string(header.fileType)
                                   + " (a secondary index's data file has 3, 5, 6 or 8)");
    } else if (header.fileType != 0 && header.fileType != 2) {
        if (header.fileType <= 8)
            detail::throwUnsupported(file, "it is a Paradox index file (file type "
                                               + std::to_string(header.fileType) + "), not a table");
        throwCorrupt(file, "the file type is " + std::to_string(header.fileType)
                               + " (a table has 0 or 2)");
    }
    if (!isValidBlockCode(blockCode))
        throwCorrupt(file, "the block size code is " + std::to_string(blockCode)
                               + " (valid: 1, 2, 3, 4, 8, 16, 32)");
    header.blockSize = blockCode * 1024;
    if (fieldCount < 1 || fieldCount > 255)
        throwCorrupt(file, "the header declares " + std::to_string(fieldCount)
                               + " fields (a table has 1 to 255)");
    if (header.keyFieldCount < 0 || header.keyFieldCount > fieldCount)
        throwCorrupt(file, "the header declares " + std::to_string(header.keyFieldCount)
                               + " key fields for " + std::to_string(fieldCount) + " fields");
    if (header.headerSize < fixedHeaderSize)
        throwCorrupt(file, "the header size is " + std::to_string(header.headerSize) + " bytes");
    if (static_cast<std::uint64_t>(header.headerSize) > fileSize)
        throwCorrupt(file, "the header is " + std::to_string(header.headerSize)
                               + " bytes long, but the file holds only " + std::to_string(fileSize)
                               + " bytes (truncated header)");

    const bool extended = header.fileVersion >= 5;
    const int base = extended ? extendedHeaderSize : fixedHeaderSize;
    const int tableNameSize = header.fileVersion == 12 ? 261 : 79;
    const int namesStart = base + 6 * fieldCount + 4 + tableNameSize;
    if (namesStart > header.headerSize)
        throwCorrupt(file, "the header declares " + std::to_string(fieldCount)
                               + " fields, more than its " + std::to_string(header.headerSize)
                               + " bytes can describe");

    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(header.headerSize));
    source.readAt(0, bytes);
    const std::uint8_t* h = bytes.data();

    std::uint32_t encryption = 0;
    if (extended) {
        encryption = loadLe32(h + 0x5C);
        header.codePage = loadLe16(h + 0x6A);
        header.autoIncrementValue = loadLe32(h + 0x49);
        const int sortIdOffset = 0x58 + loadLe16(h + 0x6E);
        if (sortIdOffset >= namesStart && sortIdOffset < header.headerSize) {
            for (int i = sortIdOffset; i < header.headerSize && h[i] != 0; ++i)
                header.sortOrderId.push_back(static_cast<char>(h[i]));
        }
    } else {
        encryption = loadLe32(h + 0x25);
    }
    header.encryptionKey = encryption;
    header.encrypted = encryption != 0;

    if (options.codePage > 0) {
        header.textCodePage = options.codePage;
        header.codePageOrigin = CodePageOrigin::Chosen;
    } else if (header.codePage > 0) {
        header.textCodePage = header.codePage;
        header.codePageOrigin = CodePageOrigin::Header;
    } else if (const auto fromSortOrder = codePageOfSortOrder(header.sortOrder, header.sortOrderId)) {
        header.textCodePage = *fromSortOrder;
        header.codePageOrigin = CodePageOrigin::SortOrder;
    } else {
        header.textCodePage = guessedCodePage;
        header.codePageOrigin = CodePageOrigin::Guessed;
    }

    std::optional<CodePage> codePage;
    try {
        codePage.emplace(header.textCodePage);
    } catch (const Error&) {
        detail::throwUnsupported(file, "its text is in code page " + std::to_string(header.textCodePage)
                                           + ", which this system cannot convert");
    }

    // Field descriptors: type code and size (BCD: decimal places) per field.
    int recordSize = 0;
    header.fields.resize(static_cast<std::size_t>(fieldCount));
    for (int i = 0; i < fieldCount; ++i) {
        Field& field = header.fields[static_cast<std::size_t>(i)];
        const std::uint8_t code = h[base + 2 * i];
        const int size = h[base + 2 * i + 1];
        const auto type = fieldTypeFromCode(code);
        if (!type)
            throwCorrupt(file, "field " + std::to_string(i + 1) + " of the " + std::to_string(fieldCount)
                                   + " the header declares has the unknown type code " + detail::hexNumber(code));
        field.type = *type;
        if (field.type == FieldType::Bcd) {
            field.decimals = size;
            field.size = 17;
        } else {
            field.size = size;
        }
        recordSize += field.size;
    }

    // Table name, then the NUL-terminated field names.
    const int tableNameStart = base + 6 * fieldCount + 4;
    std::size_t tableNameLength = 0;
    while (tableNameLength < static_cast<std::size_t>(tableNameSize) && h[tableNameStart + tableNameLength] != 0)
        ++tableNameLength;
    if (!codePage->decode({h + tableNameStart, tableNameLength}, header.tableName))
        detail::throwInvalidText(file, {}, 0, header.textCodePage, header.codePageOrigin, "the table name in its header");

    int pos = namesStart;
    for (int i = 0; i < fieldCount; ++i) {
        Field& field = header.fields[static_cast<std::size_t>(i)];
        const int start = pos;
        while (pos < header.headerSize && h[pos] != 0)
            ++pos;
        if (pos >= header.headerSize)
            throwCorrupt(file, "the name of field " + std::to_string(i + 1)
                                   + " runs past the end of the header");
        if (!codePage->decode({h + start, static_cast<std::size_t>(pos - start)}, field.name))
            detail::throwInvalidText(file, {}, 0, header.textCodePage, header.codePageOrigin,
                                     "the name of field " + std::to_string(i + 1) + " in its header");
        ++pos;
    }

    for (int i = 0; i < fieldCount; ++i) {
        const Field& field = header.fields[static_cast<std::size_t>(i)];
        const std::string problem = checkFieldSize(field);
        if (!problem.empty())
            throwCorrupt(file, "field '" + field.name + "' (" + std::string(fieldTypeName(field.type)) + ") " + problem);
    }
    if (recordSize != header.recordSize)
        throwCorrupt(file, "the fields take " + std::to_string(recordSize) + " bytes, but the header gives a record size of "
                               + std::to_string(header.recordSize));
    if (header.recordSize > header.blockSize - 6)
        throwCorrupt(file, "a record of " + std::to_string(header.recordSize) + " bytes does not fit a block of "
                               + std::to_string(header.blockSize) + " bytes");
    return header;
}

} // namespace

TableHeader parseTableHeader(const ByteSource& source, const ReaderOptions& options)
{
    return parseHeader(source, options, false);
}

TableHeader detail::parseIndexDataHeader(const ByteSource& source, const ReaderOptions& options)
{
    return parseHeader(source, options, true);
}

} // namespace quintabel::paradox
