#pragma once
// How a Paradox field is reported upwards: the ADO type number the Windows stack ("Microsoft
// Paradox Driver (*.db )" under ADO) gives its field type, and its value as a db::Value.

#include "drivers/driver.h"
#include "paradoxfile/field.h"
#include "paradoxfile/value.h"

namespace quintabel::db::paradox {

int adoTypeOf(quintabel::paradox::FieldType type);
FieldInfo describeField(const quintabel::paradox::Field& field);
Value toDbValue(const quintabel::paradox::Value& value);

} // namespace quintabel::db::paradox
