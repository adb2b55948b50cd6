#pragma once
// Deleting and renaming tables of the Paradox list (List2 of the tables window). A table is
// found in the Paradox folder itself, letter case ignored, and handled with all its files.
// Each runs as a click handler's body, its failing steps reported under that handler's guard.

#include "maintenance/no_replace_move.h"
#include "shell/step_guard.h"

#include <QString>

class QListWidget;

namespace quintabel {

class PointerRules;

// "Delete Table/s": deletes every selected table's files, from the bottom of the list to the
// top, and removes its item. No confirmation is asked. A table that is not in the folder (one
// listed from a folder below it) is left alone and stays listed. Without a current item the
// handler only says "Please select a table to delete.".
void DeleteParadoxTables(StepGuard& guard, QListWidget& list, const QString& paradoxFolder,
                         PointerRules& pointer);

// "Rename Table": asks for the new name of the one selected table (the old name offered as the
// default; Cancel or an empty answer changes nothing) and renames all its files. The list item
// becomes the new name, as typed, only when the files moved: a table that is not in the folder,
// a rename to its own name, and a rename refused because the name is taken leave the list as it
// was (a refusal shows the error report).
void RenameParadoxTable(StepGuard& guard, QListWidget& list, const QString& paradoxFolder,
                        PointerRules& pointer, const FileMove& move = MoveFileWithoutReplacing);

} // namespace quintabel
