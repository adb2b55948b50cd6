#pragma once
// The sample Paradox database that ships beside the program, and the connection window's
// "Load Sample/Example Database" button that points the Paradox folder field at it.

#include "shell/step_guard.h"

#include <QString>

class QLineEdit;

namespace quintabel {

inline constexpr char kSampleFolderName[] = "Samples";

// The folder "Samples" in `programFolder`.
QString SampleFolderPath(const QString& programFolder);

// "Load Sample/Example Database": puts the sample folder into `folderField` (whose change
// handler stores it). Whether the folder exists and holds tables is for the connection test
// and "Next >" to find out.
void LoadSampleDatabase(StepGuard& guard, QLineEdit& folderField, const QString& programFolder);

} // namespace quintabel
