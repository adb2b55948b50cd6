#include "cli/command_line_customisation.h"

#include "customise/field_loading.h"
#include "base/step_guard.h"

#include <exception>

namespace quintabel::cli {

namespace {

QString readFailure(const QString& sourceTable)
{
    return QStringLiteral("%1: its fields could not be read: %2").arg(sourceTable, descriptionOfCurrentException());
}

} // namespace

void loadSourceFields(TargetKind target, const ConnectionFields& fields, const QString& sourceTable,
                      customise::CustomisationLists& lists)
{
    constexpr auto types = customise::StartingTypes::Default;
    if (target == TargetKind::Paradox)
        customise::LoadFieldsFromMySQL(customise::loginFieldsOf(fields), sourceTable.toStdString(), lists, types);
    else
        customise::LoadFieldsFromParadox(customise::loginFieldsOf(fields), sourceTable.toStdString(), lists, types);
}

QStringList chosenTypeProblems(const TableTypes& chosen, TargetKind target, const ConnectionFields& fields,
                               const QString& sourceTable)
{
    // Types the window would refuse are told even when the table cannot be read.
    QStringList problems = invalidTypeEntries(chosen);
    customise::CustomisationLists lists;
    try {
        loadSourceFields(target, fields, sourceTable, lists);
    } catch (...) {
        problems << readFailure(sourceTable);
        return problems;
    }
    for (const QString& problem : applyChosenTypes(chosen, lists)) {
        if (!problems.contains(problem))
            problems << problem;
    }
    return problems;
}

CommandLineCustomisation::CommandLineCustomisation(const ChosenTypes& types,
                                                   std::function<ConnectionFields()> connectionFields)
    : types_(types), connectionFields_(std::move(connectionFields))
{
}

void CommandLineCustomisation::showModal(CustomiseHandoff& handoff)
{
    const QString sourceTable = QString::fromStdString(handoff.mTableName);
    const TableTypes* chosen = types_.forTable(sourceTable);
    if (chosen == nullptr) {
        // "OK" on an untouched window of a table without chosen types would still fix every
        // proposed type; the default mapping is what a table not named should get.
        handoff.CustomizeCancelled = false;
        return;
    }
    const TargetKind target = handoff.mType == targetKindText(TargetKind::Paradox)
        ? TargetKind::Paradox
        : TargetKind::MySQL;
    customise::CustomisationLists lists;
    try {
        loadSourceFields(target, connectionFields_(), sourceTable, lists);
    } catch (...) {
        problems_ << readFailure(sourceTable);
        return;
    }
    const QStringList problems = applyChosenTypes(*chosen, lists);
    if (!problems.isEmpty()) {
        problems_ << problems;
        return;
    }
    handoff.mSQL = lists.confirm(handoff.mSQL, handoff.mType);
    handoff.CustomizeCancelled = false;
}

} // namespace quintabel::cli
