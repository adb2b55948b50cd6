#include "base/report_excerpt.h"

namespace quintabel {

namespace {

bool isContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The length in bytes of the character that starts at `at`: its lead byte and the
// continuation bytes that follow it (at most three). Stray continuation bytes are one
// character each.
std::size_t characterLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t continuations = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    std::size_t length = 1;
    while (length <= continuations && at + length < text.size() && isContinuationByte(text[at + length]))
        ++length;
    return length;
}

} // namespace

std::string reportExcerpt(std::string_view utf8Text, std::size_t keptCharacters)
{
    // Every character has at least one byte: a text this short is kept whole, unscanned.
    if (utf8Text.size() <= keptCharacters)
        return std::string(utf8Text);
    std::size_t cut = 0;
    std::size_t counted = 0;
    while (cut < utf8Text.size() && counted < keptCharacters) {
        cut += characterLength(utf8Text, cut);
        ++counted;
    }
    std::size_t leftOut = 0;
    for (std::size_t at = cut; at < utf8Text.size(); at += characterLength(utf8Text, at))
        ++leftOut;
    if (leftOut == 0)
        return std::string(utf8Text);
    std::string excerpt(utf8Text.substr(0, cut));
    excerpt += "\xE2\x80\xA6 (" + std::to_string(leftOut) + " more characters)";
    return excerpt;
}

std::string valuePreview(std::string_view utf8Value)
{
    const std::string excerpt = reportExcerpt(utf8Value, kValuePreviewCharacters);
    std::string shown;
    shown.reserve(excerpt.size());
    for (const char byte : excerpt) {
        if (byte == '\0')
            shown += "\xE2\x90\x80";
        else
            shown += byte;
    }
    return shown;
}

} // namespace quintabel
