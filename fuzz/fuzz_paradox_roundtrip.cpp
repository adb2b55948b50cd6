// libFuzzer target: the bytes choose a table definition, a code page and records of values;
// the encoder writes them to memory and the reader must read back exactly what was accepted
// (after Paradox's own normalisations: "" reads as blank, -0.0 as 0.0, BCD with its field's
// decimal places). A value the encoder refuses must be refused with a ValueError and leave
// the table as it was. Any disagreement aborts.
#include "paradoxfile/byte_io.h"
#include "paradoxfile/calendar.h"
#include "paradoxfile/code_page.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_encoder.h"
#include "paradoxfile/table_reader.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace quintabel::paradox;

namespace {

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint32_t next32()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | next();
        return v;
    }
    std::uint64_t next64() { return (static_cast<std::uint64_t>(next32()) << 32) | next32(); }
    bool done() const { return pos_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

constexpr FieldType allTypes[] = {
    FieldType::Alpha, FieldType::Date,    FieldType::Short,         FieldType::Long,      FieldType::Money,
    FieldType::Number, FieldType::Logical, FieldType::Memo,          FieldType::Binary,    FieldType::FormattedMemo,
    FieldType::Ole,   FieldType::Graphic, FieldType::Time,          FieldType::Timestamp, FieldType::AutoIncrement,
    FieldType::Bcd,   FieldType::Bytes,
};

constexpr int codePages[] = {1252, 850, 866, 437, 865, 936};

// Pieces of text, some of which a given code page cannot hold.
const char* const pieces[] = {"a", "Z", " ", "0", "é", "ß", "€", "П", "ж", "中", "ø", "\n", "½", "╔", "\x01", "'"};

std::string text(Bytes& in, std::size_t maxLength)
{
    std::string s;
    const std::size_t length = in.next() % (maxLength + 1);
    for (std::size_t i = 0; i < length; ++i)
        s += pieces[in.next() % (sizeof pieces / sizeof *pieces)];
    if (in.next() == 0xFF) // now and then a long one, for the .MB's own blocks
        s += std::string(in.next() * 40u, 'L');
    return s;
}

Blob bytes(Bytes& in, std::size_t length)
{
    Blob b(length);
    for (auto& x : b)
        x = in.next();
    return b;
}

Value makeValue(Bytes& in, const Field& field)
{
    if (in.next() % 8 == 0)
        return Null{};
    switch (field.type) {
    case FieldType::Alpha:
    case FieldType::Memo:
    case FieldType::FormattedMemo:
        return text(in, field.type == FieldType::Alpha ? static_cast<std::size_t>(field.size) + 2 : 60);
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoIncrement: {
        const std::int64_t v = static_cast<std::int64_t>(in.next64());
        return in.next() % 2 ? v : v % 40000;
    }
    case FieldType::Number:
    case FieldType::Money: {
        if (in.next() % 4 == 0)
            return static_cast<std::int64_t>(in.next64() >> (in.next() % 64));
        double d;
        const std::uint64_t bits = in.next64();
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    case FieldType::Bcd: {
        std::string digits = in.next() % 2 ? "-" : "";
        const int integer = in.next() % 34;
        for (int i = 0; i < integer; ++i)
            digits += static_cast<char>('0' + in.next() % 10);
        const int fraction = in.next() % 34;
        if (fraction > 0 || integer == 0) {
            digits += '.';
            for (int i = 0; i < fraction; ++i)
                digits += static_cast<char>('0' + (in.next() % 3 == 0 ? 0 : in.next() % 10));
        }
        return Decimal{digits};
    }
    case FieldType::Logical:
        return in.next() % 2 == 0;
    case FieldType::Date:
        return Date{static_cast<int>(in.next32() % 20000) - 5000, in.next() % 14, in.next() % 33};
    case FieldType::Time:
        return Time{in.next() % 25, in.next() % 61, in.next() % 61, static_cast<int>(in.next32() % 1001)};
    case FieldType::Timestamp:
        return Timestamp{{static_cast<int>(in.next32() % 12000) - 1000, in.next() % 13, in.next() % 32},
                         {in.next() % 24, in.next() % 60, in.next() % 60, static_cast<int>(in.next32() % 1000)}};
    case FieldType::Bytes:
        return bytes(in, static_cast<std::size_t>(field.size) - (in.next() % 5 == 0 ? 1 : 0));
    case FieldType::Binary:
    case FieldType::Ole:
    case FieldType::Graphic: {
        std::size_t length = in.next();
        if (in.next() % 5 == 0)
            length = length * 40;
        return bytes(in, length);
    }
    }
    return Null{};
}

// The value the reader must give back for an accepted value.
Value expectedOf(const Field& field, const Value& value, const CodePage& codePage)
{
    if (const auto* s = std::get_if<std::string>(&value); s && s->empty())
        return Null{};
    if (const auto* b = std::get_if<Blob>(&value); b && b->empty() && isBlobType(field.type))
        return Null{};
    if (const auto* d = std::get_if<double>(&value); d && *d == 0)
        return 0.0;
    if (const auto* n = std::get_if<std::int64_t>(&value);
        n && (field.type == FieldType::Number || field.type == FieldType::Money))
        return static_cast<double>(*n);
    // A formatted memo reads back as the bytes it holds: bytes as they went in, text as the
    // table's code page wrote it.
    if (const auto* s = std::get_if<std::string>(&value); s && field.type == FieldType::FormattedMemo) {
        std::string encoded;
        if (codePage.encode(*s, encoded))
            std::abort(); // the writer took text its code page cannot hold
        return Blob(encoded.begin(), encoded.end());
    }
    if (field.type == FieldType::Bcd && !isNull(value)) {
        // Canonical digits: no leading zeros, exactly `decimals` places, no "-0".
        std::string digits = std::holds_alternative<Decimal>(value) ? std::get<Decimal>(value).digits
                                                                      : std::to_string(std::get<std::int64_t>(value));
        bool negative = false;
        if (!digits.empty() && digits[0] == '-') {
            negative = true;
            digits.erase(0, 1);
        }
        const auto dot = digits.find('.');
        std::string integer = digits.substr(0, dot);
        std::string fraction = dot == std::string::npos ? "" : digits.substr(dot + 1);
        integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
        if (integer.empty())
            integer = "0";
        fraction.resize(static_cast<std::size_t>(field.decimals), '0');
        std::string result = integer + (field.decimals > 0 ? "." + fraction : "");
        if (negative && result.find_first_not_of("0.") != std::string::npos)
            result = "-" + result;
        return Decimal{result};
    }
    return value;
}

bool same(const Value& a, const Value& b)
{
    const auto* x = std::get_if<double>(&a);
    const auto* y = std::get_if<double>(&b);
    if (x && y)
        return std::memcmp(x, y, sizeof(double)) == 0 || (std::isnan(*x) && std::isnan(*y));
    return a == b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes in(data, size);
    std::vector<Field> fields;
    const int fieldCount = 1 + in.next() % 6;
    for (int i = 0; i < fieldCount; ++i) {
        Field field;
        field.name = "F" + std::to_string(i);
        field.type = allTypes[in.next() % (sizeof allTypes / sizeof *allTypes)];
        if (field.type == FieldType::Alpha)
            field.size = 1 + in.next() % 40;
        else if (field.type == FieldType::Bytes)
            field.size = 1 + in.next() % 16;
        else if (isBlobType(field.type))
            field.size = 11 + in.next() % 30;
        else if (field.type == FieldType::Bcd)
            field.decimals = in.next() % 33;
        fields.push_back(field);
    }
    EncoderOptions options;
    options.codePage = codePages[in.next() % (sizeof codePages / sizeof *codePages)];
    options.blockSizeKB = in.next() % 3 == 0 ? 1 : 0;
    options.updateTime = 0;

    MemorySink table("fuzz.db");
    MemorySink blobs("fuzz.mb");
    std::vector<std::vector<Value>> accepted;
    try {
        TableEncoder encoder(fields, table, &blobs, options);
        const int rows = in.next() % 24;
        for (int r = 0; r < rows && !in.done(); ++r) {
            std::vector<Value> record;
            for (const auto& field : encoder.fields())
                record.push_back(makeValue(in, field));
            try {
                encoder.append(record);
                accepted.push_back(record);
            } catch (const ValueError&) {
            }
        }
        encoder.finish();
        fields = encoder.fields();
    } catch (const DefinitionError&) {
        return 0;
    }

    bool hasBlobs = false;
    for (const auto& field : fields)
        hasBlobs = hasBlobs || isBlobType(field.type);
    TableReader reader(std::make_unique<MemorySource>(table.bytes(), "fuzz.db"),
                       hasBlobs ? std::make_unique<MemorySource>(blobs.bytes(), "fuzz.mb") : nullptr);
    const CodePage codePage(options.codePage);
    std::vector<Value> record;
    std::size_t r = 0;
    while (reader.next(record)) {
        if (r >= accepted.size())
            std::abort(); // more records than were written
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const Value expected = expectedOf(fields[i], accepted[r][i], codePage);
            if (!same(record[i], expected))
                std::abort();
        }
        ++r;
    }
    if (r != accepted.size() || !reader.warnings().empty())
        std::abort();
    return 0;
}
