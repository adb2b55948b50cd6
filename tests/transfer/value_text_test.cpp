// The text forms of dates, times and date-times that every statement and every LOAD DATA line
// carries: the usual ranges and what lies beyond them (negative years, long durations).

#include "drivers/exact_number.h"
#include "drivers/value.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <optional>
#include <random>

namespace quintabel::db {
namespace {

TEST(ValueText, DatesTimesAndDateTimesKeepTheirFormAtEveryEdge)
{
    const std::vector<std::pair<Value, std::string>> cases{
        {Date{2021, 8, 31}, "2021-08-31"},
        {Date{33, 1, 2}, "0033-01-02"},
        {Date{0, 12, 31}, "0000-12-31"},
        {Date{-44, 3, 15}, "-044-03-15"},
        {Date{12345, 1, 1}, "12345-01-01"},
        {Time{0, 0, 0, 0}, "00:00:00"},
        {Time{1, 2, 3, 45}, "01:02:03.000045"},
        {Time{23, 59, 59, 250000}, "23:59:59.25"},
        {Time{23, 59, 59, 999999}, "23:59:59.999999"},
        {Time{100, 0, 0, 0}, "100:00:00"},
        {Time{-1, 0, 0, 0}, "-1:00:00"},
        {DateTime{{1999, 12, 31}, {23, 59, 9, 100000}}, "1999-12-31 23:59:09.1"},
        {DateTime{{1, 1, 1}, {0, 0, 0, 0}}, "0001-01-01 00:00:00"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(toText(value), text);
}

// A number counts as held exactly by a double when the double's shortest text reads as the
// same number; short numbers are known to be, without that text being written.
bool readsBackAs(double value, const ExactNumber& number)
{
    char shortest[64];
    const auto written = std::to_chars(shortest, shortest + sizeof shortest, value);
    const auto back = readExactNumber(std::string_view(shortest, static_cast<std::size_t>(written.ptr - shortest)));
    return back && *back == number;
}

// What toExactDouble must answer, by its definition: the double read from the number's text,
// when its shortest text reads back as the same number.
std::optional<double> heldExactly(const ExactNumber& number)
{
    const std::string text = plainText(number);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value) || !readsBackAs(value, number))
        return std::nullopt;
    return value;
}

TEST(ExactDouble, AgreesWithWritingTheDoubleOutAndReadingItBackAcrossItsRange)
{
    std::mt19937_64 random(20261209);
    int held = 0;
    for (int trial = 0; trial < 200000; ++trial) {
        const int length = 1 + static_cast<int>(random() % 18);
        std::string text = random() % 2 == 0 ? "-" : "";
        text += static_cast<char>('1' + random() % 9);
        for (int digit = 1; digit < length; ++digit)
            text += static_cast<char>('0' + random() % 10);
        // Mostly the numbers of tables, now and then the far ends of the range.
        const int exponent = trial % 10 == 0 ? static_cast<int>(random() % 640) - 330 : static_cast<int>(random() % 40) - 25;
        text += "e" + std::to_string(exponent);
        const auto number = readExactNumber(text);
        ASSERT_TRUE(number) << text;
        const auto expected = heldExactly(*number);
        ASSERT_EQ(toExactDouble(*number), expected) << text;
        ASSERT_EQ(holdsExactlyInDouble(*number), expected.has_value()) << text;
        held += expected ? 1 : 0;
    }
    // Both answers were met many times.
    EXPECT_GT(held, 50000);
    EXPECT_LT(held, 190000);
}

TEST(ExactDouble, EdgesOfPrecisionAndRange)
{
    for (const char* text : {"9007199254740993", "9007199254740992", "0.1000000000000000055511151231257827",
                             "1e-310", "4.9406564584124654e-324", "123456789012345678", "1.7976931348623157e308",
                             "0", "-0.0", "0.30000000000000004", "528781399485743e3", "999999999999999",
                             "0.000000000000001", "1e15", "1e16"}) {
        const auto number = readExactNumber(text);
        ASSERT_TRUE(number) << text;
        EXPECT_EQ(toExactDouble(*number), heldExactly(*number)) << text;
        EXPECT_EQ(holdsExactlyInDouble(*number), heldExactly(*number).has_value()) << text;
    }
    EXPECT_FALSE(toExactDouble(*readExactNumber("9007199254740993")));
    EXPECT_EQ(toExactDouble(*readExactNumber("0.1")), 0.1);
}

} // namespace
} // namespace quintabel::db
