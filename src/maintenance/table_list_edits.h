#pragma once
// The selection rules that deleting and renaming share on a table list. The lists are never
// read again from their database afterwards: the next listing shows the true state.

#include <QString>

#include <functional>

namespace quintabel {

class TableListView;

int selectedItemCount(const TableListView& list);

// The index of the selected item nearest the bottom, or -1.
int lastSelectedIndex(const TableListView& list);

// Visits every selected item from the last to the first, so that removing the visited item
// does not move the items still to be visited. A visit may yield to the window system, so each
// index is checked against the list as it is then.
void forEachSelectedFromBottom(TableListView& list, const std::function<void(int index, const QString& name)>& visit);

} // namespace quintabel
