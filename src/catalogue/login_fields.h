#pragma once
// The connection window's six fields as the connection strings take them: UTF-8 texts,
// exactly as typed.

#include "base/connection_fields.h"
#include "connections/connection_string.h"

#include <string>

namespace quintabel {

connections::LoginFields ToLoginFields(const ConnectionFields& fields);

std::string MySqlConnectionStringOf(const ConnectionFields& fields);
std::string ParadoxConnectionStringOf(const ConnectionFields& fields);

} // namespace quintabel
