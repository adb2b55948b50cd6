#pragma once
// The date rewriting of rows bound for MySQL: dates, times and date-times arrive there in the
// one form "yyyy-mm-dd hh:nn:ss".

#include "drivers/value.h"

#include <optional>
#include <string>
#include <string_view>

namespace quintabel {

// Which values count as recognised as a date, and what they become:
//
// - A value the source reports as a date, a time or a date-time (the Value holds Date, Time or
//   DateTime) is always rewritten: a date gets the time "00:00:00", a time of day gets the date
//   "1899-12-30" (the day the source platform counts time values from). A fraction of a second
//   that is not zero stays, as ".ffffff" without trailing zeros (the program's own text form):
//   dropping it would lose part of the value, and MySQL reads the fraction in every column
//   that can hold one. A time that is no time of day (a MySQL TIME duration such as 100:00:00
//   or -01:00:00) is not rewritten: no date-time stands for it without inventing days, so it
//   keeps its own text.
// - A text value is rewritten only when it is, in full, a date "yyyy-mm-dd" or a date-time
//   "yyyy-mm-dd hh:nn:ss" in the program's own text form and names a real day and time of the
//   Gregorian calendar (year 0001 to 9999, hours 00 to 23). Anything else ("2021-02-30",
//   "31.08.2021", "2021-8-31", "12", " 2021-08-31") is plain text and stays as it is, so that no
//   text that merely looks like a number or a date is changed.
//
// Returns the rewritten text, or nothing when the value is not recognised.
std::optional<std::string> mysqlDateTimeText(const db::Value& value);

// True when `text` is exactly "yyyy-mm-dd" naming a real calendar day.
bool isCalendarDateText(std::string_view text);

// True when `text` is exactly "yyyy-mm-dd hh:nn:ss" naming a real calendar day and time of day.
bool isCalendarDateTimeText(std::string_view text);

} // namespace quintabel
