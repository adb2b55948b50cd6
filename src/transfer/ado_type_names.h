#pragma once
// `Datatype`: the ADO names of the type numbers that a record set reports for its fields.

#include <string>

namespace quintabel {

// The ADO type name of a field's type number, spelled as ADO spells it ("adVarChar");
// the empty text for a number that is not one of the 39 known types (8192, the adArray flag,
// included). Never fails.
std::string AdoTypeName(int typeNumber);

} // namespace quintabel
