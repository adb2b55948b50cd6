#pragma once
// The labels the error report shows for the steps both transfers take (transfer_run.h), one
// table per transfer, side by side: the two take these steps in the same order, each under
// numbers of its own. The steps only one transfer takes carry their labels where they are
// taken.

#include "transfer/create_statement_choice.h"
#include "transfer/row_copy.h"

namespace quintabel {

struct TransferLabels {
    int nothingSelected;    // the test for a source list without a current item,
    int selectTableMessage; // and the message that asks for one
    int showBusy;
    // The items are visited from the bottom of the source list up; one not selected is passed
    // over. The loop itself and its move to the next item have labels of their own, but no
    // step that could fail.
    int itemSelected;
    int itemName;
    int sourceCursor; // the source record set's cursor location
    int sourceOpen;
    // The customisation window was cancelled: the connections close, the target's first.
    int cancelledCloseTarget;
    int cancelledCloseSource;
    int cancelledPointer;
    // The end of a table's rows.
    int rowsPointer;
    int rowsProgressReset;
    int rowsSourceEnd;
    CreateStatementLabels create;
    RowCopyLabels rows;
};

// "Send Table/s To Paradox" (mysql_to_paradox.h).
inline constexpr TransferLabels kToParadoxLabels{
    .nothingSelected = 110,
    .selectTableMessage = 390,
    .showBusy = 112,
    .itemSelected = 136, // the loop [134], the next item [374]
    .itemName = 138,
    .sourceCursor = 160,
    .sourceOpen = 162,
    .cancelledCloseTarget = 182,
    .cancelledCloseSource = 184,
    .cancelledPointer = 186,
    .rowsPointer = 358,
    .rowsProgressReset = 360,
    .rowsSourceEnd = 362,
    .create = {
        .prefix = 164,
        .defaultWhenUnticked = 166,
        .defaultBuildUnticked = 248,
        .cancelledFlag = 168,
        .targetKind = 172,
        .statementPrefix = 174,
        .tableName = 176,
        .showWindow = 178,
        .cancelledTest = 180,
        .windowStatement = 188,
        .prefixTest = 190,
        .defaultBuildAfterWindow = 192,
    },
    .rows = {
        .rowCount = 322,
        .rowLoop = 324,
        .repaint = 326,
        .progress = 328,
        .statementStart = 330,
        .fieldLoop = 332,
        .fieldRepaint = 334,
        .valueText = 336,
        .execute = 354,
        .moveNext = 356,
    },
};

// "Send Table/s To MySQL" (paradox_to_mysql.h). Its source's cursor location and open share a label.
inline constexpr TransferLabels kToMySqlLabels{
    .nothingSelected = 108,
    .selectTableMessage = 364,
    .showBusy = 110,
    .itemSelected = 126, // the loop [124], the next item [350]
    .itemName = 128,
    .sourceCursor = 138,
    .sourceOpen = 138,
    .cancelledCloseTarget = 156,
    .cancelledCloseSource = 158,
    .cancelledPointer = 160,
    .rowsPointer = 342,
    .rowsProgressReset = 344,
    .rowsSourceEnd = 346,
    .create = {
        .prefix = 140,
        .defaultWhenUnticked = 142,
        .defaultBuildUnticked = 222,
        .cancelledFlag = 144,
        .targetKind = 146,
        .statementPrefix = 148,
        .tableName = 150,
        .showWindow = 152,
        .cancelledTest = 154,
        .windowStatement = 162,
        .prefixTest = 164,
        .defaultBuildAfterWindow = 166,
    },
    .rows = {
        .rowCount = 294,
        .rowLoop = 296,
        .repaint = 298,
        .progress = 300,
        .statementStart = 302,
        .fieldLoop = 304,
        .fieldRepaint = 306,
        .valueText = 308,
        .execute = 338,
        .moveNext = 340,
    },
};

} // namespace quintabel
