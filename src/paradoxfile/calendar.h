#pragma once
// Calendar arithmetic for Paradox dates, times and timestamps: day numbers in the proleptic
// Gregorian calendar with day 1 = 0001-01-01 (Python's date.toordinal()), milliseconds since
// midnight, and the text forms pdxtool prints. No time zones, no C library time functions.

#include "paradoxfile/value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quintabel::paradox {

constexpr std::int64_t millisecondsPerDay = 86'400'000;

bool isLeapYear(std::int64_t year);
int daysInMonth(std::int64_t year, int month);
bool isValidDate(const Date& date);
bool isValidTime(const Time& time);

// Day 1 is 0001-01-01; day 0 is 0000-12-31, and so on backwards.
std::int64_t dayNumberFromDate(const Date& date);
// Nothing when the year would not fit an int.
std::optional<Date> dateFromDayNumber(std::int64_t dayNumber);

std::int64_t millisecondsFromTime(const Time& time);
// `ms` must be in 0 .. 86 399 999.
Time timeFromMilliseconds(std::int64_t ms);

// "YYYY-MM-DD" (a year below 0 or above 9999 gets a sign or more digits: "-0044-03-15").
std::string formatDate(const Date& date);
// "HH:MM:SS", with ".mmm" only when the milliseconds are not zero.
std::string formatTime(const Time& time);
// "YYYY-MM-DD HH:MM:SS[.mmm]"
std::string formatTimestamp(const Timestamp& timestamp);

} // namespace quintabel::paradox
