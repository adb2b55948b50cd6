#include "maintenance/rename_request.h"

#include "base/message_boxes.h"
#include "frontend/front_end.h"
#include "maintenance/maintenance_messages.h"
#include "maintenance/table_list_edits.h"


namespace quintabel {

std::optional<RenameRequest> AskForNewName(StepGuard& guard, const TableListView& list, RenameMessageSteps steps)
{
    if (list.currentIndex() == -1) {
        guard.step(steps.noCurrentItem, [] { ShowMessage(QString::fromLatin1(kSelectTableToRename)); });
        return std::nullopt;
    }
    if (SelectedItemCount(list) != 1) {
        guard.step(steps.notOneSelected, [] { ShowMessage(QString::fromLatin1(kSelectJustOneTable)); });
        return std::nullopt;
    }
    RenameRequest request;
    request.index = LastSelectedIndex(list);
    request.oldName = list.nameAt(request.index);
    guard.step(116, [&] { request.newName = InputBox(NewNamePrompt(request.oldName), request.oldName); });
    if (request.newName.isEmpty())
        return std::nullopt; // Cancel, or OK on an emptied field: nothing is to change
    return request;
}

QString NewNamePrompt(const QString& oldName)
{
    return QString::fromLatin1(kNewNamePromptStart) + oldName + QLatin1Char(':');
}

} // namespace quintabel
