#pragma once
// The texts the transfers show besides their questions and the error report's own.

#include <QString>

#include <cstdint>

namespace quintabel {

inline constexpr char kSelectTableToSend[] = "Please select a table to send.";

// Why an existing table that the user agreed to overwrite was kept: the new one would not
// have held every row. `created` is false when its CREATE TABLE statement failed.
QString NotOverwrittenMessage(const QString& tableName, bool created, std::int64_t rowsFailed,
                              std::int64_t rowCount);

} // namespace quintabel
