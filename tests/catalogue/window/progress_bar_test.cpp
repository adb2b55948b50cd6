// The progress bar's text while a transfer copies rows.

#include "catalogue/window/progress_bar.h"

#include <gtest/gtest.h>

namespace quintabel {
namespace {

TEST(RowProgressText, NamesTheTableTheRowAndTheShareDoneRoundedDown)
{
    EXPECT_EQ(rowProgressText(QStringLiteral("ORDERS"), 1234, 5000), QStringLiteral("ORDERS: 1,234 of 5,000 rows (24%)"));
    EXPECT_EQ(rowProgressText(QStringLiteral("T"), 1, 1), QStringLiteral("T: 1 of 1 rows (100%)"));
    // 99.9999% is not yet done: 100 only at the last row.
    EXPECT_EQ(rowProgressText(QStringLiteral("BIG"), 999'999, 1'000'000),
              QStringLiteral("BIG: 999,999 of 1,000,000 rows (99%)"));
    EXPECT_EQ(rowProgressText(QStringLiteral("BIG"), 3'000'000'000, 3'000'000'000),
              QStringLiteral("BIG: 3,000,000,000 of 3,000,000,000 rows (100%)"));
}

TEST(RowProgressText, GroupsThousandsAtEveryLength)
{
    EXPECT_EQ(rowProgressText(QStringLiteral("T"), 999, 1000), QStringLiteral("T: 999 of 1,000 rows (99%)"));
    EXPECT_EQ(rowProgressText(QStringLiteral("T"), 12'345, 100'000), QStringLiteral("T: 12,345 of 100,000 rows (12%)"));
    EXPECT_EQ(rowProgressText(QStringLiteral("T"), 123'456'789, 9'223'372'036'854'775'807),
              QStringLiteral("T: 123,456,789 of 9,223,372,036,854,775,807 rows (0%)"));
}

TEST(RowProgressText, ShowsATableNameExactlyWhateverItHolds)
{
    // QString::arg would fill a "%1" in the name; the name is inserted once, as it is.
    EXPECT_EQ(rowProgressText(QStringLiteral("A%1 %p"), 1, 4), QStringLiteral("A%1 %p: 1 of 4 rows (25%)"));
}

TEST(ProgressBar, ShowsRowProgressAndGoesBackToIdle)
{
    ProgressBar bar;
    bar.showRowProgress(QStringLiteral("ORDERS"), 1234, 5000);
    EXPECT_EQ(bar.value(), 24);
    EXPECT_EQ(bar.text(), QStringLiteral("ORDERS: 1,234 of 5,000 rows (24%)"));
    bar.showRowProgress(QStringLiteral("ITEMS"), 5, 5);
    EXPECT_EQ(bar.text(), QStringLiteral("ITEMS: 5 of 5 rows (100%)"));
    bar.setText(QStringLiteral("Writing ITEMS"));
    EXPECT_EQ(bar.text(), QStringLiteral("Writing ITEMS"));
    bar.showIdle();
    EXPECT_EQ(bar.value(), 0);
    EXPECT_EQ(bar.text(), QStringLiteral("Progress Bar"));
}

} // namespace
} // namespace quintabel
