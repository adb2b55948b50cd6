#include "transfer/customise_handoff.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace quintabel;

namespace {

// Stands in for the customisation window: records what it was shown and acts as scripted.
class ScriptedWindow : public CustomisationWindow {
public:
    explicit ScriptedWindow(std::function<void(CustomiseHandoff&)> act) : act_(std::move(act)) {}
    void showModal(CustomiseHandoff& handoff) override
    {
        seen = handoff;
        act_(handoff);
    }
    CustomiseHandoff seen;

private:
    std::function<void(CustomiseHandoff&)> act_;
};

// The hand-off as a transfer makes it: begin, the window, finish.
CustomiseOutcome runCustomisation(CustomisationWindow& window, TargetKind target, std::string_view sourceTableName)
{
    CustomiseHandoff handoff = beginCustomisation(target, sourceTableName);
    window.showModal(handoff);
    return finishCustomisation(handoff, sourceTableName);
}

std::function<void(CustomiseHandoff&)> pressOk(std::string columns)
{
    return [columns](CustomiseHandoff& handoff) {
        handoff.mSQL += columns;
        handoff.CustomizeCancelled = false;
    };
}

TEST(CustomiseHandoff, WindowSeesTheTargetAndTheFullSourceName)
{
    ScriptedWindow window([](CustomiseHandoff&) {});
    EXPECT_EQ(runCustomisation(window, TargetKind::Paradox, "customer_addresses").decision,
              CustomiseDecision::Cancelled);
    EXPECT_TRUE(window.seen.CustomizeCancelled);
    EXPECT_EQ(window.seen.mType, "Paradox");
    EXPECT_EQ(window.seen.mTableName, "customer_addresses");
    EXPECT_EQ(window.seen.mSQL, "CREATE TABLE `customer_addresses`(");
}

TEST(CustomiseHandoff, OnlyOkDecidesAndAnUnchangedHeadMeansTheDefault)
{
    ScriptedWindow builtThenCancelled([](CustomiseHandoff& handoff) { handoff.mSQL += "[a] INT)"; });
    EXPECT_EQ(runCustomisation(builtThenCancelled, TargetKind::MySQL, "T").decision, CustomiseDecision::Cancelled);
    ScriptedWindow unchanged(pressOk(""));
    EXPECT_EQ(runCustomisation(unchanged, TargetKind::MySQL, "T").decision, CustomiseDecision::UseDefaultStatement);
    ScriptedWindow customised(pressOk("`ID` INTEGER)"));
    const CustomiseOutcome outcome = runCustomisation(customised, TargetKind::MySQL, "T");
    EXPECT_EQ(outcome.decision, CustomiseDecision::UseWindowStatement);
    EXPECT_EQ(outcome.createStatement, "CREATE TABLE `T`(`ID` INTEGER)");
}

TEST(CustomiseHandoff, AWindowThatFailsLeavesTheRunCancelled)
{
    ScriptedWindow window([](CustomiseHandoff&) { throw std::runtime_error("window failed"); });
    CustomiseHandoff handoff = beginCustomisation(TargetKind::Paradox, "t");
    EXPECT_THROW(window.showModal(handoff), std::runtime_error);
    EXPECT_EQ(finishCustomisation(handoff, "t").decision, CustomiseDecision::Cancelled);
}

} // namespace
