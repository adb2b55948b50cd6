#pragma once
// One text form for a value, whichever reader produced it, so that what a table held before a
// transfer and what the other side holds after it can be compared cell by cell: numbers in
// plain decimal without trailing zeros, dates "yyyy-mm-dd hh:nn:ss[.fff]", bytes "0x" + hex.
// A blank cell (NULL) is no value.

#include "drivers/value.h"
#include "paradoxfile/value.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel::testing {

using Cell = std::optional<std::string>;

// "-0012.3400" -> "-12.34", "1e3" -> "1000", "-0" -> "0". The text unchanged if it is no number.
std::string canonicalDecimal(std::string_view text);
// The shortest text that reads back as `number`, in plain decimal.
std::string canonicalNumber(double number);
std::string canonicalBytes(std::string_view bytes);
std::string canonicalDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);

// As our MySQL driver reads a value back.
Cell canonicalOfMySql(const db::Value& value);

// A Paradox table read back with pxlib: field names and pxlib type codes, and each record's
// cells. A cell pxlib shows with one of its known renderings of a blank (a blank integer as
// INT_MIN, a blank number as 0, ...) counts as blank only where our own reader also sees a
// blank, so no real value is taken for a blank.
struct ParadoxReadBack {
    std::vector<std::string> fieldNames;
    std::vector<char> fieldTypes;
    std::vector<std::vector<Cell>> records;
    std::string problem; // empty when pxlib read the table
};
ParadoxReadBack readBackWithPxlib(const std::filesystem::path& dbFile);

} // namespace quintabel::testing
