#pragma once
// The connection window's six fields as the connection strings take them: UTF-8 texts,
// exactly as typed.

#include "base/connection_fields.h"
#include "connections/connection_string.h"

#include <string>

namespace quintabel {

connections::LoginFields toLoginFields(const ConnectionFields& fields);

std::string mySqlConnectionStringOf(const ConnectionFields& fields);
std::string paradoxConnectionStringOf(const ConnectionFields& fields);

} // namespace quintabel
