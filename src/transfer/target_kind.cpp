#include "transfer/target_kind.h"

namespace quintabel {

std::string_view targetKindText(TargetKind kind)
{
    return kind == TargetKind::Paradox ? "Paradox" : "MySQL";
}

std::optional<TargetKind> targetKindFromText(std::string_view text)
{
    if (text == "Paradox")
        return TargetKind::Paradox;
    if (text == "MySQL")
        return TargetKind::MySQL;
    return std::nullopt;
}

} // namespace quintabel
