#pragma once
// How far a table's copy has come, as every front end shows it: the share done and the text
// "ORDERS: 1,234 of 5,000 rows (24%)".

#include <QString>

#include <cstdint>

namespace quintabel {

// A count with its thousands grouped by commas, whatever the user's locale: "-1,234,567".
QString groupedNumber(std::int64_t number);

// The share of `rowCount` rows done at row `row`, in whole percent rounded down (100 only at
// the last row).
int rowProgressPercent(std::int64_t row, std::int64_t rowCount);

// "ORDERS: 1,234 of 5,000 rows (24%)", thousands grouped with commas whatever the user's
// locale, as every other text of the program is English. The table name is shown exactly,
// "%1" and the like included.
QString rowProgressText(const QString& tableName, std::int64_t row, std::int64_t rowCount);

} // namespace quintabel
