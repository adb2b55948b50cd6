#include "drivers/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace quintabel::db {

namespace {

std::string twoDigits(int number)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", number);
    return buffer;
}

std::string fractionOfSecond(int microsecond)
{
    if (microsecond <= 0)
        return {};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, ".%06d", microsecond);
    std::string text = buffer;
    while (text.back() == '0')
        text.pop_back();
    return text;
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
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    return buffer;
}

std::string formatTime(const Time& time)
{
    return twoDigits(time.hour) + ":" + twoDigits(time.minute) + ":" + twoDigits(time.second)
        + fractionOfSecond(time.microsecond);
}

std::string formatDateTime(const DateTime& dateTime)
{
    return formatDate(dateTime.date) + " " + formatTime(dateTime.time);
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
