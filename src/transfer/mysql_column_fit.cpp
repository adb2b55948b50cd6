#include "transfer/mysql_column_fit.h"

#include "base/ascii_case.h"
#include "base/report_excerpt.h"
#include "drivers/exact_number.h"
#include "transfer/date_rewrite.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdlib>

namespace quintabel {

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
    // The value may be a memo of megabytes: the message quotes only its start.
    return "The value " + valuePreview(valueText) + " of column '"
        + std::string(columnName) + "' " + std::string(what) + ".";
}

std::string columnPhrase(const MySqlColumnShape& shape)
{
    const char first = shape.typeText.empty() ? 'x' : static_cast<char>(shape.typeText[0] | 0x20);
    const bool vowel = first == 'a' || first == 'e' || first == 'i' || first == 'o' || first == 'u';
    return (vowel ? "an " : "a ") + shape.typeText + " column";
}

std::optional<std::string> wholeNumberMisfit(const MySqlColumnShape& shape, std::string_view columnName,
                                             const std::string& text)
{
    const std::string column = columnPhrase(shape);
    const auto parts = parseDecimalText(text);
    if (!parts)
        return std::nullopt; // no number at all: the server refuses it in strict mode
    if (parts->hasExponent)
        return misfit(columnName, text, "is written with an exponent, which " + column + " does not keep exactly");
    const std::string_view fraction = parts->fractionDigits.substr(
        0, parts->fractionDigits.find_last_not_of('0') + 1); // trailing zeros change nothing
    if (fraction.size() > static_cast<std::size_t>(shape.scale))
        return misfit(columnName, text, "has a fraction that " + column + " would round away");
    if (shape.kind == MySqlColumnShape::Kind::Year && parts->integerDigits.size() != 4)
        return misfit(columnName, text, "is no four-digit year, which " + column + " would read as another year");
    return std::nullopt;
}

std::optional<std::string> nonFiniteMisfit(const MySqlColumnShape& shape, std::string_view columnName,
                                           const std::string& text)
{
    if (text == "NaN" || text == "Infinity" || text == "-Infinity")
        return misfit(columnName, text, "is no finite number, which " + columnPhrase(shape) + " cannot hold");
    return std::nullopt; // no number at all: the server refuses it in strict mode
}

std::optional<std::string> floatMisfit(const MySqlColumnShape& shape, std::string_view columnName,
                                       const std::string& text)
{
    constexpr std::size_t floatDecimalDigits = FLT_DIG;
    const auto parts = parseDecimalText(text);
    if (!parts)
        return nonFiniteMisfit(shape, columnName, text);
    if (significantDigits(*parts) > floatDecimalDigits)
        return misfit(columnName, text,
                      "has more significant digits than " + columnPhrase(shape) + " keeps (" + std::to_string(FLT_DIG)
                          + ")");
    errno = 0;
    const double magnitude = std::fabs(std::strtod(text.c_str(), nullptr));
    if (magnitude != 0 && (errno == ERANGE || magnitude < FLT_MIN || magnitude > FLT_MAX))
        return misfit(columnName, text, "lies outside the range of " + columnPhrase(shape));
    return std::nullopt;
}

std::optional<std::string> doubleMisfit(const MySqlColumnShape& shape, std::string_view columnName,
                                        const std::string& text)
{
    const auto number = db::readExactNumber(text);
    if (!number)
        return nonFiniteMisfit(shape, columnName, text);
    if (!db::holdsExactlyInDouble(*number))
        return misfit(columnName, text, "has more digits than " + columnPhrase(shape) + " keeps");
    return std::nullopt;
}

// The parts of "yyyy-mm-dd hh:nn:ss.ffffff" (or a part of it) that the temporal columns care
// about: whether a date leads, the time of day, and the fraction digits of the second.
struct TemporalText {
    std::string_view date;     // "yyyy-mm-dd", or empty
    std::string_view time;     // "hh:nn:ss", or empty
    std::string_view fraction; // trailing zeros trimmed
};

TemporalText splitTemporalText(std::string_view text)
{
    TemporalText parts;
    constexpr std::size_t dateLength = 10; // yyyy-mm-dd
    if (text.size() >= dateLength && text[4] == '-' && text[7] == '-') {
        parts.date = text.substr(0, dateLength);
        text.remove_prefix(std::min(text.size(), dateLength + 1));
    }
    const std::size_t point = text.find('.');
    parts.time = text.substr(0, point);
    if (point != std::string_view::npos) {
        const std::string_view fraction = text.substr(point + 1);
        const std::size_t last = fraction.find_last_not_of('0');
        parts.fraction = last == std::string_view::npos ? std::string_view() : fraction.substr(0, last + 1);
    }
    return parts;
}

std::optional<std::string> temporalMisfit(const MySqlColumnShape& shape, std::string_view columnName,
                                          const std::string& text)
{
    using Kind = MySqlColumnShape::Kind;
    const TemporalText parts = splitTemporalText(text);
    const std::string column = columnPhrase(shape);
    if (shape.kind == Kind::Date) {
        if ((!parts.time.empty() && parts.time != "00:00:00") || !parts.fraction.empty())
            return misfit(columnName, text, "has a time of day, which " + column + " would drop");
        return std::nullopt;
    }
    // The day a time of day is sent with (see date_rewrite.h).
    if (shape.kind == Kind::Time && !parts.date.empty() && parts.date != "1899-12-30")
        return misfit(columnName, text, "has a date, which " + column + " would drop");
    if (parts.fraction.size() > static_cast<std::size_t>(shape.scale))
        return misfit(columnName, text,
                      "has more digits in its fraction of a second than " + column + " keeps ("
                          + std::to_string(shape.scale) + ")");
    return std::nullopt;
}

std::optional<std::string> bytesMisfit(const MySqlColumnShape& shape, std::string_view columnName,
                                       const db::Bytes& bytes)
{
    using Kind = MySqlColumnShape::Kind;
    const std::string shown = "X'" + db::hexDigits(bytes) + "'";
    switch (shape.kind) {
    case Kind::WholeNumber:
    case Kind::Decimal:
    case Kind::Float:
    case Kind::Double:
    case Kind::Year:
        return misfit(columnName, shown, "is a byte string, which " + columnPhrase(shape) + " would read as a number");
    case Kind::FixedBinary:
        if (bytes.size() < shape.length)
            return misfit(columnName, shown,
                          "is shorter than the " + std::to_string(shape.length) + " bytes that " + columnPhrase(shape)
                              + " pads every value to");
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace

MySqlColumnShape defaultColumnShape(std::string_view definition)
{
    using Kind = MySqlColumnShape::Kind;
    MySqlColumnShape shape;
    shape.typeText = std::string(definition);
    // "INT AUTO_INCREMENT" keeps what INT keeps; a key's VARCHAR holds every value of its field.
    const std::string_view keyword = definition.substr(0, definition.find(' '));
    if (keyword == "INT")
        shape.kind = Kind::WholeNumber;
    else if (keyword == "DECIMAL")
        shape.kind = Kind::Decimal; // DECIMAL(10,0)
    else if (keyword.starts_with("DECIMAL(") && keyword.find(',') != std::string_view::npos) {
        shape.kind = Kind::Decimal;
        const std::string_view scale = keyword.substr(keyword.find(',') + 1);
        std::from_chars(scale.data(), scale.data() + scale.size(), shape.scale);
    }
    else if (keyword == "FLOAT")
        shape.kind = Kind::Float;
    else if (keyword == "DOUBLE")
        shape.kind = Kind::Double;
    return shape;
}

MySqlColumnShape createdColumnShape(std::string_view dataType, std::string_view columnType, int numericScale,
                                    int datetimePrecision, std::size_t octetLength)
{
    using Kind = MySqlColumnShape::Kind;
    MySqlColumnShape shape;
    shape.typeText = std::string(columnType);
    const std::string type = asciiLowerCase(dataType);
    if (type == "tinyint" || type == "smallint" || type == "mediumint" || type == "int" || type == "bigint") {
        shape.kind = Kind::WholeNumber;
    } else if (type == "decimal") {
        shape.kind = Kind::Decimal;
        shape.scale = numericScale;
    } else if (type == "float") {
        shape.kind = Kind::Float;
    } else if (type == "double") {
        shape.kind = Kind::Double;
    } else if (type == "year") {
        shape.kind = Kind::Year;
    } else if (type == "date") {
        shape.kind = Kind::Date;
    } else if (type == "datetime" || type == "timestamp") {
        shape.kind = Kind::DateTime;
        shape.scale = datetimePrecision;
    } else if (type == "time") {
        shape.kind = Kind::Time;
        shape.scale = datetimePrecision;
    } else if (type == "char") {
        shape.kind = Kind::FixedChar;
    } else if (type == "binary") {
        shape.kind = Kind::FixedBinary;
        shape.length = octetLength;
    }
    return shape;
}

std::optional<std::string> mysqlColumnMisfit(const MySqlColumnShape& shape, std::string_view columnName,
                                             const db::Value& value)
{
    using Kind = MySqlColumnShape::Kind;
    if (shape.kind == Kind::KeepsWhatItTakes)
        return std::nullopt;
    if (const auto* bytes = std::get_if<db::Bytes>(&value)) {
        if (bytes->empty())
            return std::nullopt; // sent as NULL
        return bytesMisfit(shape, columnName, *bytes);
    }
    // A finite double's text is the shortest that reads back as the same double, so a DOUBLE
    // column keeps it exactly, whatever its digits: no need to read the text again.
    if (const auto* number = std::get_if<double>(&value);
        number != nullptr && shape.kind == Kind::Double && std::isfinite(*number))
        return std::nullopt;
    const std::string text = mysqlDateTimeText(value).value_or(db::toText(value));
    if (text.empty())
        return std::nullopt; // sent as NULL
    switch (shape.kind) {
    case Kind::WholeNumber:
    case Kind::Decimal:
    case Kind::Year:
        return wholeNumberMisfit(shape, columnName, text);
    case Kind::Float:
        return floatMisfit(shape, columnName, text);
    case Kind::Double:
        return doubleMisfit(shape, columnName, text);
    case Kind::Date:
    case Kind::DateTime:
    case Kind::Time:
        return temporalMisfit(shape, columnName, text);
    case Kind::FixedChar:
        if (text.back() == ' ')
            return misfit(columnName, "'" + text + "'", "ends in blanks, which " + columnPhrase(shape) + " drops");
        return std::nullopt;
    case Kind::FixedBinary:
        if (text.size() < shape.length)
            return misfit(columnName, "'" + text + "'",
                          "is shorter than the " + std::to_string(shape.length) + " bytes that "
                              + columnPhrase(shape) + " pads every value to");
        return std::nullopt;
    case Kind::KeepsWhatItTakes:
        break;
    }
    return std::nullopt;
}

} // namespace quintabel
