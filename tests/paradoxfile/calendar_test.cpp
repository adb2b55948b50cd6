// Calendar arithmetic: day numbers (day 1 = 0001-01-01), leap days, dates before 1900 and
// before year 1, and the text forms.
#include "paradoxfile/calendar.h"

#include <gtest/gtest.h>

namespace quintabel::paradox {
namespace {

struct DayCase {
    Date date;
    std::int64_t dayNumber;
};

// Values agree with Python's date.toordinal() and with docs/paradox-format.md §5.5.
const DayCase dayCases[] = {
    {{1, 1, 1}, 1},
    {{1, 12, 31}, 365},
    {{100, 1, 1}, 36160},
    {{1600, 2, 29}, 584082},
    {{1899, 12, 31}, 693595},
    {{1900, 3, 1}, 693655},
    {{1970, 1, 1}, 719163},
    {{1996, 5, 4}, 728783},
    {{2000, 2, 29}, 730179},
    {{2018, 1, 1}, 736695},
    {{2021, 8, 31}, 738033},
    {{9999, 12, 31}, 3652059},
    {{0, 12, 31}, 0},
    {{0, 1, 1}, -365},
    {{-1, 12, 31}, -366},
};

class DayNumbers : public ::testing::TestWithParam<DayCase> {};

TEST_P(DayNumbers, RoundTrip)
{
    const auto& c = GetParam();
    EXPECT_EQ(dayNumberFromDate(c.date), c.dayNumber);
    const auto back = dateFromDayNumber(c.dayNumber);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, c.date);
}

INSTANTIATE_TEST_SUITE_P(Calendar, DayNumbers, ::testing::ValuesIn(dayCases));

TEST(Calendar, EveryDayOfFourCenturiesRoundTrips)
{
    std::int64_t expected = dayNumberFromDate({1800, 1, 1});
    for (int year = 1800; year < 2200; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= daysInMonth(year, month); ++day) {
                const Date date{year, month, day};
                ASSERT_EQ(dayNumberFromDate(date), expected);
                ASSERT_EQ(*dateFromDayNumber(expected), date);
                ++expected;
            }
}

TEST(Calendar, LeapYears)
{
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_TRUE(isLeapYear(2024));
    EXPECT_TRUE(isLeapYear(0));
    EXPECT_TRUE(isValidDate({2000, 2, 29}));
    EXPECT_FALSE(isValidDate({1900, 2, 29}));
    EXPECT_FALSE(isValidDate({2021, 4, 31}));
    EXPECT_FALSE(isValidDate({2021, 13, 1}));
}

TEST(Calendar, TimesOfDay)
{
    EXPECT_EQ(millisecondsFromTime({14, 5, 9, 0}), 50'709'000);
    EXPECT_EQ(timeFromMilliseconds(50'709'000), (Time{14, 5, 9, 0}));
    EXPECT_EQ(timeFromMilliseconds(86'399'999), (Time{23, 59, 59, 999}));
    EXPECT_TRUE(isValidTime({23, 59, 59, 999}));
    EXPECT_FALSE(isValidTime({24, 0, 0, 0}));
    EXPECT_FALSE(isValidTime({0, 0, 60, 0}));
}

TEST(Calendar, TextForms)
{
    EXPECT_EQ(formatDate({2021, 8, 31}), "2021-08-31");
    EXPECT_EQ(formatDate({33, 1, 2}), "0033-01-02");
    EXPECT_EQ(formatDate({-44, 3, 15}), "-0044-03-15");
    EXPECT_EQ(formatTime({1, 2, 3, 0}), "01:02:03");
    EXPECT_EQ(formatTime({1, 2, 3, 45}), "01:02:03.045");
    EXPECT_EQ(formatTimestamp({{2021, 8, 31}, {14, 5, 9, 0}}), "2021-08-31 14:05:09");
    EXPECT_EQ(formatTimestamp({{2021, 8, 31}, {14, 5, 9, 500}}), "2021-08-31 14:05:09.500");
}

} // namespace
} // namespace quintabel::paradox
