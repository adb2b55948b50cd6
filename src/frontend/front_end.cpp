#include "frontend/front_end.h"

#include "frontend/table_name_order.h"

#include <QCoreApplication>

#include <algorithm>

namespace quintabel {

void FrontEnd::tableStarted(const QString&, const QString&)
{
}

void FrontEnd::showWaitingForFolder(const QString&, bool)
{
}

std::function<bool(bool waiting)> waitForParadoxFolder(FrontEnd& frontEnd, const QString& folder)
{
    return [&frontEnd, folder](bool waiting) {
        frontEnd.showWaitingForFolder(folder, waiting);
        if (!waiting)
            return false;
        QCoreApplication::processEvents();
        return !frontEnd.stopRequested();
    };
}

void FrontEnd::rowRefused(const RefusedRow&)
{
}

void FrontEnd::tableNotice(const TableNotice&)
{
}

void FrontEnd::tableFinished(const TableOutcome&)
{
}

std::optional<QString> listedSpelling(const TableListView& list, const QString& name)
{
    std::optional<QString> otherCase;
    for (int index = 0; index < list.count(); ++index) {
        const QString listed = list.nameAt(index);
        if (listed == name)
            return listed;
        if (!otherCase && listed.compare(name, Qt::CaseInsensitive) == 0)
            otherCase = listed;
    }
    return otherCase;
}

NamedTables::NamedTables(const QStringList& names)
{
    for (const QString& name : names)
        entries_.push_back({name, true});
}

QStringList NamedTables::names() const
{
    QStringList names;
    for (const Entry& entry : entries_)
        names.append(entry.name);
    return names;
}

int NamedTables::count() const
{
    return static_cast<int>(entries_.size());
}

QString NamedTables::nameAt(int index) const
{
    return index >= 0 && index < count() ? entries_[static_cast<std::size_t>(index)].name : QString();
}

bool NamedTables::isSelected(int index) const
{
    return index >= 0 && index < count() && entries_[static_cast<std::size_t>(index)].selected;
}

int NamedTables::currentIndex() const
{
    return entries_.empty() ? -1 : 0;
}

bool NamedTables::lists(const QString& name) const
{
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        return entry.name.compare(name, Qt::CaseInsensitive) == 0;
    });
}

void NamedTables::removeAt(int index)
{
    if (index >= 0 && index < count())
        entries_.erase(entries_.begin() + index);
}

void NamedTables::removeName(const QString& name)
{
    std::erase_if(entries_, [&](const Entry& entry) { return entry.name == name; });
}

void NamedTables::addName(const QString& name)
{
    // Given names keep the order they were given in; an added name goes before the first name
    // that sorts after it, as on a sorted list.
    const auto place = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const Entry& listed) { return tableNameOrderLess(name, listed.name); });
    entries_.insert(place, Entry{name, false});
}

void NamedTables::clearNames()
{
    entries_.clear();
}

void NamedTables::replaceRenamed(int index, const QString& newName)
{
    removeAt(index);
    addName(newName);
}

} // namespace quintabel
