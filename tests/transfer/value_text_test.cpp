// The text forms of dates, times and date-times that every statement and every LOAD DATA line
// carries: the usual ranges and what lies beyond them (negative years, long durations).

#include "drivers/value.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace quintabel::db
