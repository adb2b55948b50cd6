#pragma once
// The value of one field of one row, as every driver hands it up and every statement builder
// reads it. Plain C++: no Qt below the windows' layer.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace quintabel::db {

struct Null {
    // Set by the MySQL driver where the server sent a zero date ("0000-00-00"), which no
    // calendar and no Paradox date can hold, so that the transfer can say which blanks were
    // dates. A null is still a null: the mark takes no part in comparing values.
    bool wasZeroDate = false;
    bool operator==(const Null&) const { return true; }
};

struct Date {
    int year = 1;
    int month = 1;
    int day = 1;
    bool operator==(const Date&) const = default;
};

struct Time {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int microsecond = 0;
    bool operator==(const Time&) const = default;
};

struct DateTime {
    Date date;
    Time time;
    bool operator==(const DateTime&) const = default;
};

// An exact decimal number kept as its digits: an optional "-", digits, optionally "." and
// more digits ("-1234.50"). Never passed through a double, so no digit is lost.
struct Decimal {
    std::string digits;
    bool operator==(const Decimal&) const = default;
};

using Bytes = std::vector<std::uint8_t>;

// Text is UTF-8. Booleans are their own kind so that they print as "True"/"False".
using Value = std::variant<Null, std::int64_t, std::uint64_t, double, Decimal, bool, Date, Time,
                           DateTime, std::string, Bytes>;

inline bool isNull(const Value& value)
{
    return std::holds_alternative<Null>(value);
}

// The locale-independent text form of a value: numbers with "." and no grouping (a double as
// the shortest text that reads back to the same number), dates "yyyy-mm-dd", times
// "hh:nn:ss", date-times "yyyy-mm-dd hh:nn:ss" (fractions of a second only when not zero,
// as ".ffffff" trimmed of trailing zeros), booleans "True"/"False", text as it is, bytes as
// upper-case hex digits. Null is the empty text.
std::string toText(const Value& value);

std::string formatDate(const Date& date);
std::string formatTime(const Time& time);
std::string formatDateTime(const DateTime& dateTime);
std::string hexDigits(const Bytes& bytes);

} // namespace quintabel::db
