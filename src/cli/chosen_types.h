#pragma once
// The column types chosen in a --types file, what the customisation window's "Apply" would
// have set by hand: {"ORDERS": {"AMOUNT": "DECIMAL(12,2)", "NAME": "VARCHAR(80)"}}.

#include "customise/customisation_lists.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

namespace quintabel::cli {

struct ChosenType {
    QString field;
    QString type;
};

struct TableTypes {
    QString table;                 // as the file names it
    std::vector<ChosenType> fields; // in the order the file gives them
};

class ChosenTypes {
public:
    // Reads a types file. The reason, naming the file, when it cannot be read or is not an
    // object of tables, each an object of fields, each a text.
    static std::variant<ChosenTypes, QString> read(const QString& path);
    // The same from the file's bytes; `origin` names the file in the reason.
    static std::variant<ChosenTypes, QString> parse(const QByteArray& json, const QString& origin);

    bool empty() const { return tables_.empty(); }
    const std::vector<TableTypes>& tables() const { return tables_; }

    // The types chosen for the listed table `tableName`: the entry of exactly that name, else
    // the one entry whose name matches without regard to letter case.
    const TableTypes* forTable(const QString& tableName) const;

private:
    std::vector<TableTypes> tables_;
};

// "TABLE.FIELD: Invalid datatype." for every type the customisation window would refuse.
QStringList invalidTypeEntries(const TableTypes& chosen);

// Sets each chosen type in `lists` (loaded from the source table) as "Apply" would: the field
// of exactly that name, else the one field that matches without regard to letter case (both
// databases compare column names so). One problem per entry whose field the table does not
// have, or whose type is refused; `lists` holds the types that were set.
QStringList applyChosenTypes(const TableTypes& chosen, customise::CustomisationLists& lists);

} // namespace quintabel::cli
