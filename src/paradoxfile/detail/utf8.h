#pragma once
// Small UTF-8 helpers shared by the code-page conversion and pdxtool's JSON output.

#include <cstddef>
#include <string>
#include <string_view>

namespace quintabel::paradox::detail {

// Appends the UTF-8 form of a code point (which must be a valid scalar value).
void appendUtf8(std::string& out, char32_t cp);

// Reads one code point at `pos` and advances `pos`; returns false on invalid UTF-8
// (overlong forms, surrogates, values above U+10FFFF, truncated sequences).
bool nextCodePoint(std::string_view text, std::size_t& pos, char32_t& cp);

} // namespace quintabel::paradox::detail
