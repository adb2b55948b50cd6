#pragma once
// Reads the date and time texts that reach a scratch DATETIME column ("yyyy-mm-dd",
// "yyyy-mm-dd hh:nn:ss" with up to six decimals of a second, "hh:nn:ss") as Paradox values.

#include "paradoxfile/value.h"

#include <optional>
#include <string_view>
#include <variant>

namespace quintabel::db::scratch {

struct DateText {
    // A Date, a Timestamp, or a Time (a time of day without a date).
    std::variant<quintabel::paradox::Date, quintabel::paradox::Timestamp, quintabel::paradox::Time> value;
    // Microseconds below the millisecond, which no Paradox field keeps.
    int lostMicroseconds = 0;
};

// Nothing when the text is none of the three forms or names no real day or time of day.
std::optional<DateText> readDateText(std::string_view text);

} // namespace quintabel::db::scratch
