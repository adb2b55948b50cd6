#pragma once
// Text conversion between a table's code page (DOS or Windows code page number, as the header
// stores it) and UTF-8, through the C library's iconv.
//
// A single-byte code page is turned into two lookup tables when it is opened, so every byte
// has a character and every conversion is a table look-up. A byte that the code page leaves
// undefined (0x81 in Windows-1252) stands for the control character of the same number
// (U+0081), as Windows does, so such bytes survive a read and a write unchanged.
// Double-byte code pages (936, 932, ...) go through iconv for every conversion.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quintabel::paradox {

// HP Roman-8 has no DOS or Windows number; the library calls it by IBM's number for it.
inline constexpr int hpRoman8CodePage = 1051;

class CodePage {
public:
    // Throws Error when iconv knows no such code page.
    explicit CodePage(int number);
    ~CodePage();
    CodePage(CodePage&&) noexcept;
    CodePage& operator=(CodePage&&) noexcept;
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    int number() const;
    bool isSingleByte() const;

    // Appends the UTF-8 form of `bytes` to `out`. Returns false (with `out` unspecified) when
    // the bytes are not valid in a double-byte code page; a single-byte page never fails.
    bool decode(std::span<const std::uint8_t> bytes, std::string& out) const;

    // Appends the code-page bytes of the UTF-8 `text` to `out`. On failure returns the
    // character that cannot be stored, in words ("'€' (U+20AC)"), or "invalid UTF-8".
    std::optional<std::string> encode(std::string_view text, std::string& out) const;

    // Whether iconv knows the code page.
    static bool isSupported(int number);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Describes a character for messages: "'é' (U+00E9)".
std::string describeCharacter(char32_t character);

} // namespace quintabel::paradox
