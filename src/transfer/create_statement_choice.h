#pragma once
// How a transfer comes by the CREATE TABLE statement of one table: the default mapping of the
// source fields, or the data type customisation window when the direction's box is ticked.
// Every piece of the way is a labelled step; the statement in hand follows each change.

#include "transfer/customise_handoff.h"
#include "transfer/default_column_types.h"
#include "transfer/target_kind.h"

#include <string>
#include <vector>

namespace quintabel {

class StepGuard;
struct TableKeys;

namespace connections {
class Recordset;
}

// The labels of one direction's steps. A default statement's building takes five labels from
// its first: the field loop bound, then per field the repaint (+2), the name (+4) and the
// type (+6), and the finished statement (+54).
struct CreateStatementLabels {
    int prefix;
    int defaultWhenUnticked; // the box test; its building starts at defaultBuildUnticked
    int defaultBuildUnticked;
    int cancelledFlag;
    int targetKind;
    int statementPrefix;
    int tableName;
    int showWindow;
    int cancelledTest;
    int windowStatement;
    int prefixTest; // the window handed back the prefix; its building starts at defaultBuildAfterWindow
    int defaultBuildAfterWindow;
};

struct ChosenCreateStatement {
    bool cancelled = false;           // the window was closed without "OK": end the whole run
    bool isDefault = false;           // built by the default mapping (its column types known)
    std::string statement;            // the statement in hand when the choice was made
    std::vector<SourceField> fields; // the source fields, read for the default mapping
};

// Chooses the CREATE TABLE statement for `tableName` from the open source record set.
// `window` may be null: a ticked box then ends the run as a cancelled window does.
// The statement creates `createdTableName` when one is given (a target built under a
// temporary name): the statement prefix, and so the head the window builds on, names it,
// while the window still loads the fields of `tableName`. With `keys`, the default mapping
// gives the key columns the shapes their keys need (table_keys.h: shapeKeyColumns); the key
// clauses themselves are the caller's to add.
ChosenCreateStatement chooseCreateStatement(StepGuard& guard, const CreateStatementLabels& labels,
                                            const std::string& tableName, const connections::Recordset& source,
                                            TargetKind target, bool customise,
                                            CustomisationWindow* window,
                                            const std::string& createdTableName = {},
                                            const TableKeys* keys = nullptr);

} // namespace quintabel
