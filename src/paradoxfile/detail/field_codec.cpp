#include "paradoxfile/detail/field_codec.h"

#include "paradoxfile/calendar.h"
#include "paradoxfile/detail/endian.h"

#include <cmath>

namespace quintabel::paradox::detail {

std::int64_t decodeInteger16(const std::uint8_t* p)
{
    return static_cast<std::int16_t>(loadBe16(p) ^ 0x8000u);
}

std::int64_t decodeInteger32(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(loadBe32(p) ^ 0x80000000u);
}

void encodeInteger16(std::uint8_t* p, std::int16_t value)
{
    storeBe16(p, static_cast<std::uint16_t>(static_cast<std::uint16_t>(value) ^ 0x8000u));
}

void encodeInteger32(std::uint8_t* p, std::int32_t value)
{
    storeBe32(p, static_cast<std::uint32_t>(value) ^ 0x80000000u);
}

double decodeDouble(const std::uint8_t* p)
{
    std::uint64_t bits = loadBe64(p);
    if (bits & 0x8000000000000000ull)
        bits &= ~0x8000000000000000ull;
    else
        bits = ~bits;
    return doubleFromBits(bits);
}

void encodeDouble(std::uint8_t* p, double value)
{
    if (value == 0.0)
        value = 0.0; // turns -0.0 into +0.0
    std::uint64_t bits = doubleBits(value);
    if (bits & 0x8000000000000000ull)
        bits = ~bits;
    else
        bits |= 0x8000000000000000ull;
    storeBe64(p, bits);
}

BcdDecodeResult decodeBcd(const std::uint8_t* p, std::string& digits)
{
    BcdDecodeResult result;
    const bool positive = (p[0] & 0x80) != 0;
    const bool present = (p[0] & 0x40) != 0;
    const int decimals = p[0] & 0x3F;
    if (!present) {
        // Bit 6 clear marks a blank value; its digit bytes must be blank too.
        if (isAllZero(p + 1, 16)) {
            result.blank = true;
            return result;
        }
        result.problem = "is marked blank but holds digits";
        return result;
    }
    if (decimals > 32) {
        result.problem = "claims " + std::to_string(decimals) + " decimal places (at most 32)";
        return result;
    }
    const std::uint8_t flip = positive ? 0x00 : 0xFF;
    int nibbles[33];
    nibbles[0] = 0; // room for a carry out of the top digit
    for (int i = 0; i < 16; ++i) {
        const std::uint8_t b = static_cast<std::uint8_t>(p[1 + i] ^ flip);
        nibbles[1 + 2 * i] = b >> 4;
        nibbles[2 + 2 * i] = b & 0x0F;
    }
    int carry = 0;
    for (int i = 32; i >= 0; --i) {
        int n = nibbles[i] + carry;
        if (nibbles[i] > 9)
            result.badNibbles = true;
        carry = n / 10;
        nibbles[i] = n % 10;
    }
    // Digits 0..(32 - decimals) form the integer part, the rest the fraction.
    const int integerEnd = 33 - decimals;
    digits.clear();
    bool allZero = true;
    for (int i = 0; i <= 32; ++i)
        if (nibbles[i] != 0)
            allZero = false;
    if (!positive && !allZero)
        digits.push_back('-');
    int first = 0;
    while (first < integerEnd - 1 && nibbles[first] == 0)
        ++first;
    for (int i = first; i < integerEnd; ++i)
        digits.push_back(static_cast<char>('0' + nibbles[i]));
    if (decimals > 0) {
        digits.push_back('.');
        for (int i = integerEnd; i <= 32; ++i)
            digits.push_back(static_cast<char>('0' + nibbles[i]));
    }
    return result;
}

std::optional<std::string> encodeBcd(std::uint8_t* p, const std::string& text, int decimals)
{
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::string integerDigits;
    std::string fractionDigits;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        integerDigits.push_back(text[pos++]);
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
            fractionDigits.push_back(text[pos++]);
    }
    if (pos != text.size() || (integerDigits.empty() && fractionDigits.empty()))
        return "'" + text + "' is not a decimal number";
    std::size_t lead = 0;
    while (lead < integerDigits.size() && integerDigits[lead] == '0')
        ++lead;
    integerDigits.erase(0, lead);
    while (fractionDigits.size() > static_cast<std::size_t>(decimals)) {
        if (fractionDigits.back() != '0')
            return text + " has more decimal places than the field's " + std::to_string(decimals);
        fractionDigits.pop_back();
    }
    fractionDigits.append(static_cast<std::size_t>(decimals) - fractionDigits.size(), '0');
    if (integerDigits.size() > static_cast<std::size_t>(32 - decimals))
        return text + " has more than " + std::to_string(32 - decimals)
            + " digits before the decimal point, the most a BCD field with "
            + std::to_string(decimals) + " decimal places holds";
    const std::string all = std::string(32 - decimals - integerDigits.size(), '0') + integerDigits + fractionDigits;
    bool zero = true;
    for (const char c : all)
        if (c != '0')
            zero = false;
    if (zero)
        negative = false;
    const std::uint8_t flip = negative ? 0xFF : 0x00;
    p[0] = static_cast<std::uint8_t>((negative ? 0x00 : 0x80) | 0x40 | decimals);
    for (int i = 0; i < 16; ++i) {
        const int hi = all[static_cast<std::size_t>(2 * i)] - '0';
        const int lo = all[static_cast<std::size_t>(2 * i + 1)] - '0';
        p[1 + i] = static_cast<std::uint8_t>(((hi << 4) | lo) ^ flip);
    }
    return std::nullopt;
}

double timestampToMilliseconds(const Timestamp& timestamp)
{
    return static_cast<double>(dayNumberFromDate(timestamp.date) * millisecondsPerDay
                               + millisecondsFromTime(timestamp.time));
}

std::optional<Timestamp> timestampFromMilliseconds(double ms)
{
    // 2^62 ms is far beyond any calendar Paradox knows, and keeps the arithmetic exact.
    if (!std::isfinite(ms) || std::fabs(ms) > 4.6e18)
        return std::nullopt;
    const auto whole = static_cast<std::int64_t>(std::llround(ms));
    std::int64_t day = whole / millisecondsPerDay;
    std::int64_t inDay = whole % millisecondsPerDay;
    if (inDay < 0) {
        inDay += millisecondsPerDay;
        --day;
    }
    const auto date = dateFromDayNumber(day);
    if (!date)
        return std::nullopt;
    return Timestamp{*date, timeFromMilliseconds(inDay)};
}

} // namespace quintabel::paradox::detail
