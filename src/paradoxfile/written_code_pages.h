#pragma once
// The code pages the writer can write a table in, each with the language driver (sort order)
// its header names, and which of them can hold a given text: what a caller needs to refuse a
// value with a message that says where it would fit.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel::paradox {

// The language driver (sort order) written for a code page: its byte and its id string.
struct LanguageDriver {
    std::uint8_t sortOrder;
    const char* id;
};

// The driver the writer names for `codePage`, or nothing when the code page cannot be written.
std::optional<LanguageDriver> languageDriverForCodePage(int codePage);

// Every code page the writer writes, in ascending order: the DOS pages 437, 850, 852, 857,
// 860, 861, 863, 865, 866, the Windows pages 1250 to 1254 and 1257, and 936 (Chinese GBK).
std::span<const int> writableCodePages();

// The writable code pages that hold all of the UTF-8 `text`, ascending: the single-byte ones,
// or 936 when none of them does.
std::vector<int> writableCodePagesHolding(std::string_view text);

// "code pages 866 and 1251 would hold it", "code page 1250 would hold it", or "no code page a
// Paradox table can be written in holds it": the end of a refusal.
std::string whereTextWouldFit(std::string_view text);

} // namespace quintabel::paradox
