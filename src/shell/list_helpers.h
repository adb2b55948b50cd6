#pragma once
// Membership and removal on the tables window's list boxes.

#include <QString>

class QListWidget;

namespace quintabel {

// True when some item's text equals `text` without regard to letter case.
bool ListHasItem(const QListWidget& list, const QString& text);

// Removes every item whose text equals `text` exactly (case included); the rest keep order.
void RemoveListItem(QListWidget& list, const QString& text);

} // namespace quintabel
