#pragma once
// The texts the transfers show besides their questions and the error report's own.

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quintabel {

inline constexpr char kSelectTableToSend[] = "Please select a table to send.";

struct RowCopyOutcome;
struct RowsCutShort;

// Why a new table, created from an opened source, does not hold its whole source table, in
// words ("3 of its 40 rows could not be copied"); nothing when it does: the row count was
// known and every row copied.
std::optional<QString> incompleteTableReason(const RowCopyOutcome& rows);

// Why an existing table that the user agreed to overwrite was kept.
QString notOverwrittenMessage(const QString& tableName, const QString& reason);

// The message of a table that a failure the user can put right (a full disk) kept from being
// written: the failure (which says what to do), then that the table was not written and, when
// one of its name was there, that the existing table is untouched.
QString tableNotWrittenMessage(const QString& failure, const QString& tableName, bool existingKept);

// The one report of a table whose rows a failure cut short: the failure, then what became of
// the table. `overwrite`: an existing table was to be replaced, and is unchanged. `leftover`:
// the unfinished copy that could not be deleted now, and waits for the next run to delete it.
// A failure that reaches the whole run says that the tables after it were not sent either.
QString cutShortMessage(const QString& tableName, const RowsCutShort& cut, bool overwrite,
                        const std::optional<QString>& leftover);

class StepGuard;

// Shows the one report of a table whose rows a failure cut short (`text`, its cutShortMessage):
// the error report, or a plain message when the failure is the user's to put right.
void reportCutShort(StepGuard& guard, const RowsCutShort& cut, const QString& text);

// A Paradox table whose header promises another number of records than its data blocks hold
// (the blocks were read): says so, with both numbers, and that the file may be damaged.
// A table that arrived whole without some of the keys it had in its source, `problem` saying
// why (the server's refusal, or why the target cannot hold such a key).
QString keysNotKeptMessage(const QString& tableName, const QString& problem);

QString rowCountDiffersMessage(const QString& tableName, std::int64_t promised, std::int64_t read);

// Paradox has no zero date, so MySQL's zero dates ("0000-00-00") arrive blank. Says so once for
// the table, naming each column that had them and in how many rows; nothing when none had.
// `columnNames` and `counts` go by source column (counts may be shorter: the rest are zero).
std::optional<QString> zeroDatesBlankedMessage(const QString& sourceName, const QString& targetName,
                                               const std::vector<std::string>& columnNames,
                                               const std::vector<std::int64_t>& counts);

} // namespace quintabel
