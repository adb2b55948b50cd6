#include "drivers/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace quintabel::db {

namespace {

// Dates and times are formatted for every value of every row a transfer sends, several times
// over; snprintf's format parsing was the largest single cost of a row. So the usual ranges
// are written digit by digit, and only what lies outside them goes through snprintf, which
// defines the form ("%02d", "%04d", "%06d").
void appendDigits(std::string& text, int number, int width)
{
    char digits[8];
    for (int position = width - 1; position >= 0; --position) {
        digits[position] = static_cast<char>('0' + number % 10);
        number /= 10;
    }
    text.append(digits, static_cast<std::size_t>(width));
}

void appendPadded(std::string& text, int number, int width)
{
    int largest = 1;
    for (int digit = 0; digit < width; ++digit)
        largest *= 10;
    if (number >= 0 && number < largest) {
        appendDigits(text, number, width);
        return;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, number);
    text += buffer;
}

void appendTime(std::string& text, const Time& time)
{
    appendPadded(text, time.hour, 2);
    text += ':';
    appendPadded(text, time.minute, 2);
    text += ':';
    appendPadded(text, time.second, 2);
    if (time.microsecond <= 0)
        return;
    const std::size_t point = text.size();
    text += '.';
    appendPadded(text, time.microsecond, 6);
    // Trailing zeros of the fraction say nothing; the point stays only before a digit.
    while (text.back() == '0' && text.size() > point + 1)
        text.pop_back();
}

void appendDate(std::string& text, const Date& date)
{
    appendPadded(text, date.year, 4);
    text += '-';
    appendPadded(text, date.month, 2);
    text += '-';
    appendPadded(text, date.day, 2);
}

std::string shortestDouble(double number)
{
    if (std::isnan(number))
        return "NaN";
    if (std::isinf(number))
        return number < 0 ? "-Infinity" : "Infinity";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

} // namespace

std::string formatDate(const Date& date)
{
    std::string text;
    text.reserve(10);
    appendDate(text, date);
    return text;
}

std::string formatTime(const Time& time)
{
    std::string text;
    text.reserve(15);
    appendTime(text, time);
    return text;
}

std::string formatDateTime(const DateTime& dateTime)
{
    std::string text;
    text.reserve(26);
    appendDate(text, dateTime.date);
    text += ' ';
    appendTime(text, dateTime.time);
    return text;
}

std::string hexDigits(const Bytes& bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        text.push_back(digits[byte >> 4]);
        text.push_back(digits[byte & 0x0F]);
    }
    return text;
}

std::string toText(const Value& value)
{
    struct Visitor {
        std::string operator()(const Null&) const { return {}; }
        std::string operator()(std::int64_t number) const { return std::to_string(number); }
        std::string operator()(std::uint64_t number) const { return std::to_string(number); }
        std::string operator()(double number) const { return shortestDouble(number); }
        std::string operator()(const Decimal& number) const { return number.digits; }
        std::string operator()(bool truth) const { return truth ? "True" : "False"; }
        std::string operator()(const Date& date) const { return formatDate(date); }
        std::string operator()(const Time& time) const { return formatTime(time); }
        std::string operator()(const DateTime& dateTime) const { return formatDateTime(dateTime); }
        std::string operator()(const std::string& text) const { return text; }
        std::string operator()(const Bytes& bytes) const { return hexDigits(bytes); }
    };
    return std::visit(Visitor{}, value);
}

} // namespace quintabel::db
