#pragma once
// The two table lists of the tables window: sorted alphabetically without regard to case,
// several items selectable at once (click, Shift+click, Ctrl+click), and a current item
// besides the selection (listIndex, -1 when there is none).
//
// Add names with addTableName: its items keep the case-blind order. Qt's own items order
// by exact character codes, so a name added with QListWidget::addItem would still land in the
// right place while the list holds only addTableName's items, but could not keep the order
// for the items that follow it.

#include <QString>

class QListWidget;

namespace quintabel {

// Gives a list the behaviour above.
void prepareTableList(QListWidget& list);

// Adds `name` at its alphabetical place (letter case ignored; equal names may repeat).
void addTableName(QListWidget& list, const QString& name);

// The current item's index, -1 when there is none.
int listIndex(const QListWidget& list);
// Makes the item at `index` current without selecting it or changing the selection; -1
// leaves the list without a current item.
void setListIndex(QListWidget& list, int index);

// Selects or deselects every item, one by one; the current item stays where it is.
void selectAllItems(QListWidget& list);
void deselectAllItems(QListWidget& list);

} // namespace quintabel
