#include "catalogue/window/list_box_front_end.h"

#include "catalogue/window/progress_bar.h"
#include "catalogue/window/table_name_list.h"
#include "shell/list_helpers.h"
#include "shell/pointer_rules.h"

#include <QCheckBox>
#include <QListWidget>

namespace quintabel {

int ListBoxTables::count() const
{
    return list_.count();
}

QString ListBoxTables::nameAt(int index) const
{
    const QListWidgetItem* item = list_.item(index);
    return item != nullptr ? item->text() : QString();
}

bool ListBoxTables::isSelected(int index) const
{
    const QListWidgetItem* item = list_.item(index);
    return item != nullptr && item->isSelected();
}

int ListBoxTables::currentIndex() const
{
    return listIndex(list_);
}

bool ListBoxTables::lists(const QString& name) const
{
    return ListHasItem(list_, name);
}

void ListBoxTables::removeAt(int index)
{
    if (index >= 0 && index < list_.count())
        delete list_.takeItem(index);
}

void ListBoxTables::removeName(const QString& name)
{
    RemoveListItem(list_, name);
}

void ListBoxTables::addName(const QString& name)
{
    addTableName(list_, name);
}

void ListBoxTables::clearNames()
{
    list_.clear();
}

void ListBoxTables::replaceRenamed(int index, const QString& newName)
{
    removeAt(index);
    addTableName(list_, newName);
    // The first item becomes current without being selected, so that the renamed table is
    // not offered for renaming again.
    if (list_.count() >= 1)
        setListIndex(list_, 0);
}

ListBoxFrontEnd::ListBoxFrontEnd(const ListBoxParts& parts) : parts_(parts), source_(parts.sourceList)
{
    if (parts.targetList != nullptr)
        target_.emplace(*parts.targetList);
}

TableListView& ListBoxFrontEnd::targetList()
{
    if (target_)
        return *target_;
    return noTarget_;
}

bool ListBoxFrontEnd::customiseTypes() const
{
    return parts_.customiseBox != nullptr && parts_.customiseBox->isChecked();
}

bool ListBoxFrontEnd::stopRequested() const
{
    return parts_.endRequested && parts_.endRequested();
}

void ListBoxFrontEnd::showRowProgress(const QString& tableName, std::int64_t row, std::int64_t rowCount)
{
    if (parts_.progressBar != nullptr)
        parts_.progressBar->showRowProgress(tableName, row, rowCount);
}

void ListBoxFrontEnd::showIdle()
{
    if (parts_.progressBar != nullptr)
        parts_.progressBar->showIdle();
}

void ListBoxFrontEnd::showWaitingForFolder(const QString& /*folder*/, bool waiting)
{
    if (parts_.progressBar == nullptr)
        return;
    if (waiting)
        parts_.progressBar->setText(
            QStringLiteral("Another program is writing in the Paradox folder; waiting for it to finish"));
    else
        parts_.progressBar->showIdle();
}

void ListBoxFrontEnd::showBusy(bool busy)
{
    if (parts_.pointer != nullptr)
        parts_.pointer->setShape(busy ? PointerShape::Busy : PointerShape::Default);
}

} // namespace quintabel
