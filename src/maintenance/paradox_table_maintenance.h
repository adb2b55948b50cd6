#pragma once
// Deleting and renaming Paradox tables of the front end's source list (List2 in the tables
// window), which the runs edit as the tables go and change names. A table is
// found where the list found it, letter case ignored: in the Paradox folder itself, or else in
// the one folder below it that holds a table of the name; it is handled with all its files.
// Each runs as a click handler's body, its failing steps reported under that handler's guard.

#include "base/no_replace_move.h"
#include "base/step_guard.h"

#include <QString>

namespace quintabel {

class FrontEnd;

// "Delete Table/s": deletes every selected table's files, from the bottom of the list to the
// top, and removes its item. No confirmation is asked. A name that is no longer found, or that
// two folders below the Paradox folder both hold (a plain message names the files), is left
// alone and stays listed. Without a current item the
// handler only says "Please select a table to delete.".
void deleteParadoxTables(StepGuard& guard, FrontEnd& frontEnd, const QString& paradoxFolder);

// "Rename Table": asks for the new name of the one selected table (the old name offered as the
// default; Cancel or an empty answer changes nothing) and renames all its files. The list item
// becomes the new name, as typed, only when the files moved, which stay in the table's own
// folder: a table that is not found, a rename to its own name, and a rename refused because the
// name is taken leave the list as it was (a taken name is told in a plain message).
void renameParadoxTable(StepGuard& guard, FrontEnd& frontEnd, const QString& paradoxFolder,
                        const FileMove& move = moveFileWithoutReplacing);

} // namespace quintabel
