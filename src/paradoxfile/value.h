#pragma once
// The typed value of one field of one record, as the reader hands it out and the writer takes
// it in. Pure calendar types: no time zones anywhere.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace quintabel::paradox {

// A blank field. Paradox cannot tell an empty Alpha from a blank one: both read as Null.
struct Null {
    bool operator==(const Null&) const = default;
};

// A day of the proleptic Gregorian calendar. Year 0 is 1 BC (astronomical numbering).
struct Date {
    int year = 1;
    int month = 1;
    int day = 1;
    bool operator==(const Date&) const = default;
};

// A time of day with whole milliseconds (Paradox's resolution).
struct Time {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    bool operator==(const Time&) const = default;
};

struct Timestamp {
    Date date;
    Time time;
    bool operator==(const Timestamp&) const = default;
};

// An exact decimal kept as text: optional "-", digits, optionally "." and more digits
// ("-1234.50"). A BCD field reads back with exactly its number of decimal places.
struct Decimal {
    std::string digits;
    bool operator==(const Decimal&) const = default;
};

using Blob = std::vector<std::uint8_t>;

// What each field type reads as:
//   Short, Long Integer, Autoincrement -> std::int64_t
//   Number, Money                      -> double
//   BCD                                -> Decimal
//   Logical                            -> bool
//   Date, Time, Timestamp              -> Date, Time, Timestamp
//   Alpha, Memo                        -> std::string (UTF-8)
//   Bytes, Binary, OLE, Graphic,       -> Blob (Graphic: the image, without Paradox's
//   Formatted Memo                        8-byte prefix; Formatted Memo: its rich-text
//                                         bytes as stored, whatever the code page)
// and any blank field -> Null.
using Value = std::variant<Null, std::int64_t, double, Decimal, bool, Date, Time, Timestamp,
                           std::string, Blob>;

inline bool isNull(const Value& value)
{
    return std::holds_alternative<Null>(value);
}

} // namespace quintabel::paradox
