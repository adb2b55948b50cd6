#include "cli/table_selection.h"

#include <optional>

namespace quintabel::cli {

namespace {

std::optional<QString> listedNameFor(const QStringList& listed, const QString& asked)
{
    if (listed.contains(asked))
        return asked;
    std::optional<QString> match;
    for (const QString& name : listed) {
        if (name.compare(asked, Qt::CaseInsensitive) != 0 || name == match)
            continue;
        if (match)
            return std::nullopt;
        match = name;
    }
    return match;
}

} // namespace

TableSelection selectTables(const QStringList& listed, const QStringList& asked)
{
    TableSelection selection;
    for (const QString& name : asked) {
        const std::optional<QString> match = listedNameFor(listed, name);
        if (!match)
            selection.notFound << name;
        else if (!selection.chosen.contains(*match))
            selection.chosen << *match;
    }
    return selection;
}

QStringList everyTable(const QStringList& listed)
{
    QStringList names;
    for (const QString& name : listed) {
        if (!names.contains(name))
            names << name;
    }
    return names;
}

} // namespace quintabel::cli
