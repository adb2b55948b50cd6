#pragma once
// The kind of database a transfer writes to. Its two texts are the ones the transfers hand to
// the customisation window as `mType`.

#include <optional>
#include <string_view>

namespace quintabel {

enum class TargetKind {
    Paradox, // created in the scratch database, then written out as a Paradox table
    MySQL,   // created on the MySQL server
};

// "Paradox" or "MySQL".
std::string_view targetKindText(TargetKind kind);

// The kind whose text is exactly `text` (case-sensitive, as the customisation window compares
// `mType`); nothing for any other text.
std::optional<TargetKind> targetKindFromText(std::string_view text);

} // namespace quintabel
