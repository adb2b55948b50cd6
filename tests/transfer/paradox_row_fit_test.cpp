// The row check for tables bound for Paradox: a refused row must leave the column choices as
// they were, so that the rows after it are judged as if it had never come.

#include "transfer/paradox_row_fit.h"

#include <gtest/gtest.h>

using quintabel::ParadoxWriteOutFit;
using quintabel::RowValueText;
using quintabel::TargetKind;
using quintabel::rowValueTexts;
using quintabel::db::Bytes;
using quintabel::db::Null;
using quintabel::db::Value;

namespace {

struct Refused {
    const char* why;
    Value value; // for the column `short`, in a row whose `any` holds bytes
    const char* words;
};

TEST(ParadoxWriteOutFitTest, ARefusedRowLeavesNoTraceInTheColumnsItHadAlreadyPassed)
{
    const std::vector<Refused> refusals{
        {"too long for its type", std::string("abcd"), "4 characters, more than the 3"},
        {"outside the code page", std::string("\xF0\x9F\x98\x80"), "code page 1252"},
    };
    for (const bool texts : {false, true}) {
        for (const Refused& refused : refusals) {
            SCOPED_TRACE(std::string(refused.why) + (texts ? ", with the statement's texts" : ""));
            ParadoxWriteOutFit fit("CREATE TABLE `t`(`any` TEXT,`short` VarChar (3))", 1252);
            auto check = [&](std::vector<Value> row, std::size_t number) {
                if (!texts)
                    return fit.misfit(row, number);
                std::vector<RowValueText> rowTexts;
                rowValueTexts(row, TargetKind::Paradox, rowTexts);
                return fit.misfit(row, rowTexts, number);
            };
            EXPECT_FALSE(check({Null{}, std::string("ab")}, 1));
            // Bytes in `any` pass, then `short` refuses the row.
            const auto misfit = check({Bytes{0x01}, refused.value}, 2);
            ASSERT_TRUE(misfit);
            EXPECT_EQ(misfit->column, "short");
            EXPECT_NE(misfit->reason.find("Row 2 was not copied"), std::string::npos) << misfit->reason;
            EXPECT_NE(misfit->reason.find(refused.words), std::string::npos) << misfit->reason;
            // Text in `any` clashes with bytes only if row 2's bytes were kept.
            const auto third = check({std::string("text"), std::string("c")}, 3);
            EXPECT_FALSE(third) << third->reason;
            // And the clash itself is still seen between rows that did arrive.
            const auto fourth = check({Bytes{0x02}, Null{}}, 4);
            ASSERT_TRUE(fourth);
            EXPECT_NE(fourth->reason.find("row 3 of the same column holds text"), std::string::npos)
                << fourth->reason;
        }
    }
}

} // namespace
