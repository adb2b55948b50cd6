#include "drivers/exact_number.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

namespace quintabel::db {

namespace {

// Far beyond any Paradox number; keeps the exponent arithmetic away from overflow.
constexpr int largestExponent = 10000;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

int ExactNumber::integerDigits() const
{
    const int count = static_cast<int>(digits.size()) + exponent;
    return count > 0 ? count : 0;
}

std::optional<ExactNumber> readExactNumber(std::string_view text)
{
    std::size_t position = 0;
    ExactNumber number;
    if (position < text.size() && (text[position] == '-' || text[position] == '+')) {
        number.negative = text[position] == '-';
        ++position;
    }
    std::string digits;
    int exponent = 0;
    bool anyDigit = false;
    while (position < text.size() && isDigit(text[position])) {
        digits.push_back(text[position++]);
        anyDigit = true;
    }
    if (position < text.size() && text[position] == '.') {
        ++position;
        while (position < text.size() && isDigit(text[position])) {
            digits.push_back(text[position++]);
            --exponent;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    if (position < text.size() && (text[position] == 'e' || text[position] == 'E')) {
        ++position;
        bool negativeExponent = false;
        if (position < text.size() && (text[position] == '-' || text[position] == '+')) {
            negativeExponent = text[position] == '-';
            ++position;
        }
        int written = 0;
        const auto [end, error] =
            std::from_chars(text.data() + position, text.data() + text.size(), written);
        if (error != std::errc{} || end == text.data() + position || written > largestExponent)
            return std::nullopt;
        position = static_cast<std::size_t>(end - text.data());
        exponent += negativeExponent ? -written : written;
    }
    if (position != text.size())
        return std::nullopt;

    const std::size_t firstSignificant = digits.find_first_not_of('0');
    if (firstSignificant == std::string::npos)
        return ExactNumber{}; // zero, whatever its sign and form
    digits.erase(0, firstSignificant);
    while (digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    if (std::abs(exponent) > largestExponent)
        return std::nullopt;
    number.digits = std::move(digits);
    number.exponent = exponent;
    return number;
}

std::optional<std::int64_t> toInt64(const ExactNumber& number)
{
    if (!number.isWhole() || number.integerDigits() > 19)
        return std::nullopt;
    std::string text = (number.negative ? "-" : "") + number.digits
        + std::string(static_cast<std::size_t>(number.exponent), '0');
    if (number.digits.empty())
        text = "0";
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

namespace {

// A decimal of at most DBL_DIG significant digits, below 10^DBL_DIG and inside the range of
// normal doubles, comes back from the double's shortest text as the same number: no need to
// write it out and read it back (which every number of every row paid for, several times over,
// in a transfer). Larger whole numbers are left to that test, since the shortest text of a
// large double may spell out digits the decimal did not have.
bool surelyExactInDouble(const ExactNumber& number)
{
    const int magnitude = static_cast<int>(number.digits.size()) + number.exponent;
    return number.digits.size() <= static_cast<std::size_t>(DBL_DIG) && magnitude > -300 && magnitude <= DBL_DIG;
}

} // namespace

std::optional<double> toExactDouble(const ExactNumber& number)
{
    const std::string text = plainText(number);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    if (surelyExactInDouble(number))
        return value;
    char shortest[64];
    const auto written = std::to_chars(shortest, shortest + sizeof shortest, value);
    const auto back = readExactNumber(std::string_view(shortest, written.ptr - shortest));
    if (!back || !(*back == number))
        return std::nullopt;
    return value;
}

bool holdsExactlyInDouble(const ExactNumber& number)
{
    return surelyExactInDouble(number) || toExactDouble(number).has_value();
}

std::string plainText(const ExactNumber& number)
{
    if (number.digits.empty())
        return "0";
    std::string text = number.negative ? "-" : "";
    if (number.exponent >= 0) {
        text += number.digits + std::string(static_cast<std::size_t>(number.exponent), '0');
    } else if (number.integerDigits() > 0) {
        const auto split = static_cast<std::size_t>(number.integerDigits());
        text += number.digits.substr(0, split) + "." + number.digits.substr(split);
    } else {
        text += "0." + std::string(static_cast<std::size_t>(-number.exponent) - number.digits.size(), '0')
            + number.digits;
    }
    return text;
}

} // namespace quintabel::db
