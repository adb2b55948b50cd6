#include "maintenance/paradox_table_maintenance.h"

#include "catalogue/table_name_list.h"
#include "maintenance/maintenance_messages.h"
#include "maintenance/paradox_table_files.h"
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
        // From the last item to the first, so that removing an item does not move the items
        // still to be visited. Deleting yields to the window system, so the count is checked
        // again at each item.
        const int count = list.count();
        for (int index = count - 1; index >= 0; --index) {
            if (index >= list.count() || !list.item(index)->isSelected())
                continue;
            const QString tableName = list.item(index)->text();
            std::optional<ParadoxTableFiles> files;
            guard.step(110, [&] { files = FindParadoxTableFiles(paradoxFolder, tableName); });
            if (!files)
                continue; // not in the folder itself (or the look-up failed and was reported)
            guard.step(112, [&] { DeleteParadoxTableFiles(*files); });
            guard.step(114, [&] { RemoveItemAt(list, index); });
        }
    }
    guard.step(128, [&] { pointer.setShape(PointerShape::Default); });
}

void RenameParadoxTable(StepGuard& guard, QListWidget& list, const QString& paradoxFolder,
                        PointerRules& pointer, const FileMove& move)
{
    guard.step(102, [&] { pointer.setShape(PointerShape::Busy); });
    if (ListIndex(list) == -1) {
        guard.step(134, [&] { ShowMessage(QString::fromLatin1(kSelectTableToRename)); });
    } else if (SelectedItemCount(list) != 1) {
        guard.step(132, [&] { ShowMessage(QString::fromLatin1(kSelectJustOneTable)); });
    } else {
        const int index = LastSelectedIndex(list);
        const QString oldName = list.item(index)->text();
        QString newName;
        guard.step(116, [&] { newName = InputBox(NewNamePrompt(oldName), oldName); });
        if (!newName.isEmpty()) {
            auto outcome = ParadoxRenameOutcome::NotFound;
            const bool moved = guard.step(120, [&] {
                outcome = RenameParadoxTableFiles(paradoxFolder, oldName, newName, move);
            });
            if (moved && outcome == ParadoxRenameOutcome::Renamed)
                guard.step(124, [&] { ReplaceRenamedItem(list, index, newName); });
        }
    }
    guard.step(136, [&] { pointer.setShape(PointerShape::Default); });
}

} // namespace quintabel
