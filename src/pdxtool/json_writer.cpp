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
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
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
