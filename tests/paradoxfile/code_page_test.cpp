// Code pages: single-byte pages as tables, undefined bytes kept, text that a page cannot
// hold named, double-byte pages through iconv.
#include "paradoxfile/code_page.h"
#include "paradoxfile/errors.h"

#include <gtest/gtest.h>

namespace quintabel::paradox {
namespace {

std::string decode(const CodePage& page, std::initializer_list<std::uint8_t> bytes)
{
    std::string out;
    const std::vector<std::uint8_t> v(bytes);
    EXPECT_TRUE(page.decode(v, out));
    return out;
}

std::string encode(const CodePage& page, const std::string& text)
{
    std::string out;
    const auto problem = page.encode(text, out);
    EXPECT_FALSE(problem) << *problem;
    return out;
}

TEST(CodePage, Windows1252)
{
    const CodePage page(1252);
    EXPECT_TRUE(page.isSingleByte());
    EXPECT_EQ(decode(page, {'M', 0xE9, 'l', 0x80}), "Mél€");
    EXPECT_EQ(encode(page, "Mél€"), "M\xE9l\x80");
}

TEST(CodePage, UndefinedBytesSurviveARoundTrip)
{
    const CodePage page(1252);
    for (const std::uint8_t b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        std::string text;
        ASSERT_TRUE(page.decode(std::vector<std::uint8_t>{b}, text));
        EXPECT_EQ(encode(page, text), std::string(1, static_cast<char>(b)));
    }
}

TEST(CodePage, EveryByteOfTheDosPagesRoundTrips)
{
    for (const int number : {437, 850, 852, 865, 866, 1250, 1251, 1252}) {
        const CodePage page(number);
        ASSERT_TRUE(page.isSingleByte()) << number;
        for (int b = 0; b < 256; ++b) {
            std::string text;
            ASSERT_TRUE(page.decode(std::vector<std::uint8_t>{static_cast<std::uint8_t>(b)}, text));
            EXPECT_EQ(encode(page, text), std::string(1, static_cast<char>(b))) << number << " byte " << b;
        }
    }
}

TEST(CodePage, NonAsciiLetters)
{
    EXPECT_EQ(decode(CodePage(850), {0x82, 0x9B}), "éø");
    EXPECT_EQ(decode(CodePage(865), {0x86, 0x9B}), "åø");
    EXPECT_EQ(decode(CodePage(866), {0x8F, 0xE0, 0xA8}), "При");
    EXPECT_EQ(encode(CodePage(866), "Привет"), "\x8F\xE0\xA8\xA2\xA5\xE2");
}

TEST(CodePage, TextThePageCannotHoldIsNamed)
{
    const CodePage page(1252);
    std::string out;
    const auto problem = page.encode("Привет", out);
    ASSERT_TRUE(problem);
    EXPECT_EQ(*problem, "'П' (U+041F)");
    const auto invalid = page.encode(std::string("a\xFF"), out);
    ASSERT_TRUE(invalid);
    EXPECT_EQ(*invalid, "invalid UTF-8");
}

TEST(CodePage, DoubleByteChinese)
{
    const CodePage page(936);
    EXPECT_FALSE(page.isSingleByte());
    const std::string text = "中文 text";
    const std::string bytes = encode(page, text);
    EXPECT_EQ(bytes, "\xD6\xD0\xCE\xC4 text");
    std::string back;
    EXPECT_TRUE(page.decode({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, back));
    EXPECT_EQ(back, text);
    std::string broken;
    EXPECT_FALSE(page.decode(std::vector<std::uint8_t>{0xD6}, broken));
    std::string out;
    const auto problem = page.encode("€ and ก", out); // 936 holds € (0x80) but no Thai
    ASSERT_TRUE(problem);
    EXPECT_EQ(*problem, "'ก' (U+0E01)");
}

TEST(CodePage, UnknownPageIsRefused)
{
    EXPECT_THROW(CodePage(12345), Error);
    EXPECT_FALSE(CodePage::isSupported(12345));
    EXPECT_TRUE(CodePage::isSupported(437));
}

} // namespace
} // namespace quintabel::paradox
