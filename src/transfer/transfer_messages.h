#pragma once
// The texts the transfers show besides their questions and the error report's own.

#include <QString>

#include <optional>

namespace quintabel {

inline constexpr char kSelectTableToSend[] = "Please select a table to send.";

struct RowCopyOutcome;

// Why a new table does not hold its whole source table, in words ("its CREATE TABLE
// statement failed"); nothing when it does: the source was read, the table created, its row
// count known and every row copied.
std::optional<QString> IncompleteTableReason(bool sourceOpened, bool created, const RowCopyOutcome& rows);

// Why an existing table that the user agreed to overwrite was kept.
QString NotOverwrittenMessage(const QString& tableName, const QString& reason);

} // namespace quintabel
