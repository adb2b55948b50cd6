#include "customise/proposed_types.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace quintabel::customise {

namespace {

// A proposal is a fixed type text, or empty for "apply the text length rule".
struct ProposalRow {
    std::initializer_list<std::string_view> adoTypeNames;
    std::string_view fromMySqlSource;   // target Paradox
    std::string_view fromParadoxSource; // target MySQL
};

constexpr std::string_view textLengthRule{};

// Read from the top; the first row that lists the type name decides. A name no row lists
// (the empty name of an unknown type number included) follows the text length rule.
const std::array<ProposalRow, 11> proposalRows{{
    {{"adLongVarWChar", "adLongVarChar"}, "TEXT", "TEXT"},
    {{"adVarChar", "adChar", "adVarWChar", "adWChar"}, textLengthRule, textLengthRule},
    {{"adBoolean"}, "BIT", "BIT"},
    {{"adCurrency"}, "MONEY", "NUMERIC"},
    {{"adSingle", "adNumeric", "adDouble"}, "NUMERIC", "NUMERIC"},
    {{"adDecimal"}, "DECIMAL", "DECIMAL"},
    {{"adUnsignedSmallInt", "adSmallInt"}, "SMALLINT", "SMALLINT"},
    {{"adUnsignedTinyInt", "adTinyInt"}, "TINYINT", "TINYINT"},
    {{"adUnsignedBigInt", "adBigInt"}, "BIGINT", "BIGINT"},
    {{"adUnsignedInt", "adInteger"}, "INT", "INTEGER"},
    {{"adDBDate", "adDate", "adDBTime", "adDBTimeStamp", "adFileTime"}, "DATETIME", "DATETIME"},
}};

constexpr std::size_t widestVarChar = 255;

std::size_t utf8CodePoints(std::string_view text)
{
    // Every byte that is not a continuation byte (10xxxxxx) starts a character.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
}

} // namespace

std::size_t valueLength(const db::Value& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return utf8CodePoints(*text);
    if (const auto* bytes = std::get_if<db::Bytes>(&value))
        return bytes->size();
    return utf8CodePoints(db::toText(value));
}

std::string textLengthProposal(const FirstRowValue& firstRowValue)
{
    if (!firstRowValue || db::isNull(*firstRowValue))
        return "VARCHAR(255)";
    const std::size_t length = valueLength(*firstRowValue);
    if (length == 0)
        return "VARCHAR(255)";
    if (length > widestVarChar)
        return "TEXT";
    return "VARCHAR(" + std::to_string(length) + ")";
}

std::string proposedType(std::string_view adoTypeName, TargetKind target,
                         const FirstRowValue& firstRowValue)
{
    for (const ProposalRow& row : proposalRows) {
        if (std::find(row.adoTypeNames.begin(), row.adoTypeNames.end(), adoTypeName) == row.adoTypeNames.end())
            continue;
        const std::string_view proposal =
            target == TargetKind::Paradox ? row.fromMySqlSource : row.fromParadoxSource;
        return proposal == textLengthRule ? textLengthProposal(firstRowValue) : std::string(proposal);
    }
    return textLengthProposal(firstRowValue);
}

} // namespace quintabel::customise
