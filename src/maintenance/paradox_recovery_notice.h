#pragma once
// Telling the user what the recovery of the Paradox folder did: one plain message for the
// whole folder, shown only when there was something to put right.

#include "maintenance/folder_recovery.h"

#include <QString>

#include <vector>

namespace quintabel {

// The message for the notes of one recovery of `paradoxFolder`.
QString paradoxRecoveryMessage(const std::vector<RecoveryNote>& notes, const QString& paradoxFolder);

// Recovers `paradoxFolder` (see recoverParadoxFolder) and shows the message when there are
// notes. Never throws: a folder that cannot be read is left to the listing to report.
// `whileBusy` as for recoverParadoxFolder.
void recoverParadoxFolderAndTell(const QString& paradoxFolder, const FolderWriteLock::WhileBusy& whileBusy = {});

} // namespace quintabel
