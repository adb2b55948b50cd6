#pragma once
// Encoding and decoding of the fixed-size field values of a record (docs/paradox-format.md §5):
// big-endian with a flipped sign bit, all zero bytes meaning blank. Shared by the reader and
// the writer so the two cannot drift apart.

#include "paradoxfile/value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quintabel::paradox::detail {

inline bool isAllZero(const std::uint8_t* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] != 0)
            return false;
    return true;
}

// Short (2 bytes) and the 4-byte integer types: Long, Autoincrement, Date, Time.
std::int64_t decodeInteger16(const std::uint8_t* p);
std::int64_t decodeInteger32(const std::uint8_t* p);
void encodeInteger16(std::uint8_t* p, std::int16_t value);
void encodeInteger32(std::uint8_t* p, std::int32_t value);

// Number, Money, Timestamp.
double decodeDouble(const std::uint8_t* p);
// -0.0 is stored as +0.0 (docs/paradox-format.md §5.2).
void encodeDouble(std::uint8_t* p, double value);

// BCD: 17 bytes. Fills `digits` ("-12.34"). `badNibbles` is set when some digit nibble is
// above 9: such a value is read positionally (each nibble times its power of ten, carries
// propagated), which is how other readers see it. Returns false for a blank value.
// Throws nothing; `problem` is set for a value that cannot be read at all.
struct BcdDecodeResult {
    bool blank = false;
    bool badNibbles = false;
    std::string problem;
};
BcdDecodeResult decodeBcd(const std::uint8_t* p, std::string& digits);

// Encodes decimal text into a BCD field with `decimals` places. Returns what is wrong, or
// nothing on success.
std::optional<std::string> encodeBcd(std::uint8_t* p, const std::string& text, int decimals);

// Milliseconds since 0000-12-31 00:00 (day 0) for a timestamp, and back.
double timestampToMilliseconds(const Timestamp& timestamp);
// Nothing when the number is not finite or out of any calendar's range.
std::optional<Timestamp> timestampFromMilliseconds(double ms);

} // namespace quintabel::paradox::detail
