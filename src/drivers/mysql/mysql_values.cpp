#include "drivers/mysql/mysql_values.h"

#include "drivers/database_error.h"

#include <charconv>
#include <optional>

namespace quintabel::db::mysql {

namespace {

[[noreturn]] void malformed(std::string_view text, std::string_view columnName,
                            std::string_view what)
{
    throw DatabaseError("The server sent '" + std::string(text) + "' for the column '"
                        + std::string(columnName) + "', which is not " + std::string(what) + ".");
}

template <typename Number>
std::optional<Number> parseWhole(std::string_view text)
{
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

// Reads exactly `count` digits at `position`.
std::optional<int> digitsAt(std::string_view text, std::size_t position, std::size_t count)
{
    if (position + count > text.size())
        return std::nullopt;
    return parseWhole<int>(text.substr(position, count));
}

std::optional<Date> parseDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto year = digitsAt(text, 0, 4);
    const auto month = digitsAt(text, 5, 2);
    const auto day = digitsAt(text, 8, 2);
    if (!year || !month || !day || *month > 12 || *day > 31)
        return std::nullopt;
    return Date{*year, *month, *day};
}

// "hh:mm:ss" with an optional fraction of up to six digits; hours may run past 23 (a TIME
// column holds durations up to 838 hours).
std::optional<Time> parseTime(std::string_view text)
{
    const std::size_t firstColon = text.find(':');
    if (firstColon == std::string_view::npos || firstColon == 0)
        return std::nullopt;
    const auto hour = parseWhole<int>(text.substr(0, firstColon));
    const auto minute = digitsAt(text, firstColon + 1, 2);
    const auto second = digitsAt(text, firstColon + 4, 2);
    if (!hour || !minute || !second || text.size() < firstColon + 6 || text[firstColon + 3] != ':'
        || *minute > 59 || *second > 59)
        return std::nullopt;
    int microsecond = 0;
    std::string_view rest = text.substr(firstColon + 6);
    if (!rest.empty()) {
        if (rest[0] != '.' || rest.size() < 2 || rest.size() > 7)
            return std::nullopt;
        std::string fraction(rest.substr(1));
        fraction.resize(6, '0');
        const auto parsed = parseWhole<int>(fraction);
        if (!parsed)
            return std::nullopt;
        microsecond = *parsed;
    }
    return Time{*hour, *minute, *second, microsecond};
}

bool hasZeroPart(const Date& date)
{
    return date.year == 0 || date.month == 0 || date.day == 0;
}

bool isAllZero(const Date& date)
{
    return date.year == 0 && date.month == 0 && date.day == 0;
}

Value dateValue(std::string_view text, std::string_view columnName)
{
    const auto date = parseDate(text);
    if (!date)
        malformed(text, columnName, "a date");
    if (isAllZero(*date))
        return Null{.wasZeroDate = true};
    if (hasZeroPart(*date))
        return std::string(text);
    return *date;
}

Value timeValue(std::string_view text, std::string_view columnName)
{
    // A negative duration has no place in a time of day; it stays text, unchanged.
    if (!text.empty() && text[0] == '-') {
        if (!parseTime(text.substr(1)))
            malformed(text, columnName, "a time");
        return std::string(text);
    }
    const auto time = parseTime(text);
    if (!time)
        malformed(text, columnName, "a time");
    return *time;
}

Value dateTimeValue(std::string_view text, std::string_view columnName)
{
    if (text.size() < 19 || text[10] != ' ')
        malformed(text, columnName, "a date and time");
    const auto date = parseDate(text.substr(0, 10));
    const auto time = parseTime(text.substr(11));
    if (!date || !time || time->hour > 23)
        malformed(text, columnName, "a date and time");
    if (isAllZero(*date) && *time == Time{})
        return Null{.wasZeroDate = true};
    if (hasZeroPart(*date))
        return std::string(text);
    return DateTime{*date, *time};
}

bool isDecimalText(std::string_view text)
{
    std::size_t position = 0;
    if (position < text.size() && text[position] == '-')
        ++position;
    bool digits = false;
    bool point = false;
    for (; position < text.size(); ++position) {
        const char c = text[position];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

} // namespace

Value convertFieldText(ValueKind kind, std::string_view text, std::string_view columnName)
{
    switch (kind) {
    case ValueKind::SignedInteger:
        if (const auto number = parseWhole<std::int64_t>(text))
            return *number;
        malformed(text, columnName, "a whole number");
    case ValueKind::UnsignedInteger:
        if (const auto number = parseWhole<std::uint64_t>(text))
            return *number;
        malformed(text, columnName, "an unsigned whole number");
    case ValueKind::Boolean:
        // BIT(1) arrives as one raw byte.
        if (text.size() != 1)
            malformed(text, columnName, "a single bit");
        return text[0] != 0;
    case ValueKind::Double: {
        double number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error != std::errc{} || end != text.data() + text.size())
            malformed(text, columnName, "a floating-point number");
        return number;
    }
    case ValueKind::Decimal:
        if (!isDecimalText(text))
            malformed(text, columnName, "a decimal number");
        return Decimal{std::string(text)};
    case ValueKind::Date:
        return dateValue(text, columnName);
    case ValueKind::Time:
        return timeValue(text, columnName);
    case ValueKind::DateTime:
        return dateTimeValue(text, columnName);
    case ValueKind::Text:
        return std::string(text);
    case ValueKind::Bytes:
        return Bytes(text.begin(), text.end());
    }
    return std::string(text);
}

} // namespace quintabel::db::mysql
