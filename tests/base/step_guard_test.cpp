#include "base/step_guard.h"

#include "base/expected_problem.h"
#include "base/application_title.h"
#include "shell/support/scripted_message_boxes.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace quintabel {
namespace {

class StepGuardTest : public ::testing::Test {
protected:
    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
};

[[noreturn]] void fail(const char* description)
{
    throw std::runtime_error(description);
}

TEST_F(StepGuardTest, FailingStepShowsTheReportByteForByteAndTheHandlerGoesOn)
{
    std::vector<int> ran;
    StepGuard guard(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    guard.step(100, [&] { ran.push_back(100); });
    guard.step(140, [&] { fail("Disk not ready"); });
    guard.step(142, [&] { ran.push_back(142); });

    EXPECT_EQ(ran, (std::vector<int>{100, 142}));
    ASSERT_EQ(boxes.shown().size(), 1u);
    const testing::ShownBox& report = boxes.shown().front();
    EXPECT_EQ(report.title, QStringLiteral("Application Error"));
    EXPECT_EQ(report.icon, BoxIcon::Exclamation);
    EXPECT_EQ(report.buttons, BoxButtons::Ok);
    EXPECT_EQ(report.text.toStdString(),
              "Disk not ready\r\nin Tabulex2021/08/31.Form1.Form_Load at line 140\r\r"
              "Please email screenshot of this message to support@corvandel.example");
}

TEST_F(StepGuardTest, TwoFailingStepsGiveTwoReportsInStepOrder)
{
    StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton10_Click"));
    guard.step(100, [] { fail("first"); });
    guard.step(102, [] {});
    guard.step(104, [] { fail("second"); });

    ASSERT_EQ(boxes.errorReports().size(), 2u);
    EXPECT_TRUE(boxes.errorReports()[0].text.startsWith(
        QStringLiteral("first\r\nin Tabulex2021/08/31.Form2.PushButton10_Click at line 100\r\r")));
    EXPECT_TRUE(boxes.errorReports()[1].text.startsWith(
        QStringLiteral("second\r\nin Tabulex2021/08/31.Form2.PushButton10_Click at line 104\r\r")));
    EXPECT_EQ(guard.reportsShown(), 2);
}

TEST_F(StepGuardTest, FailingConditionGoesOnIntoTheStepItGoverns)
{
    StepGuard guard(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    bool governedStepRan = false;
    if (guard.test(124, []() -> bool { fail("cannot tell"); }))
        guard.step(126, [&] { governedStepRan = true; });
    EXPECT_TRUE(governedStepRan);
    EXPECT_EQ(boxes.errorReports().size(), 1u);

    // A test that answers false is an ordinary answer, not a failure.
    EXPECT_FALSE(guard.test(128, [] { return false; }));
    EXPECT_EQ(boxes.errorReports().size(), 1u);
}

TEST_F(StepGuardTest, StatementInHandEndsTheReport)
{
    StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton3_Click"));
    guard.setStatement(QStringLiteral("INSERT INTO `t` VALUES ('a')"));
    guard.step(210, [] { fail("Duplicate entry"); });
    guard.setStatement(QString());
    guard.step(212, [] { fail("Empty"); });
    guard.clearStatement();
    guard.step(214, [] { fail("None"); });

    const auto reports = boxes.errorReports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_TRUE(reports[0].text.endsWith(
        QStringLiteral("support@corvandel.example\r\rsql: INSERT INTO `t` VALUES ('a')")));
    EXPECT_TRUE(reports[1].text.endsWith(QStringLiteral("support@corvandel.example\r\rsql: ")));
    EXPECT_TRUE(reports[2].text.endsWith(QStringLiteral("support@corvandel.example")));
}

TEST_F(StepGuardTest, DescriptionsKeepTheirTextAndTheirLineBreaks)
{
    StepGuard guard(QStringLiteral("AddFolder"), QStringLiteral("GetSubDirectories2016"),
                    LocationPrefix::Fernwick);
    guard.step(150, [] { fail("Permission denied\r\n"); });
    guard.step(152, [] { fail("Datei \xC3\xBC" "bersprungen"); });
    guard.step(154, [] { throw 42; });

    const auto reports = boxes.errorReports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_TRUE(reports[0].text.startsWith(QStringLiteral(
        "Permission denied\r\n\r\nin Fernwick2021/08/31.AddFolder.GetSubDirectories2016 at line 150")));
    EXPECT_TRUE(reports[1].text.startsWith(QStringLiteral("Datei \u00FCbersprungen\r\n")));
    EXPECT_TRUE(reports[2].text.startsWith(QStringLiteral("Unknown failure\r\n")));
}

// A failure type of its own that carries the mark as its second base, as the Paradox file
// library's are made.
class TableLockedElsewhere : public std::logic_error, public ExpectedProblem {
public:
    using std::logic_error::logic_error;
};

TEST_F(StepGuardTest, AnExpectedProblemIsAPlainMessageAndARealFaultStillAReport)
{
    StepGuard guard(QStringLiteral("Form2"), QStringLiteral("PushButton7_Click"));
    guard.setStatement(QStringLiteral("RENAME TABLE `a` TO `b`"));
    const bool completed = guard.step(120, [] {
        throw Expected<std::runtime_error>("Table 'b' already exists.\nChoose another name.");
    });
    guard.step(122, [] { throw TableLockedElsewhere("Table 'c' is open in Paradox."); });
    guard.step(124, [] { fail("Disk not ready"); });
    try {
        throw Expected<std::invalid_argument>("outside every step");
    } catch (...) {
        guard.reportCurrentException(0);
    }

    EXPECT_FALSE(completed);
    ASSERT_EQ(boxes.shown().size(), 4u);
    const testing::ShownBox& first = boxes.shown()[0];
    // Exactly the description: no location, no request to support, no statement.
    EXPECT_EQ(first.text, QStringLiteral("Table 'b' already exists.\nChoose another name."));
    EXPECT_EQ(first.title, applicationTitle());
    EXPECT_EQ(first.icon, BoxIcon::None);
    EXPECT_EQ(first.buttons, BoxButtons::Ok);
    EXPECT_EQ(boxes.shown()[1].text, QStringLiteral("Table 'c' is open in Paradox."));
    EXPECT_EQ(boxes.shown()[3].text, QStringLiteral("outside every step"));
    ASSERT_EQ(boxes.plainMessages().size(), 3u);
    ASSERT_EQ(boxes.errorReports().size(), 1u);
    EXPECT_TRUE(boxes.errorReports()[0].text.startsWith(
        QStringLiteral("Disk not ready\r\nin Tabulex2021/08/31.Form2.PushButton7_Click at line 124\r\r")));
    EXPECT_EQ(guard.reportsShown(), 1);
}

} // namespace
} // namespace quintabel
