#include "transfer/customize_handoff.h"

#include "transfer/default_column_types.h"

namespace quintabel::transfer {

CustomizeHandoff beginCustomization(TargetKind target, std::string_view sourceTableName)
{
    CustomizeHandoff handoff;
    handoff.CustomizeCancelled = true;
    handoff.mType = std::string(targetKindText(target));
    handoff.mSQL = statementPrefix(sourceTableName);
    handoff.mTableName = std::string(sourceTableName);
    return handoff;
}

CustomizeOutcome finishCustomization(const CustomizeHandoff& handoff, std::string_view sourceTableName)
{
    if (handoff.CustomizeCancelled)
        return {CustomizeDecision::Cancelled, {}};
    if (handoff.mSQL == statementPrefix(sourceTableName))
        return {CustomizeDecision::UseDefaultStatement, {}};
    return {CustomizeDecision::UseWindowStatement, handoff.mSQL};
}

CustomizeOutcome runCustomization(CustomizationWindow& window, TargetKind target,
                                  std::string_view sourceTableName)
{
    CustomizeHandoff handoff = beginCustomization(target, sourceTableName);
    window.showModal(handoff);
    return finishCustomization(handoff, sourceTableName);
}

} // namespace quintabel::transfer
