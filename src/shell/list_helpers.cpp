#include "shell/list_helpers.h"

#include <QListWidget>

namespace quintabel {

bool ListHasItem(const QListWidget& list, const QString& text)
{
    const QString wanted = text.toLower();
    for (int index = 0; index < list.count(); ++index) {
        if (list.item(index)->text().toLower() == wanted)
            return true;
    }
    return false;
}

void RemoveListItem(QListWidget& list, const QString& text)
{
    for (int index = list.count() - 1; index >= 0; --index) {
        if (list.item(index)->text() == text)
            delete list.takeItem(index);
    }
}

} // namespace quintabel
