#include "transfer/create_statement_choice.h"

#include "base/step_guard.h"
#include "connections/recordset.h"
#include "transfer/table_keys.h"

#include <QCoreApplication>

#include <stdexcept>

namespace quintabel {

namespace {

void putInHand(StepGuard& guard, std::string& inHand, std::string statement)
{
    inHand = std::move(statement);
    guard.setStatement(QString::fromStdString(inHand));
}

// DefaultCreateStatement over the record set's fields, yielding to the window before each
// field. A field that cannot be read is reported and left out.
void buildDefaultStatement(StepGuard& guard, int firstLabel, const std::string& tableName,
                           const connections::Recordset& source, TargetKind target, const TableKeys* keys,
                           ChosenCreateStatement& chosen)
{
    chosen.fields.clear();
    int fieldCount = 0;
    guard.step(firstLabel, [&] { fieldCount = source.FieldCount(); });
    for (int index = 0; index < fieldCount; ++index) {
        guard.step(firstLabel + 2, [] { QCoreApplication::processEvents(); });
        SourceField field;
        const bool named = guard.step(firstLabel + 4, [&] { field.name = source.Fields(index).Name(); });
        const bool typed = guard.step(firstLabel + 6, [&] {
            const connections::Field sourceField = source.Fields(index);
            field.adoTypeNumber = sourceField.Type();
            field.precision = sourceField.Precision();
            field.scale = sourceField.NumericScale();
        });
        if (named && typed)
            chosen.fields.push_back(std::move(field));
    }
    if (keys != nullptr)
        shapeKeyColumns(chosen.fields, *keys);
    guard.step(firstLabel + 54, [&] {
        putInHand(guard, chosen.statement, DefaultCreateStatement(tableName, chosen.fields, target));
        chosen.isDefault = true;
    });
}

} // namespace

ChosenCreateStatement chooseCreateStatement(StepGuard& guard, const CreateStatementLabels& labels,
                                            const std::string& tableName, const connections::Recordset& source,
                                            TargetKind target, bool customise,
                                            CustomisationWindow* window,
                                            const std::string& createdTableName, const TableKeys* keys)
{
    const std::string& created = createdTableName.empty() ? tableName : createdTableName;
    ChosenCreateStatement chosen;
    guard.step(labels.prefix, [&] { putInHand(guard, chosen.statement, statementPrefix(created)); });
    if (guard.test(labels.defaultWhenUnticked, [&] { return !customise; })) {
        buildDefaultStatement(guard, labels.defaultBuildUnticked, created, source, target, keys, chosen);
        return chosen;
    }

    CustomiseHandoff handoff;
    guard.step(labels.cancelledFlag, [&] { handoff.CustomizeCancelled = true; });
    guard.step(labels.targetKind, [&] { handoff.mType = std::string(targetKindText(target)); });
    guard.step(labels.statementPrefix, [&] { handoff.mSQL = statementPrefix(created); });
    guard.step(labels.tableName, [&] { handoff.mTableName = tableName; });
    guard.step(labels.showWindow, [&] {
        if (window == nullptr)
            throw std::runtime_error("The data type customization window is not available.");
        window->showModal(handoff);
    });
    // A window that failed to show left the flag set: the run ends as after "Cancel".
    const CustomiseOutcome outcome = finishCustomisation(handoff, created);
    if (guard.test(labels.cancelledTest, [&] { return outcome.decision == CustomiseDecision::Cancelled; })) {
        chosen.cancelled = true;
        return chosen;
    }
    guard.step(labels.windowStatement, [&] { putInHand(guard, chosen.statement, handoff.mSQL); });
    if (guard.test(labels.prefixTest, [&] { return outcome.decision == CustomiseDecision::UseDefaultStatement; }))
        buildDefaultStatement(guard, labels.defaultBuildAfterWindow, created, source, target, keys, chosen);
    return chosen;
}

} // namespace quintabel
