#include "transfer/customise_handoff.h"

#include "transfer/default_column_types.h"

namespace quintabel {

CustomiseHandoff beginCustomisation(TargetKind target, std::string_view sourceTableName)
{
    CustomiseHandoff handoff;
    handoff.CustomizeCancelled = true;
    handoff.mType = std::string(targetKindText(target));
    handoff.mSQL = statementPrefix(sourceTableName);
    handoff.mTableName = std::string(sourceTableName);
    return handoff;
}

CustomiseOutcome finishCustomisation(const CustomiseHandoff& handoff, std::string_view sourceTableName)
{
    if (handoff.CustomizeCancelled)
        return {CustomiseDecision::Cancelled, {}};
    if (handoff.mSQL == statementPrefix(sourceTableName))
        return {CustomiseDecision::UseDefaultStatement, {}};
    return {CustomiseDecision::UseWindowStatement, handoff.mSQL};
}

} // namespace quintabel
