#include "transfer/date_rewrite.h"

#include <cstddef>

namespace quintabel {

namespace {

constexpr std::string_view midnight = "00:00:00";
// Day zero of the source platform's date-time values; a time alone is a time on that day.
constexpr std::string_view timeOnlyDate = "1899-12-30";

// The number held by `count` ASCII digits at `position`, or -1 when any of them is no digit.
int digitsAt(std::string_view text, std::size_t position, std::size_t count)
{
    int number = 0;
    for (std::size_t index = position; index < position + count; ++index) {
        const char character = text[index];
        if (character < '0' || character > '9')
            return -1;
        number = number * 10 + (character - '0');
    }
    return number;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// "yyyy-mm-dd" at the start of `text`, which holds at least 10 characters.
bool startsWithCalendarDate(std::string_view text)
{
    if (text[4] != '-' || text[7] != '-')
        return false;
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

bool isTimeOfDay(const db::Time& time)
{
    return time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59
        && time.second >= 0 && time.second <= 59 && time.microsecond >= 0 && time.microsecond <= 999999;
}

} // namespace

bool isCalendarDateText(std::string_view text)
{
    return text.size() == 10 && startsWithCalendarDate(text);
}

bool isCalendarDateTimeText(std::string_view text)
{
    if (text.size() != 19 || !startsWithCalendarDate(text) || text[10] != ' ' || text[13] != ':'
        || text[16] != ':')
        return false;
    const int hour = digitsAt(text, 11, 2);
    const int minute = digitsAt(text, 14, 2);
    const int second = digitsAt(text, 17, 2);
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

std::optional<std::string> mysqlDateTimeText(const db::Value& value)
{
    if (const auto* date = std::get_if<db::Date>(&value))
        return db::formatDate(*date) + " " + std::string(midnight);
    if (const auto* dateTime = std::get_if<db::DateTime>(&value))
        return db::formatDateTime(*dateTime);
    if (const auto* time = std::get_if<db::Time>(&value)) {
        if (!isTimeOfDay(*time))
            return std::nullopt;
        return std::string(timeOnlyDate) + " " + db::formatTime(*time);
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (isCalendarDateText(*text))
            return *text + " " + std::string(midnight);
        if (isCalendarDateTimeText(*text))
            return *text;
    }
    return std::nullopt;
}

} // namespace quintabel
