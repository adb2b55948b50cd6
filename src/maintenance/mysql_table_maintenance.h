#pragma once
// Deleting and renaming MySQL tables of the front end's source list (List1 in the tables
// window), which the runs edit as the tables go and change names. Each runs as a
// click handler's body: its steps are reported under that handler's guard, and a failing step
// is followed by the next one, so a table the server refuses to drop or rename still leaves
// the list (the next listing shows the truth).

#include "base/connection_fields.h"
#include "base/step_guard.h"

namespace quintabel {

class FrontEnd;

// "Delete Table/s": drops every selected table, from the bottom of the list to the top, and
// removes its item. No confirmation is asked. The connection is opened first; without a
// current item the handler only says "Please select a table".
void deleteMySqlTables(StepGuard& guard, FrontEnd& frontEnd, const ConnectionFields& fields);

// "Rename Table": asks for the new name of the one selected table (the old name offered as the
// default; Cancel or an empty answer changes nothing), renames it on the server with the name
// exactly as typed, and puts the new name in the list in place of the old one. A new name the
// server already holds is told in a plain message, and the list stays as it was.
void renameMySqlTable(StepGuard& guard, FrontEnd& frontEnd, const ConnectionFields& fields);

} // namespace quintabel
