#pragma once
// The JSON text pdxtool prints: strings escaped, numbers as the shortest text that reads back
// to the same value, values of a Paradox record in the forms the dump promises.

#include "paradoxfile/value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quintabel::pdxtool {

// Appends `text` as a JSON string literal (with quotes).
void appendJsonString(std::string& out, std::string_view text);
void appendJsonNumber(std::string& out, std::int64_t value);
// The shortest text that reads back to the same double; a value JSON cannot hold
// (NaN, infinities) comes out as a string: "NaN", "Infinity", "-Infinity".
void appendJsonNumber(std::string& out, double value);
// null; numbers; "YYYY-MM-DD"; "HH:MM:SS[.mmm]"; "YYYY-MM-DD HH:MM:SS[.mmm]"; true/false;
// BCD digits as a string; text as a string; bytes as {"hex": "..."}.
void appendJsonValue(std::string& out, const paradox::Value& value);

} // namespace quintabel::pdxtool
