#include "maintenance/paradox_table_maintenance.h"

#include "catalogue/table_name_list.h"
#include "maintenance/maintenance_messages.h"
#include "maintenance/paradox_recovery_notice.h"
#include "maintenance/paradox_table_files.h"
#include "maintenance/rename_request.h"
#include "maintenance/table_list_edits.h"
#include "shell/message_boxes.h"
#include "shell/pointer_rules.h"

#include <QListWidget>

#include <optional>

namespace quintabel {

void DeleteParadoxTables(StepGuard& guard, QListWidget& list, const QString& paradoxFolder,
                         PointerRules& pointer)
{
    guard.step(100, [&] { pointer.setShape(PointerShape::Busy); });
    if (ListIndex(list) == -1) {
        guard.step(126, [&] { ShowMessage(QString::fromLatin1(kSelectTableToDelete)); });
    } else {
        // An interrupted replacement is put right first: its set-aside table must not be
        // left behind by a delete that cannot see it.
        RecoverParadoxFolderAndTell(paradoxFolder);
        ForEachSelectedFromBottom(list, [&](int index, const QString& tableName) {
            std::optional<ParadoxTableFiles> files;
            guard.step(110, [&] { files = FindParadoxTableFiles(paradoxFolder, tableName); });
            if (!files)
                return; // gone since the listing (or the look-up failed and was shown)
            guard.step(112, [&] { DeleteParadoxTableFiles(*files); });
            guard.step(114, [&] { RemoveItemAt(list, index); });
        });
    }
    guard.step(128, [&] { pointer.setShape(PointerShape::Default); });
}

void RenameParadoxTable(StepGuard& guard, QListWidget& list, const QString& paradoxFolder,
                        PointerRules& pointer, const FileMove& move)
{
    guard.step(102, [&] { pointer.setShape(PointerShape::Busy); });
    if (const auto request = AskForNewName(guard, list, {134, 132})) {
        RecoverParadoxFolderAndTell(paradoxFolder);
        auto outcome = ParadoxRenameOutcome::NotFound;
        const bool moved = guard.step(120, [&] {
            outcome = RenameParadoxTableFiles(paradoxFolder, request->oldName, request->newName, move);
        });
        // Only a table that took its new name changes its item.
        if (moved && outcome == ParadoxRenameOutcome::Renamed)
            guard.step(124, [&] { ReplaceRenamedItem(list, request->index, request->newName); });
    }
    guard.step(136, [&] { pointer.setShape(PointerShape::Default); });
}

} // namespace quintabel
