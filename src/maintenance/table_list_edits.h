#pragma once
// The edits that deleting and renaming make to a table list, and the selection rules they
// share. The lists are never read again from their database afterwards: the next listing
// shows the true state.

#include <QString>

#include <optional>

class QListWidget;

namespace quintabel {

int SelectedItemCount(const QListWidget& list);

// The one rename needs: a current item and exactly one selected item. The message to show
// when the selection does not fit (no current item; not exactly one selected), or nothing.
std::optional<QString> RenameSelectionProblem(const QListWidget& list);

// The index of the selected item nearest the bottom, or -1.
int LastSelectedIndex(const QListWidget& list);

// Removes the item at `index`; an index past the end removes nothing.
void RemoveItemAt(QListWidget& list, int index);

// After a rename: the item at `index` goes, `newName` enters at its alphabetical place
// unselected, and the first item becomes the current one (without being selected, so that the
// renamed table is not offered for renaming again).
void ReplaceRenamedItem(QListWidget& list, int index, const QString& newName);

// The input box's prompt for renaming `oldName`.
QString NewNamePrompt(const QString& oldName);

} // namespace quintabel
