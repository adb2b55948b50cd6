#include "paradoxfile/calendar.h"

#include <climits>
#include <cstdio>

namespace quintabel::paradox {

namespace {

// Floor division for the era arithmetic below (C++ division truncates towards zero).
std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Days from 1970-01-01 to the given civil date, after H. Hinnant's days_from_civil: exact
// for every year, negative ones included.
std::int64_t daysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (m + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// Day number of 1970-01-01 when day 1 is 0001-01-01.
constexpr std::int64_t unixEpochDayNumber = 719163;

} // namespace

bool isLeapYear(std::int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(std::int64_t year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && isLeapYear(year))
        return 29;
    return days[month - 1];
}

bool isValidDate(const Date& date)
{
    return date.month >= 1 && date.month <= 12 && date.day >= 1
        && date.day <= daysInMonth(date.year, date.month);
}

bool isValidTime(const Time& time)
{
    return time.hour >= 0 && time.hour < 24 && time.minute >= 0 && time.minute < 60
        && time.second >= 0 && time.second < 60 && time.millisecond >= 0 && time.millisecond < 1000;
}

std::int64_t dayNumberFromDate(const Date& date)
{
    return daysFromCivil(date.year, date.month, date.day) + unixEpochDayNumber;
}

std::optional<Date> dateFromDayNumber(std::int64_t dayNumber)
{
    // H. Hinnant's civil_from_days.
    const std::int64_t z = dayNumber - unixEpochDayNumber + 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t y = yoe + era * 400;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y += m <= 2 ? 1 : 0;
    if (y < INT_MIN || y > INT_MAX)
        return std::nullopt;
    return Date{static_cast<int>(y), m, d};
}

std::int64_t millisecondsFromTime(const Time& time)
{
    return ((static_cast<std::int64_t>(time.hour) * 60 + time.minute) * 60 + time.second) * 1000
        + time.millisecond;
}

Time timeFromMilliseconds(std::int64_t ms)
{
    Time time;
    time.millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    time.second = static_cast<int>(ms % 60);
    ms /= 60;
    time.minute = static_cast<int>(ms % 60);
    time.hour = static_cast<int>(ms / 60);
    return time;
}

std::string formatDate(const Date& date)
{
    char text[40];
    if (date.year >= 0)
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    else
        std::snprintf(text, sizeof text, "-%04lld-%02d-%02d", -static_cast<long long>(date.year),
                      date.month, date.day);
    return text;
}

std::string formatTime(const Time& time)
{
    char text[40];
    if (time.millisecond != 0)
        std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", time.hour, time.minute, time.second,
                      time.millisecond);
    else
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour, time.minute, time.second);
    return text;
}

std::string formatTimestamp(const Timestamp& timestamp)
{
    return formatDate(timestamp.date) + " " + formatTime(timestamp.time);
}

} // namespace quintabel::paradox
