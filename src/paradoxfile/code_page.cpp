#include "paradoxfile/code_page.h"

#include "paradoxfile/detail/utf8.h"
#include "paradoxfile/errors.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <iconv.h>
#include <unordered_map>
#include <vector>

namespace quintabel::paradox {

namespace {

std::string iconvName(int number)
{
    // HP Roman-8 is known to iconv by its own name only.
    if (number == hpRoman8CodePage)
        return "HP-ROMAN8";
    return "CP" + std::to_string(number);
}

const iconv_t noConverter = reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));

// Owns one iconv descriptor.
class Converter {
public:
    Converter(const std::string& to, const std::string& from) : cd_(::iconv_open(to.c_str(), from.c_str())) {}
    ~Converter()
    {
        if (cd_ != noConverter)
            ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != noConverter; }

    // Converts all of `in`; false on an invalid or incomplete sequence (errno tells which).
    bool convert(std::string_view in, std::string& out) const
    {
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char buffer[1024];
        for (;;) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t rc = ::iconv(cd_, inLeft ? &inPtr : nullptr, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (rc != static_cast<std::size_t>(-1)) {
                if (inLeft == 0) {
                    // Flush any state the converter still holds.
                    outPtr = buffer;
                    outLeft = sizeof buffer;
                    if (::iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
                        return false;
                    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
                    return true;
                }
                continue;
            }
            if (error == E2BIG)
                continue;
            errno = error;
            return false;
        }
    }

private:
    iconv_t cd_;
};

} // namespace

struct CodePage::Impl {
    int number = 0;
    bool singleByte = false;
    bool asciiIdentity = false;
    // Single-byte pages: the UTF-8 text of every byte, and the way back.
    std::array<std::string, 256> toUtf8;
    std::unordered_map<char32_t, std::uint8_t> fromUnicode;
    // Double-byte pages.
    std::unique_ptr<Converter> decoder;
    std::unique_ptr<Converter> encoder;
};

bool CodePage::isSupported(int number)
{
    if (number <= 0)
        return false;
    Converter probe("UTF-8", iconvName(number));
    return probe.valid();
}

CodePage::CodePage(int number) : impl_(std::make_unique<Impl>())
{
    impl_->number = number;
    if (number <= 0)
        throw Error("Code page " + std::to_string(number) + " is not a code page.");
    const std::string name = iconvName(number);
    auto decoder = std::make_unique<Converter>("UTF-8", name);
    auto encoder = std::make_unique<Converter>(name, "UTF-8");
    if (!decoder->valid() || !encoder->valid())
        throw Error("Code page " + std::to_string(number) + " is not supported by this system's iconv.");

    // Probe byte by byte: a page where some byte starts an incomplete sequence is double-byte.
    bool singleByte = true;
    std::array<std::string, 256> table;
    for (int b = 0; b < 256 && singleByte; ++b) {
        const char byte = static_cast<char>(b);
        std::string text;
        if (decoder->convert(std::string_view(&byte, 1), text)) {
            std::size_t pos = 0;
            char32_t cp = 0;
            if (!detail::nextCodePoint(text, pos, cp) || pos != text.size())
                singleByte = false; // a byte that becomes two characters: leave it to iconv
            else
                table[static_cast<std::size_t>(b)] = std::move(text);
        } else if (errno == EILSEQ) {
            // Undefined in this page: the control character of the same number, as Windows.
            std::string control;
            detail::appendUtf8(control, static_cast<char32_t>(b));
            table[static_cast<std::size_t>(b)] = std::move(control);
        } else {
            singleByte = false;
        }
    }
    if (singleByte) {
        impl_->singleByte = true;
        impl_->toUtf8 = std::move(table);
        impl_->asciiIdentity = true;
        for (int b = 0; b < 256; ++b) {
            const std::string& text = impl_->toUtf8[static_cast<std::size_t>(b)];
            std::size_t pos = 0;
            char32_t cp = 0;
            detail::nextCodePoint(text, pos, cp);
            impl_->fromUnicode.emplace(cp, static_cast<std::uint8_t>(b));
            if (b < 0x80 && cp != static_cast<char32_t>(b))
                impl_->asciiIdentity = false;
        }
    } else {
        impl_->decoder = std::move(decoder);
        impl_->encoder = std::move(encoder);
    }
}

CodePage::~CodePage() = default;
CodePage::CodePage(CodePage&&) noexcept = default;
CodePage& CodePage::operator=(CodePage&&) noexcept = default;

int CodePage::number() const
{
    return impl_->number;
}

bool CodePage::isSingleByte() const
{
    return impl_->singleByte;
}

bool CodePage::decode(std::span<const std::uint8_t> bytes, std::string& out) const
{
    if (impl_->singleByte) {
        std::size_t i = 0;
        while (i < bytes.size()) {
            if (impl_->asciiIdentity) {
                // Runs of ASCII go across whole.
                std::size_t end = i;
                while (end < bytes.size() && bytes[end] < 0x80)
                    ++end;
                out.append(reinterpret_cast<const char*>(bytes.data()) + i, end - i);
                i = end;
                if (i == bytes.size())
                    break;
            }
            out += impl_->toUtf8[bytes[i]];
            ++i;
        }
        return true;
    }
    return impl_->decoder->convert(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), out);
}

std::optional<std::string> CodePage::encode(std::string_view text, std::string& out) const
{
    if (impl_->singleByte) {
        std::size_t pos = 0;
        while (pos < text.size()) {
            if (impl_->asciiIdentity) {
                // Runs of ASCII go across whole.
                std::size_t end = pos;
                while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80)
                    ++end;
                out.append(text.data() + pos, end - pos);
                pos = end;
                if (pos == text.size())
                    break;
            }
            char32_t cp = 0;
            if (!detail::nextCodePoint(text, pos, cp))
                return std::string("invalid UTF-8");
            const auto found = impl_->fromUnicode.find(cp);
            if (found == impl_->fromUnicode.end())
                return describeCharacter(cp);
            out.push_back(static_cast<char>(found->second));
        }
        return std::nullopt;
    }
    // Double-byte page: validate first, so a failure can name the character.
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        char32_t cp = 0;
        if (!detail::nextCodePoint(text, pos, cp))
            return std::string("invalid UTF-8");
        std::string probe;
        if (cp >= 0x80 && !impl_->encoder->convert(text.substr(start, pos - start), probe))
            return describeCharacter(cp);
    }
    if (!impl_->encoder->convert(text, out))
        return std::string("text that code page " + std::to_string(impl_->number) + " cannot hold");
    return std::nullopt;
}

std::string describeCharacter(char32_t character)
{
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    std::string text;
    if (character >= 0x20 && character != 0x7F && !(character >= 0x80 && character < 0xA0)) {
        text = "'";
        detail::appendUtf8(text, character);
        text += "' ";
    }
    return text + "(" + code + ")";
}

} // namespace quintabel::paradox
