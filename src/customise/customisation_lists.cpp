#include "customise/customisation_lists.h"

#include "customise/accepted_types.h"
#include "customise/customised_create.h"

#include <utility>

namespace quintabel::customise {

void CustomisationLists::appendField(std::string fieldName)
{
    fieldNames_.push_back(std::move(fieldName));
}

void CustomisationLists::appendType(std::string typeText)
{
    typeTexts_.push_back(std::move(typeText));
}

std::optional<std::string> CustomisationLists::selectRow(std::size_t row)
{
    if (row >= fieldNames_.size() && row >= typeTexts_.size())
        return std::nullopt;
    selectedRow_ = row;
    if (row >= typeTexts_.size())
        return std::nullopt;
    return typeTexts_[row];
}

ApplyOutcome CustomisationLists::apply(std::string_view typed)
{
    if (!selectedRow_ || *selectedRow_ >= typeTexts_.size())
        return ApplyOutcome::NothingSelected;
    if (!IsValidDataType(typed))
        return ApplyOutcome::InvalidType;
    typeTexts_[*selectedRow_] = std::string(typed);
    changed_ = true;
    return ApplyOutcome::Applied;
}

std::string CustomisationLists::confirm(std::string_view statementHead, std::string_view mType)
{
    std::string statement =
        customisedCreateStatement(statementHead, fieldNames_, typeTexts_, columnQuotingFor(mType));
    changed_ = false;
    return statement;
}

} // namespace quintabel::customise
