#pragma once
// The part that renaming shares on both sides: checking that exactly one table is chosen and
// asking the user for its new name.

#include "base/step_guard.h"

#include <QString>

#include <optional>


namespace quintabel {

class TableListView;

struct RenameRequest {
    int index = -1;  // the selected item's place in the list
    QString oldName; // its text
    QString newName; // as typed: never empty
};

// The step labels of the two selection messages, which differ between the two sides.
struct RenameMessageSteps {
    int noCurrentItem;
    int notOneSelected;
};

// Needs a current item ("Please select a table to rename." otherwise) and exactly one selected
// item ("Please select just one table to rename."), which need not be the current one. Then
// asks for the new name in the input box (step 116), offering the old name. Nothing when a
// message was shown, or when the user cancelled or left the name empty.
std::optional<RenameRequest> askForNewName(StepGuard& guard, const TableListView& list, RenameMessageSteps steps);

// The input box's prompt for renaming `oldName`.
QString newNamePrompt(const QString& oldName);

} // namespace quintabel
