#pragma once
// Deleting and renaming tables of the MySQL list (List1 of the tables window). Each runs as a
// click handler's body: its steps are reported under that handler's guard, and a failing step
// is followed by the next one, so a table the server refuses to drop or rename still leaves
// the list (the next listing shows the truth).

#include "shell/connection_fields.h"
#include "shell/step_guard.h"

class QListWidget;

namespace quintabel {

class PointerRules;

// "Delete Table/s": drops every selected table, from the bottom of the list to the top, and
// removes its item. No confirmation is asked. The connection is opened first; without a
// current item the handler only says "Please select a table".
void DeleteMySqlTables(StepGuard& guard, QListWidget& list, const ConnectionFields& fields,
                       PointerRules& pointer);

// "Rename Table": asks for the new name of the one selected table (the old name offered as the
// default; Cancel or an empty answer changes nothing), renames it on the server with the name
// exactly as typed, and puts the new name in the list in place of the old one. A new name the
// server already holds is told in a plain message, and the list stays as it was.
void RenameMySqlTable(StepGuard& guard, QListWidget& list, const ConnectionFields& fields,
                      PointerRules& pointer);

} // namespace quintabel
