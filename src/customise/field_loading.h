#pragma once
// Fills the customisation window's two lists from the source table: one field name and one
// proposed type per source field, from the fields and the first row of a one-row query.

#include "base/connection_fields.h"
#include "connections/connection_string.h"
#include "customise/customisation_lists.h"

#include <string>
#include <string_view>

namespace quintabel::customise {

// "SELECT * FROM `name` LIMIT 1". A backtick inside the name is doubled, as in every other
// statement the program sends to MySQL, so the query reads the very table that the transfer
// copies and nothing else.
std::string mySqlFirstRowQuery(std::string_view tableName);

// "SELECT top 1 * FROM "name"", the name put between the double quotation marks as it is: the
// Paradox folder driver reads a name up to the next double quotation mark, so a name that
// holds one fails clearly instead of naming another table.
std::string paradoxFirstRowQuery(std::string_view tableName);

// The login the loaders open their connections with: the connection window's fields as they
// stand, the Paradox code page chosen there included, so that the first row's text is read
// (and a proposed length counted) in the code page the transfer itself will read it in.
connections::LoginFields loginFieldsOf(const ConnectionFields& fields);

// The type each field is loaded with: the window's proposal (from its type and the first row's
// value), or the type a transfer without customisation gives its column
// (defaultColumnDefinition), which holds every value the field can hold.
enum class StartingTypes { Proposed, Default };

// The source is a MySQL table (the target is Paradox). Opens its own connection from the
// login fields, runs mySqlFirstRowQuery and appends each field and its proposal (or its
// default type) to `lists`.
// A failure (no connection, no such table) is a DatabaseError; the lists keep what was
// appended before it, and the connection and record set are closed and released.
void LoadFieldsFromMySQL(const connections::LoginFields& login, std::string_view mTableName,
                         CustomisationLists& lists, StartingTypes types = StartingTypes::Proposed);

// The same for a Paradox table of the login's Paradox folder (the target is MySQL).
void LoadFieldsFromParadox(const connections::LoginFields& login, std::string_view mTableName,
                           CustomisationLists& lists, StartingTypes types = StartingTypes::Proposed);

} // namespace quintabel::customise
