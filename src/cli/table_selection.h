#pragma once
// Which listed tables the names on the command line mean.

#include <QStringList>

namespace quintabel::cli {

struct TableSelection {
    QStringList chosen;   // listed names, each once, in the order they were asked for
    QStringList notFound; // the names asked for that no listed table matches
};

// A name means the listed table of exactly that name, else the one listed table whose name
// matches it without regard to letter case (Paradox lists its names in capitals; "orders"
// finds ORDERS). Two listed names that differ only in case leave a name that matches neither
// exactly unresolved, rather than pick one of them.
TableSelection selectTables(const QStringList& listed, const QStringList& asked);

// Every listed name once, in the listed order: --all.
QStringList everyTable(const QStringList& listed);

} // namespace quintabel::cli
