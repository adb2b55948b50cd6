#include "customise/proposed_types.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace quintabel;
using namespace quintabel::customise;
using quintabel::TargetKind;

namespace {

const FirstRowValue noRow = std::nullopt;

FirstRowValue text(std::size_t length)
{
    return db::Value{std::string(length, 'x')};
}

TEST(TextLengthRule, BoundariesAndWhatIsCounted)
{
    EXPECT_EQ(proposedType("adVarChar", TargetKind::Paradox, text(0)), "VARCHAR(255)");
    EXPECT_EQ(proposedType("adVarChar", TargetKind::Paradox, text(1)), "VARCHAR(1)");
    EXPECT_EQ(proposedType("adVarChar", TargetKind::Paradox, text(255)), "VARCHAR(255)");
    EXPECT_EQ(proposedType("adVarChar", TargetKind::Paradox, text(256)), "TEXT");
    EXPECT_EQ(proposedType("adWChar", TargetKind::MySQL, db::Value{db::Null{}}), "VARCHAR(255)");
    EXPECT_EQ(proposedType("adChar", TargetKind::MySQL, noRow), "VARCHAR(255)");
    // Characters, not UTF-8 bytes; bytes, not their hex digits.
    EXPECT_EQ(textLengthProposal(db::Value{std::string("Zürich–Köln")}), "VARCHAR(11)");
    EXPECT_EQ(textLengthProposal(db::Value{db::Bytes(200, 0xAB)}), "VARCHAR(200)");
}

TEST(ProposedType, SourcesDifferInCurrencyAndIntegerOnly)
{
    EXPECT_EQ(proposedType("adCurrency", TargetKind::Paradox, noRow), "MONEY");
    EXPECT_EQ(proposedType("adCurrency", TargetKind::MySQL, noRow), "NUMERIC");
    EXPECT_EQ(proposedType("adInteger", TargetKind::Paradox, noRow), "INT");
    EXPECT_EQ(proposedType("adUnsignedInt", TargetKind::MySQL, noRow), "INTEGER");
    EXPECT_EQ(proposedType("adLongVarChar", TargetKind::Paradox, noRow), "TEXT"); // fixed, even with no row
}

TEST(ProposedType, UnlistedOrMiscasedNamesMeasureTheValuesText)
{
    const FirstRowValue fiveDigits = db::Value{std::int64_t{12345}};
    EXPECT_EQ(proposedType("", TargetKind::MySQL, fiveDigits), "VARCHAR(5)");
    EXPECT_EQ(proposedType("ADINTEGER", TargetKind::Paradox, fiveDigits), "VARCHAR(5)"); // compared exactly
}

} // namespace
