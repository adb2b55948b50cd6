#include "drivers/scratch/scratch_date_text.h"

#include "paradoxfile/calendar.h"


namespace quintabel::db::scratch {

namespace px = quintabel::paradox;

namespace {

std::optional<int> digitsAt(std::string_view text, std::size_t position, std::size_t count)
{
    if (position + count > text.size())
        return std::nullopt;
    // At most six digits: no overflow. Read by hand, since every date of every row of a
    // transfer comes through here more than once.
    int number = 0;
    for (std::size_t i = position; i < position + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        number = number * 10 + (text[i] - '0');
    }
    return number;
}

std::optional<px::Date> readDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto year = digitsAt(text, 0, 4);
    const auto month = digitsAt(text, 5, 2);
    const auto day = digitsAt(text, 8, 2);
    if (!year || !month || !day)
        return std::nullopt;
    const px::Date date{*year, *month, *day};
    if (!px::isValidDate(date) || date.year < 1)
        return std::nullopt;
    return date;
}

// "hh:nn:ss" with an optional fraction of up to six digits.
std::optional<std::pair<px::Time, int>> readTime(std::string_view text)
{
    if (text.size() < 8 || text[2] != ':' || text[5] != ':')
        return std::nullopt;
    const auto hour = digitsAt(text, 0, 2);
    const auto minute = digitsAt(text, 3, 2);
    const auto second = digitsAt(text, 6, 2);
    if (!hour || !minute || !second)
        return std::nullopt;
    int microsecond = 0;
    if (text.size() > 8) {
        const std::size_t decimals = text.size() - 9;
        if (text[8] != '.' || decimals < 1 || decimals > 6)
            return std::nullopt;
        const auto fraction = digitsAt(text, 9, decimals);
        if (!fraction)
            return std::nullopt;
        microsecond = *fraction;
        for (std::size_t i = decimals; i < 6; ++i)
            microsecond *= 10;
    }
    const px::Time time{*hour, *minute, *second, microsecond / 1000};
    if (!px::isValidTime(time))
        return std::nullopt;
    return std::make_pair(time, microsecond % 1000);
}

} // namespace

std::optional<DateText> readDateText(std::string_view text)
{
    if (const auto date = readDate(text))
        return DateText{*date, 0};
    if (const auto time = readTime(text))
        return DateText{time->first, time->second};
    if (text.size() < 19 || text[10] != ' ')
        return std::nullopt;
    const auto date = readDate(text.substr(0, 10));
    const auto time = readTime(text.substr(11));
    if (!date || !time)
        return std::nullopt;
    return DateText{px::Timestamp{*date, time->first}, time->second};
}

} // namespace quintabel::db::scratch
