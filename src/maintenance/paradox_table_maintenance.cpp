#include "maintenance/paradox_table_maintenance.h"

#include "base/message_boxes.h"
#include "frontend/front_end.h"
#include "maintenance/maintenance_messages.h"
#include "maintenance/paradox_recovery_notice.h"
#include "maintenance/paradox_table_files.h"
#include "maintenance/rename_request.h"
#include "maintenance/table_list_edits.h"

#include <optional>

namespace quintabel {

void deleteParadoxTables(StepGuard& guard, FrontEnd& frontEnd, const QString& paradoxFolder)
{
    TableListView& list = frontEnd.sourceList();
    guard.step(100, [&] { frontEnd.showBusy(true); });
    if (list.currentIndex() == -1) {
        guard.step(126, [&] { showMessage(QString::fromLatin1(kSelectTableToDelete)); });
    } else {
        // An interrupted replacement is put right first: its set-aside table must not be
        // left behind by a delete that cannot see it.
        const auto waiting = waitForParadoxFolder(frontEnd, paradoxFolder);
        recoverParadoxFolderAndTell(paradoxFolder, waiting);
        forEachSelectedFromBottom(list, [&](int index, const QString& tableName) {
            std::optional<ParadoxTableFiles> files;
            guard.step(110, [&] { files = findParadoxTableFiles(paradoxFolder, tableName); });
            if (!files)
                return; // gone since the listing (or the look-up failed and was shown)
            if (guard.step(112, [&] { deleteParadoxTableFiles(paradoxFolder, tableName, waiting); }))
                guard.step(114, [&] { list.removeAt(index); });
        });
    }
    guard.step(128, [&] { frontEnd.showBusy(false); });
}

void renameParadoxTable(StepGuard& guard, FrontEnd& frontEnd, const QString& paradoxFolder,
                        const FileMove& move)
{
    TableListView& list = frontEnd.sourceList();
    guard.step(102, [&] { frontEnd.showBusy(true); });
    if (const auto request = askForNewName(guard, list, {134, 132})) {
        const auto waiting = waitForParadoxFolder(frontEnd, paradoxFolder);
        recoverParadoxFolderAndTell(paradoxFolder, waiting);
        auto outcome = ParadoxRenameOutcome::NotFound;
        const bool moved = guard.step(120, [&] {
            outcome = renameParadoxTableFiles(paradoxFolder, request->oldName, request->newName, move, waiting);
        });
        // Only a table that took its new name changes its item.
        if (moved && outcome == ParadoxRenameOutcome::Renamed)
            guard.step(124, [&] { list.replaceRenamed(request->index, request->newName); });
    }
    guard.step(136, [&] { frontEnd.showBusy(false); });
}

} // namespace quintabel
