#include "transfer/customize_handoff.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace quintabel::transfer;

namespace {

// Stands in for the customisation window: records what it was shown and acts as scripted.
class ScriptedWindow : public CustomizationWindow {
public:
    explicit ScriptedWindow(std::function<void(CustomizeHandoff&)> act) : act_(std::move(act)) {}
    void showModal(CustomizeHandoff& handoff) override
    {
        seen = handoff;
        act_(handoff);
    }
    CustomizeHandoff seen;

private:
    std::function<void(CustomizeHandoff&)> act_;
};

std::function<void(CustomizeHandoff&)> pressOk(std::string columns)
{
    return [columns](CustomizeHandoff& handoff) {
        handoff.mSQL += columns;
        handoff.CustomizeCancelled = false;
    };
}

TEST(CustomizeHandoff, WindowSeesTheTargetAndTheFullSourceName)
{
    ScriptedWindow window([](CustomizeHandoff&) {});
    EXPECT_EQ(runCustomization(window, TargetKind::Paradox, "customer_addresses").decision,
              CustomizeDecision::Cancelled);
    EXPECT_TRUE(window.seen.CustomizeCancelled);
    EXPECT_EQ(window.seen.mType, "Paradox");
    EXPECT_EQ(window.seen.mTableName, "customer_addresses");
    EXPECT_EQ(window.seen.mSQL, "CREATE TABLE `customer_addresses`(");
}

TEST(CustomizeHandoff, OnlyOkDecidesAndAnUnchangedHeadMeansTheDefault)
{
    ScriptedWindow builtThenCancelled([](CustomizeHandoff& handoff) { handoff.mSQL += "[a] INT)"; });
    EXPECT_EQ(runCustomization(builtThenCancelled, TargetKind::MySQL, "T").decision, CustomizeDecision::Cancelled);
    ScriptedWindow unchanged(pressOk(""));
    EXPECT_EQ(runCustomization(unchanged, TargetKind::MySQL, "T").decision, CustomizeDecision::UseDefaultStatement);
    ScriptedWindow customised(pressOk("`ID` INTEGER)"));
    const CustomizeOutcome outcome = runCustomization(customised, TargetKind::MySQL, "T");
    EXPECT_EQ(outcome.decision, CustomizeDecision::UseWindowStatement);
    EXPECT_EQ(outcome.createStatement, "CREATE TABLE `T`(`ID` INTEGER)");
}

TEST(CustomizeHandoff, AWindowThatFailsLeavesTheRunCancelled)
{
    ScriptedWindow window([](CustomizeHandoff&) { throw std::runtime_error("window failed"); });
    CustomizeHandoff handoff = beginCustomization(TargetKind::Paradox, "t");
    EXPECT_THROW(window.showModal(handoff), std::runtime_error);
    EXPECT_EQ(finishCustomization(handoff, "t").decision, CustomizeDecision::Cancelled);
}

} // namespace
