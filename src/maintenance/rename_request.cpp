#include "maintenance/rename_request.h"

#include "base/message_boxes.h"
#include "frontend/front_end.h"
#include "maintenance/maintenance_messages.h"
#include "maintenance/table_list_edits.h"


namespace quintabel {

std::optional<RenameRequest> askForNewName(StepGuard& guard, const TableListView& list, RenameMessageSteps steps)
{
    if (list.currentIndex() == -1) {
        guard.step(steps.noCurrentItem, [] { showMessage(QString::fromLatin1(kSelectTableToRename)); });
        return std::nullopt;
    }
    if (selectedItemCount(list) != 1) {
        guard.step(steps.notOneSelected, [] { showMessage(QString::fromLatin1(kSelectJustOneTable)); });
        return std::nullopt;
    }
    RenameRequest request;
    request.index = lastSelectedIndex(list);
    request.oldName = list.nameAt(request.index);
    guard.step(116, [&] { request.newName = showInputBox(newNamePrompt(request.oldName), request.oldName); });
    if (request.newName.isEmpty())
        return std::nullopt; // Cancel, or OK on an emptied field: nothing is to change
    return request;
}

QString newNamePrompt(const QString& oldName)
{
    return QString::fromLatin1(kNewNamePromptStart) + oldName + QLatin1Char(':');
}

} // namespace quintabel
