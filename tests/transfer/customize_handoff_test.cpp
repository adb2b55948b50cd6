#include "transfer/customize_handoff.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

using namespace quintabel::transfer;

namespace {

// Stands in for the customisation window: records what it was shown and acts as scripted.
class ScriptedWindow : public CustomizationWindow {
public:
    explicit ScriptedWindow(std::function<void(CustomizeHandoff&)> act)
        : act_(std::move(act))
    {
    }
    void showModal(CustomizeHandoff& handoff) override
    {
        seen = handoff;
        act_(handoff);
    }
    CustomizeHandoff seen;

private:
    std::function<void(CustomizeHandoff&)> act_;
};

void pressOk(CustomizeHandoff& handoff, const std::string& columns)
{
    handoff.mSQL += columns;
    handoff.CustomizeCancelled = false;
}

TEST(CustomizeHandoff, WindowSeesTheTargetAndTheFullSourceName)
{
    ScriptedWindow window([](CustomizeHandoff&) {});
    runCustomization(window, TargetKind::Paradox, "customer_addresses");
    EXPECT_TRUE(window.seen.CustomizeCancelled);
    EXPECT_EQ(window.seen.mType, "Paradox");
    EXPECT_EQ(window.seen.mTableName, "customer_addresses");
    EXPECT_EQ(window.seen.mSQL, "CREATE TABLE `customer_addresses`(");
}

TEST(CustomizeHandoff, CancelOrCloseBoxEndsTheRunEvenWithAStatementBuilt)
{
    ScriptedWindow window([](CustomizeHandoff& handoff) { handoff.mSQL += "[a] INT)"; });
    EXPECT_EQ(runCustomization(window, TargetKind::MySQL, "T").decision, CustomizeDecision::Cancelled);
}

TEST(CustomizeHandoff, OkWithTheHeadUnchangedFallsBackToTheDefaultStatement)
{
    ScriptedWindow window([](CustomizeHandoff& handoff) { pressOk(handoff, ""); });
    const CustomizeOutcome outcome = runCustomization(window, TargetKind::MySQL, "ORDERS");
    EXPECT_EQ(outcome.decision, CustomizeDecision::UseDefaultStatement);
    EXPECT_EQ(outcome.createStatement, "");
}

TEST(CustomizeHandoff, OkWithColumnsHandsBackTheWindowsStatementUnchanged)
{
    ScriptedWindow window([](CustomizeHandoff& handoff) { pressOk(handoff, "`ID` INTEGER)"); });
    const CustomizeOutcome outcome = runCustomization(window, TargetKind::MySQL, "ORDERS");
    EXPECT_EQ(outcome.decision, CustomizeDecision::UseWindowStatement);
    EXPECT_EQ(outcome.createStatement, "CREATE TABLE `ORDERS`(`ID` INTEGER)");
}

TEST(CustomizeHandoff, AWindowThatFailsLeavesTheRunCancelled)
{
    ScriptedWindow window([](CustomizeHandoff&) { throw std::runtime_error("window failed"); });
    CustomizeHandoff handoff = beginCustomization(TargetKind::Paradox, "t");
    EXPECT_THROW(window.showModal(handoff), std::runtime_error);
    EXPECT_EQ(finishCustomization(handoff, "t").decision, CustomizeDecision::Cancelled);
    EXPECT_THROW(runCustomization(window, TargetKind::Paradox, "t"), std::runtime_error);
}

} // namespace
