#pragma once
// The edits that deleting and renaming make to a table list, and the selection rules they
// share. The lists are never read again from their database afterwards: the next listing
// shows the true state.

#include <QString>

#include <functional>

class QListWidget;

namespace quintabel {

int SelectedItemCount(const QListWidget& list);

// The index of the selected item nearest the bottom, or -1.
int LastSelectedIndex(const QListWidget& list);

// Visits every selected item from the last to the first, so that removing the visited item
// does not move the items still to be visited. A visit may yield to the window system, so each
// index is checked against the list as it is then.
void ForEachSelectedFromBottom(QListWidget& list, const std::function<void(int index, const QString& name)>& visit);

// Removes the item at `index`; an index past the end removes nothing.
void RemoveItemAt(QListWidget& list, int index);

// After a rename: the item at `index` goes, `newName` enters at its alphabetical place
// unselected, and the first item becomes the current one (without being selected, so that the
// renamed table is not offered for renaming again).
void ReplaceRenamedItem(QListWidget& list, int index, const QString& newName);

} // namespace quintabel
