#include "pdxtool/json_writer.h"

#include "paradoxfile/calendar.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quintabel::pdxtool {

void appendJsonString(std::string& out, std::string_view text)
{
    out.push_back('"');
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                out += escape;
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
}

void appendJsonNumber(std::string& out, std::int64_t value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void appendJsonNumber(std::string& out, double value)
{
    if (std::isnan(value)) {
        out += "\"NaN\"";
        return;
    }
    if (std::isinf(value)) {
        out += value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
        return;
    }
    // A whole number that a double holds exactly prints as one: 33000000, not 3.3e+07.
    constexpr double kExactWholeNumbers = 9007199254740992.0; // 2^53
    if (value == std::trunc(value) && std::fabs(value) < kExactWholeNumbers && !(value == 0 && std::signbit(value))) {
        appendJsonNumber(out, static_cast<std::int64_t>(value));
        return;
    }
    // Otherwise the shortest text that reads back to the same double, in plain form unless the
    // exponent form is strictly shorter (1e-300 stays short; 0.001 stays plain).
    char shortest[64];
    const auto general = std::to_chars(shortest, shortest + sizeof shortest, value);
    char plain[400];
    const auto fixed = std::to_chars(plain, plain + sizeof plain, value, std::chars_format::fixed);
    if (fixed.ec == std::errc() && fixed.ptr - plain <= general.ptr - shortest)
        out.append(plain, fixed.ptr);
    else
        out.append(shortest, general.ptr);
}

namespace {

struct ValuePrinter {
    std::string& out;

    void operator()(const paradox::Null&) const { out += "null"; }
    void operator()(std::int64_t v) const { appendJsonNumber(out, v); }
    void operator()(double v) const { appendJsonNumber(out, v); }
    void operator()(const paradox::Decimal& v) const { appendJsonString(out, v.digits); }
    void operator()(bool v) const { out += v ? "true" : "false"; }
    void operator()(const paradox::Date& v) const { appendJsonString(out, paradox::formatDate(v)); }
    void operator()(const paradox::Time& v) const { appendJsonString(out, paradox::formatTime(v)); }
    void operator()(const paradox::Timestamp& v) const { appendJsonString(out, paradox::formatTimestamp(v)); }
    void operator()(const std::string& v) const { appendJsonString(out, v); }
    void operator()(const paradox::Blob& v) const
    {
        static constexpr char digits[] = "0123456789abcdef";
        out += "{\"hex\": \"";
        for (const std::uint8_t b : v) {
            out.push_back(digits[b >> 4]);
            out.push_back(digits[b & 0x0F]);
        }
        out += "\"}";
    }
};

} // namespace

void appendJsonValue(std::string& out, const paradox::Value& value)
{
    std::visit(ValuePrinter{out}, value);
}

} // namespace quintabel::pdxtool
