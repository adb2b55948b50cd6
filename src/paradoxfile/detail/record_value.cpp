#include "paradoxfile/detail/record_value.h"

#include "paradoxfile/calendar.h"
#include "paradoxfile/code_page.h"
#include "paradoxfile/detail/field_codec.h"
#include "paradoxfile/written_code_pages.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace quintabel::paradox::detail {

namespace {

std::string typeWords(FieldType type)
{
    return std::string(fieldTypeName(type)) + " field";
}

} // namespace

std::string wrongKindOfValue(FieldType type)
{
    std::string wanted;
    switch (type) {
    case FieldType::Alpha:
    case FieldType::Memo:
        wanted = "text";
        break;
    case FieldType::FormattedMemo:
        wanted = "text or bytes";
        break;
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoIncrement:
        wanted = "a whole number";
        break;
    case FieldType::Number:
    case FieldType::Money:
        wanted = "a number";
        break;
    case FieldType::Bcd:
        wanted = "a decimal number (exact digits) or a whole number";
        break;
    case FieldType::Logical:
        wanted = "true or false";
        break;
    case FieldType::Date:
        wanted = "a date";
        break;
    case FieldType::Time:
        wanted = "a time of day";
        break;
    case FieldType::Timestamp:
        wanted = "a date and time";
        break;
    default:
        wanted = "bytes";
    }
    return "a " + typeWords(type) + " takes " + wanted + ", not this kind of value";
}

std::optional<std::string> encodeText(const CodePage& codePage, const std::string& text, std::string& bytes)
{
    bytes.clear();
    if (const auto problem = codePage.encode(text, bytes))
        return "the text holds " + *problem + ", which code page " + std::to_string(codePage.number())
            + " cannot store (" + whereTextWouldFit(text) + ")";
    return std::nullopt;
}

std::optional<std::string> encodeRecordValue(const Field& field, const Value& value, const CodePage& codePage,
                                             std::uint8_t* p, std::string& text)
{
    if (isNull(value))
        return std::nullopt; // all zero bytes
    switch (field.type) {
    case FieldType::Alpha: {
        const auto* utf8 = std::get_if<std::string>(&value);
        if (!utf8)
            return wrongKindOfValue(field.type);
        if (auto problem = encodeText(codePage, *utf8, text))
            return problem;
        if (text.find('\0') != std::string::npos)
            return "the text holds a NUL character, which an Alpha field cannot store";
        if (text.size() > static_cast<std::size_t>(field.size))
            return "the text takes " + std::to_string(text.size()) + " bytes in code page "
                + std::to_string(codePage.number()) + ", more than the Alpha field's " + std::to_string(field.size);
        std::memcpy(p, text.data(), text.size());
        return std::nullopt;
    }
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoIncrement: {
        const auto* number = std::get_if<std::int64_t>(&value);
        if (!number)
            return wrongKindOfValue(field.type);
        // The most negative value of each width encodes as all zero bytes: blank.
        if (field.type == FieldType::Short) {
            if (*number < -32767 || *number > 32767)
                return std::to_string(*number) + " is outside a Short field's -32767 to 32767";
            encodeInteger16(p, static_cast<std::int16_t>(*number));
        } else {
            if (*number < -2147483647LL || *number > 2147483647LL)
                return std::to_string(*number) + " is outside a " + typeWords(field.type)
                    + "'s -2147483647 to 2147483647";
            encodeInteger32(p, static_cast<std::int32_t>(*number));
        }
        return std::nullopt;
    }
    case FieldType::Number:
    case FieldType::Money: {
        double number = 0;
        if (const auto* d = std::get_if<double>(&value)) {
            number = *d;
            if (!std::isfinite(number))
                return "a Paradox number cannot be infinite or NaN";
        } else if (const auto* n = std::get_if<std::int64_t>(&value)) {
            number = static_cast<double>(*n);
            // Exact only when the double converts back to the same integer.
            if (number >= 9223372036854775808.0 || static_cast<std::int64_t>(number) != *n)
                return std::to_string(*n) + " has more digits than a " + typeWords(field.type)
                    + " (a double) holds exactly";
        } else {
            return wrongKindOfValue(field.type);
        }
        encodeDouble(p, number);
        return std::nullopt;
    }
    case FieldType::Bcd: {
        std::string digits;
        if (const auto* d = std::get_if<Decimal>(&value))
            digits = d->digits;
        else if (const auto* n = std::get_if<std::int64_t>(&value))
            digits = std::to_string(*n);
        else
            return wrongKindOfValue(field.type);
        return encodeBcd(p, digits, field.decimals);
    }
    case FieldType::Logical: {
        const auto* flag = std::get_if<bool>(&value);
        if (!flag)
            return wrongKindOfValue(field.type);
        p[0] = *flag ? 0x81 : 0x80;
        return std::nullopt;
    }
    case FieldType::Date: {
        const auto* date = std::get_if<Date>(&value);
        if (!date)
            return wrongKindOfValue(field.type);
        if (!isValidDate(*date))
            return "there is no such date";
        const std::int64_t day = dayNumberFromDate(*date);
        if (day <= INT32_MIN || day > INT32_MAX)
            return "the date lies outside the calendar a Date field holds";
        encodeInteger32(p, static_cast<std::int32_t>(day));
        return std::nullopt;
    }
    case FieldType::Time: {
        const auto* time = std::get_if<Time>(&value);
        if (!time)
            return wrongKindOfValue(field.type);
        if (!isValidTime(*time))
            return "there is no such time of day";
        encodeInteger32(p, static_cast<std::int32_t>(millisecondsFromTime(*time)));
        return std::nullopt;
    }
    case FieldType::Timestamp: {
        const auto* stamp = std::get_if<Timestamp>(&value);
        if (!stamp)
            return wrongKindOfValue(field.type);
        if (!isValidDate(stamp->date) || !isValidTime(stamp->time))
            return "there is no such date and time";
        const std::int64_t day = dayNumberFromDate(stamp->date);
        // Whole milliseconds are exact in a double up to 2^53.
        if (day < -100'000'000 || day > 100'000'000)
            return "the date lies outside the calendar a Timestamp field holds";
        encodeDouble(p, timestampToMilliseconds(*stamp));
        return std::nullopt;
    }
    case FieldType::Bytes: {
        const auto* bytes = std::get_if<Blob>(&value);
        if (!bytes)
            return wrongKindOfValue(field.type);
        if (bytes->size() != static_cast<std::size_t>(field.size))
            return "a Bytes field holds exactly " + std::to_string(field.size) + " bytes and this value has "
                + std::to_string(bytes->size()) + " (a Binary field holds any length)";
        if (isAllZero(bytes->data(), bytes->size()))
            return "bytes that are all zero read back as blank from a Bytes field";
        std::memcpy(p, bytes->data(), bytes->size());
        return std::nullopt;
    }
    case FieldType::Memo:
    case FieldType::FormattedMemo:
    case FieldType::Binary:
    case FieldType::Ole:
    case FieldType::Graphic:
        break;
    }
    return "a " + typeWords(field.type) + " keeps its value in the .MB file, not in the record";
}

} // namespace quintabel::paradox::detail
