#include "transfer/mysql_column_fit.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>

namespace quintabel::transfer {

namespace {

bool isDigit(char character)
{
    return character >= '0' && character <= '9';
}

// A decimal number as text, split into its parts: "-0012.3400e5" has the integer digits
// "0012", the fraction digits "3400" and an exponent.
struct DecimalText {
    std::string_view integerDigits;
    std::string_view fractionDigits;
    bool hasExponent = false;
};

std::optional<DecimalText> parseDecimalText(std::string_view text)
{
    DecimalText parts;
    std::size_t position = 0;
    if (position < text.size() && (text[position] == '-' || text[position] == '+'))
        ++position;
    const std::size_t integerStart = position;
    while (position < text.size() && isDigit(text[position]))
        ++position;
    parts.integerDigits = text.substr(integerStart, position - integerStart);
    if (position < text.size() && text[position] == '.') {
        const std::size_t fractionStart = ++position;
        while (position < text.size() && isDigit(text[position]))
            ++position;
        parts.fractionDigits = text.substr(fractionStart, position - fractionStart);
    }
    if (parts.integerDigits.empty() && parts.fractionDigits.empty())
        return std::nullopt;
    if (position < text.size() && (text[position] == 'e' || text[position] == 'E')) {
        parts.hasExponent = true;
        ++position;
        if (position < text.size() && (text[position] == '-' || text[position] == '+'))
            ++position;
        const std::size_t exponentStart = position;
        while (position < text.size() && isDigit(text[position]))
            ++position;
        if (position == exponentStart)
            return std::nullopt;
    }
    if (position != text.size())
        return std::nullopt;
    return parts;
}

bool allZeros(std::string_view digits)
{
    return digits.find_first_not_of('0') == std::string_view::npos;
}

// The significant digits of a decimal text: from its first non-zero digit to its last.
std::size_t significantDigits(const DecimalText& parts)
{
    std::string digits(parts.integerDigits);
    digits += parts.fractionDigits;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    return digits.find_last_not_of('0') - first + 1;
}

std::string misfit(std::string_view columnName, const std::string& valueText, std::string_view what)
{
    return "The value " + valueText + " of column '" + std::string(columnName) + "' " + std::string(what) + ".";
}

std::string columnPhrase(std::string_view keyword)
{
    return (keyword == "INT" ? "an " : "a ") + std::string(keyword) + " column";
}

std::optional<std::string> wholeNumberMisfit(std::string_view keyword, std::string_view columnName,
                                             const std::string& text)
{
    const std::string column = columnPhrase(keyword);
    const auto parts = parseDecimalText(text);
    if (!parts)
        return std::nullopt; // no number at all: the server refuses it in strict mode
    if (parts->hasExponent)
        return misfit(columnName, text, "is written with an exponent, which " + column + " does not keep exactly");
    if (!allZeros(parts->fractionDigits))
        return misfit(columnName, text, "has a fraction that " + column + " would round away");
    return std::nullopt;
}

std::optional<std::string> floatMisfit(std::string_view columnName, const std::string& text)
{
    constexpr std::size_t floatDecimalDigits = FLT_DIG;
    const auto parts = parseDecimalText(text);
    if (!parts) {
        if (text == "NaN" || text == "Infinity" || text == "-Infinity")
            return misfit(columnName, text, "is no finite number, which a FLOAT column cannot hold");
        return std::nullopt; // no number at all: the server refuses it in strict mode
    }
    if (significantDigits(*parts) > floatDecimalDigits)
        return misfit(columnName, text,
                      "has more significant digits than a FLOAT column keeps (" + std::to_string(FLT_DIG) + ")");
    errno = 0;
    const double magnitude = std::fabs(std::strtod(text.c_str(), nullptr));
    if (magnitude != 0 && (errno == ERANGE || magnitude < FLT_MIN || magnitude > FLT_MAX))
        return misfit(columnName, text, "lies outside the range of a FLOAT column");
    return std::nullopt;
}

} // namespace

std::optional<std::string> mysqlDefaultColumnMisfit(std::string_view keyword, std::string_view columnName,
                                                    const db::Value& value)
{
    const bool wholeNumberColumn = keyword == "INT" || keyword == "DECIMAL";
    if (!wholeNumberColumn && keyword != "FLOAT")
        return std::nullopt;
    if (const auto* bytes = std::get_if<db::Bytes>(&value)) {
        if (bytes->empty())
            return std::nullopt;
        return misfit(columnName, "X'" + db::hexDigits(*bytes) + "'",
                      "is a byte string, which " + columnPhrase(keyword) + " would read as a number");
    }
    const std::string text = db::toText(value);
    if (text.empty())
        return std::nullopt; // sent as NULL
    return wholeNumberColumn ? wholeNumberMisfit(keyword, columnName, text) : floatMisfit(columnName, text);
}

} // namespace quintabel::transfer
