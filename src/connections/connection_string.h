#pragma once
// The connection strings the program builds from the connection window's six fields, and the
// parser that reads such a string back as ODBC attributes.

#include "drivers/connection_attributes.h"

#include <string>
#include <string_view>

namespace quintabel::connections {

// The login fields exactly as typed: no trimming, quoting or escaping.
struct LoginFields {
    std::string paradoxFolder;
    std::string server;
    std::string port;
    std::string user;
    std::string password;
    std::string database;
    // The Paradox code page chosen over every table's own; 0 for none.
    int paradoxCodePage = 0;
};

std::string mySqlConnectionString(const LoginFields& fields);
// Ends in "CodePage=N;" when a code page is chosen.
std::string paradoxConnectionString(const LoginFields& fields);
// `folder` is the folder that holds dbtemp.mdb (the running program's scratch folder),
// without a trailing separator.
std::string scratchConnectionString(const std::string& folder);

// Reads "key=value;key=value;..." as ODBC does: a value starting with "{" runs to the
// matching "}" (where "}}" stands for one "}") and may hold ";"; keys are matched without
// regard to case and stripped of surrounding blanks, values are kept exactly. The string is
// refused (DatabaseError) when a piece is not a key=value pair, when a piece is empty other
// than after the final ";", or when a key occurs twice: each of these means that a value held
// a ";" and the rest of the string can no longer be trusted.
db::ConnectionAttributes parseConnectionString(std::string_view text);

} // namespace quintabel::connections
