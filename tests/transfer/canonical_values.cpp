#include "canonical_values.h"

#include "paradoxfile/calendar.h"
#include "paradoxfile/code_page.h"
#include "support/table_compare.h"

#include <paradox.h>

#include <charconv>
#include <climits>
#include <cstdio>

namespace quintabel::testing {

namespace fs = std::filesystem;
namespace px = quintabel::paradox;

std::string canonicalDecimal(std::string_view text)
{
    std::size_t position = 0;
    bool negative = false;
    if (position < text.size() && (text[position] == '-' || text[position] == '+'))
        negative = text[position++] == '-';
    std::string digits;
    int pointAt = -1;
    for (; position < text.size(); ++position) {
        const char c = text[position];
        if (c >= '0' && c <= '9')
            digits.push_back(c);
        else if (c == '.' && pointAt < 0)
            pointAt = static_cast<int>(digits.size());
        else
            break;
    }
    if (digits.empty())
        return std::string(text);
    if (pointAt < 0)
        pointAt = static_cast<int>(digits.size());
    if (position < text.size()) {
        if (text[position] != 'e' && text[position] != 'E')
            return std::string(text);
        int exponent = 0;
        const auto [end, error] = std::from_chars(text.data() + position + 1 + (text[position + 1] == '+'),
                                                  text.data() + text.size(), exponent);
        if (error != std::errc() || end != text.data() + text.size())
            return std::string(text);
        pointAt += exponent;
    }
    while (pointAt > static_cast<int>(digits.size()))
        digits.push_back('0');
    while (pointAt < 0) {
        digits.insert(digits.begin(), '0');
        ++pointAt;
    }
    std::string integer = digits.substr(0, static_cast<std::size_t>(pointAt));
    std::string fraction = digits.substr(static_cast<std::size_t>(pointAt));
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (integer.empty())
        integer = "0";
    std::string result = integer + (fraction.empty() ? "" : "." + fraction);
    return negative && result != "0" ? "-" + result : result;
}

std::string canonicalNumber(double number)
{
    char text[400];
    const auto [end, error] = std::to_chars(text, text + sizeof text, number, std::chars_format::fixed);
    return error == std::errc() ? canonicalDecimal(std::string_view(text, static_cast<std::size_t>(end - text)))
                                : "unprintable";
}

std::string canonicalBytes(std::string_view bytes)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (const char c : bytes) {
        text.push_back(hex[(static_cast<unsigned char>(c) >> 4) & 0xF]);
        text.push_back(hex[static_cast<unsigned char>(c) & 0xF]);
    }
    return text;
}

std::string canonicalDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    std::string result = text;
    if (millisecond != 0) {
        std::snprintf(text, sizeof text, ".%03d", millisecond);
        std::string fraction = text;
        fraction.erase(fraction.find_last_not_of('0') + 1);
        result += fraction;
    }
    return result;
}

Cell canonicalOfMySql(const db::Value& value)
{
    struct Canon {
        Cell operator()(const db::Null&) const { return std::nullopt; }
        Cell operator()(std::int64_t number) const { return std::to_string(number); }
        Cell operator()(std::uint64_t number) const { return std::to_string(number); }
        Cell operator()(double number) const { return canonicalNumber(number); }
        Cell operator()(const db::Decimal& number) const { return canonicalDecimal(number.digits); }
        Cell operator()(bool truth) const { return truth ? "True" : "False"; }
        Cell operator()(const db::Date& d) const { return canonicalDateTime(d.year, d.month, d.day, 0, 0, 0, 0); }
        Cell operator()(const db::Time& t) const { return db::formatTime(t); }
        Cell operator()(const db::DateTime& v) const
        {
            return canonicalDateTime(v.date.year, v.date.month, v.date.day, v.time.hour, v.time.minute,
                                     v.time.second, v.time.microsecond / 1000);
        }
        Cell operator()(const std::string& text) const { return text; }
        Cell operator()(const db::Bytes& bytes) const
        {
            return canonicalBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        }
    };
    return std::visit(Canon{}, value);
}

namespace {

Cell canonicalOfPxlib(char type, const paradox::testing::PxlibValue& value, const px::CodePage& codePage)
{
    if (value.isNull)
        return std::nullopt;
    switch (type) {
    case pxfAlpha:
        return value.bytes; // recoded to UTF-8 by pxlib
    case pxfMemoBLOb:
    case pxfFmtMemoBLOb: {
        std::string text;
        codePage.decode({reinterpret_cast<const std::uint8_t*>(value.bytes.data()), value.bytes.size()}, text);
        return text;
    }
    case pxfShort:
    case pxfLong:
    case pxfAutoInc:
        return std::to_string(value.integer);
    case pxfNumber:
    case pxfCurrency:
        return canonicalNumber(value.number);
    case pxfBCD:
        return canonicalDecimal(value.bytes);
    case pxfLogical:
        return value.integer != 0 ? "True" : "False";
    case pxfDate: {
        const auto date = px::dateFromDayNumber(value.integer);
        return date ? canonicalDateTime(date->year, date->month, date->day, 0, 0, 0, 0) : "bad date";
    }
    case pxfTime: {
        const px::Time time = px::timeFromMilliseconds(value.integer);
        return canonicalDateTime(1899, 12, 30, time.hour, time.minute, time.second, time.millisecond);
    }
    case pxfTimestamp: {
        const auto milliseconds = static_cast<std::int64_t>(value.number);
        const auto date = px::dateFromDayNumber(milliseconds / px::millisecondsPerDay);
        const px::Time time = px::timeFromMilliseconds(milliseconds % px::millisecondsPerDay);
        return date ? canonicalDateTime(date->year, date->month, date->day, time.hour, time.minute, time.second,
                                        time.millisecond)
                    : "bad timestamp";
    }
    default:
        return canonicalBytes(value.bytes);
    }
}

// pxlib 0.6.8 shows some blanks as values (see support/table_compare.h).
bool pxlibBlankRendering(char type, const paradox::testing::PxlibValue& value)
{
    switch (type) {
    case pxfShort:
    case pxfLong:
    case pxfAutoInc:
    case pxfDate:
        return value.integer == INT_MIN;
    case pxfTime:
        return value.integer < 0;
    case pxfNumber:
    case pxfCurrency:
        return value.number == 0;
    case pxfTimestamp:
        return value.number <= 0;
    case pxfBCD:
        return true;
    default:
        return false;
    }
}

} // namespace

ParadoxReadBack readBackWithPxlib(const fs::path& dbFile)
{
    ParadoxReadBack readBack;
    const paradox::testing::PxlibTable table = paradox::testing::readWithPxlibAndBlobs(dbFile);
    if (table.crashed || !table.opened) {
        readBack.problem = "pxlib could not read " + dbFile.string() + ": " + table.errors;
        return readBack;
    }
    const paradox::testing::OurTable ours = paradox::testing::readWithOurs(dbFile);
    const px::CodePage codePage(table.codePage != 0 ? table.codePage : 1252);
    for (const auto& field : table.fields) {
        std::string name;
        codePage.decode({reinterpret_cast<const std::uint8_t*>(field.name.data()), field.name.size()}, name);
        readBack.fieldNames.push_back(name);
        readBack.fieldTypes.push_back(field.type);
    }
    for (std::size_t r = 0; r < table.records.size(); ++r) {
        if (!table.recordRead[r]) {
            readBack.problem = "pxlib could not read record " + std::to_string(r + 1);
            continue;
        }
        std::vector<Cell> cells;
        for (std::size_t f = 0; f < table.fields.size(); ++f) {
            const auto& value = table.records[r][f];
            const char type = table.fields[f].type;
            const bool oursBlank = r < ours.records.size() && px::isNull(ours.records[r][f]);
            if (!value.isNull && oursBlank && pxlibBlankRendering(type, value))
                cells.push_back(std::nullopt);
            else
                cells.push_back(canonicalOfPxlib(type, value, codePage));
        }
        readBack.records.push_back(std::move(cells));
    }
    return readBack;
}

} // namespace quintabel::testing
