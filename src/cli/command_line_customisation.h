#pragma once
// The data type customisation step without its window: for every table that a --types file
// names, the source fields are loaded as the window loads them, the chosen types are set as
// "Apply" would set them, and the statement is built as "OK" builds it. A field the file does
// not name keeps the type a run without --types gives it (not the window's proposal, which
// fits the first row's value and may refuse a longer one), and a table the file does not name
// gets the default statement, as when the window hands back the statement prefix.

#include "cli/chosen_types.h"
#include "base/connection_fields.h"
#include "transfer/customise_handoff.h"
#include "transfer/target_kind.h"

#include <QStringList>

#include <functional>

namespace quintabel::cli {

// Loads the fields of `sourceTable` with their default types into `lists`, reading the side
// that a transfer to `target` reads from. Throws what the loader throws.
void loadSourceFields(TargetKind target, const ConnectionFields& fields, const QString& sourceTable,
                      customise::CustomisationLists& lists);

// Everything that keeps the chosen types of `chosen` from being used on `sourceTable`,
// checked before the table is sent: invalid types, fields the table does not have, a table
// that cannot be read. Empty when all of them can be used.
QStringList chosenTypeProblems(const TableTypes& chosen, TargetKind target, const ConnectionFields& fields,
                               const QString& sourceTable);

class CommandLineCustomisation final : public CustomisationWindow {
public:
    // `types` and whatever `connectionFields` reads must outlive this.
    CommandLineCustomisation(const ChosenTypes& types, std::function<ConnectionFields()> connectionFields);

    // Confirms at once. A table whose chosen types can no longer be used (its fields changed
    // since they were checked) is left cancelled, which ends the run before the table is
    // touched; problems() then says why.
    void showModal(CustomiseHandoff& handoff) override;

    const QStringList& problems() const { return problems_; }

private:
    const ChosenTypes& types_;
    std::function<ConnectionFields()> connectionFields_;
    QStringList problems_;
};

} // namespace quintabel::cli
