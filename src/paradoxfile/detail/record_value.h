#pragma once
// One value into the bytes its field takes in a record, for every type whose value lives
// wholly in the record (all but the blob types; docs/paradox-format.md §5). Shared by the
// table encoder and the key encoder, so that the bytes a key is ordered by are exactly the
// bytes its record holds.

#include "paradoxfile/field.h"
#include "paradoxfile/value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quintabel::paradox {
class CodePage;
}

namespace quintabel::paradox::detail {

// Writes `value` into the `field.size` bytes at `p`, which the caller has zeroed: a blank
// value leaves them so. `text` is scratch room for the code-page bytes of a text value.
// Returns why the value cannot be stored exactly ("-40000 is outside a Short field's ..."),
// for the caller to put into its own message; nothing when it was stored.
std::optional<std::string> encodeRecordValue(const Field& field, const Value& value, const CodePage& codePage,
                                             std::uint8_t* p, std::string& text);

// "a Date field takes a date, not this kind of value".
std::string wrongKindOfValue(FieldType type);

// "the text holds 'é' (U+00E9), which code page 866 cannot store (code page 1252 would
// hold it)", or nothing when `codePage` holds all of `text`; its bytes are then in `bytes`.
std::optional<std::string> encodeText(const CodePage& codePage, const std::string& text, std::string& bytes);

} // namespace quintabel::paradox::detail
