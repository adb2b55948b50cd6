#pragma once
// The column type the customisation window proposes for each source field, before the user
// changes any.

#include "drivers/value.h"
#include "transfer/target_kind.h"

#include <optional>
#include <string>
#include <string_view>

namespace quintabel::customise {

// The first row's value of a field: nothing when the source table has no row.
using FirstRowValue = std::optional<db::Value>;

// The proposed type text for a field of ADO type `adoTypeName` (compared exactly), sent to
// `target`. The source is the other side: a Paradox target reads a MySQL source and the other
// way round. Text-like fields and unlisted types follow the text length rule.
std::string proposedType(std::string_view adoTypeName, TargetKind target,
                         const FirstRowValue& firstRowValue);

// The text length rule: "VARCHAR(255)" with no row, a null value or an empty text form;
// "VARCHAR(n)" for a text form of 1 to 255 characters; "TEXT" beyond that.
std::string textLengthProposal(const FirstRowValue& firstRowValue);

// The length the text length rule measures: the characters (Unicode code points) of a text,
// the bytes of a byte string (the length a binary column declares; the hex digits that carry
// the bytes in a statement are only their spelling), the characters of the program's own text
// form for any other value. Null measures 0.
std::size_t valueLength(const db::Value& value);

} // namespace quintabel::customise
