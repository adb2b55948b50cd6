#pragma once
// The sample Paradox database that ships with the program, and the connection window's
// "Load Sample/Example Database" button that points the Paradox folder field at it.
//
// In a build folder the samples lie in "Samples" beside the program and are used there. An
// installed program finds them read-only (in share/quintabel/Samples beside its bin/ folder,
// or in a "Samples" beside it that it may not write); since a transfer into the sample folder
// must work, they are then copied once into the user's data folder (Quintabel/Samples there)
// and the field points at the copy. The copy is never made again: what the user has done to
// the sample tables stays.

#include "base/step_guard.h"

#include <QString>

class QLineEdit;

namespace quintabel {

inline constexpr char kSampleFolderName[] = "Samples";

// The folder "Samples" in `programFolder`.
QString sampleFolderPath(const QString& programFolder);

// The sample folder the field should show, for a program in `programFolder` and a user whose
// data folder (XDG data home) is `userDataFolder`; copies the samples there first when they
// are read-only and no copy is there yet. When no samples are found at all, the folder beside
// the program, as it would be: the connection test then says that it is missing. A copy that
// fails is an expected problem naming the folder; nothing half-copied is left in its place.
QString usableSampleFolder(const QString& programFolder, const QString& userDataFolder);

// "Load Sample/Example Database": puts the usable sample folder into `folderField` (whose
// change handler stores it). Whether the folder holds tables is for the connection test and
// "Next >" to find out.
void loadSampleDatabase(StepGuard& guard, QLineEdit& folderField, const QString& programFolder);

} // namespace quintabel
