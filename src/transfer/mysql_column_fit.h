#pragma once
// Whether a column of a MySQL target keeps a value exactly.
//
// Strict mode does not guard every case: MariaDB stores '3.5' in an INT column as 4 and
// '3.14159265' in a FLOAT column as 3.14159 without an error or even a warning, keeps only a
// note when a DECIMAL column rounds a fraction away or a DATE column drops a time of day,
// drops the fraction of a second a DATETIME column has no room for without a word, strips
// the trailing blanks of a CHAR value and pads a BINARY value with zero bytes. These values
// are caught here, before the row is sent, so that the row fails with a report instead of
// changing silently. What the server itself refuses in strict mode (a number out of an INT's
// range, a text longer than its column, bytes that are no UTF-8 in a TEXT column) is left to
// the server's own message.

#include "drivers/value.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quintabel {

// What a column does to the values it is given, as far as exactness goes.
struct MySqlColumnShape {
    enum class Kind {
        KeepsWhatItTakes, // text, blobs, and whatever the server refuses rather than changes
        WholeNumber,      // the integer types
        Decimal,          // DECIMAL(p, s): `scale` fraction digits
        Float,            // single precision
        Double,           // double precision
        Year,             // YEAR: four-digit years only
        Date,             // no time of day
        DateTime,         // DATETIME and TIMESTAMP: `scale` fraction digits of a second
        Time,             // TIME: no date, `scale` fraction digits of a second
        FixedChar,        // CHAR(n): trailing blanks are not kept
        FixedBinary,      // BINARY(n): shorter values are padded to `length` bytes
    };
    Kind kind = Kind::KeepsWhatItTakes;
    int scale = 0;
    std::size_t length = 0;
    std::string typeText; // as messages name it: "INT", "decimal(10,2)"
};

// The shape of a column created with the default MySQL type `keyword` ("TEXT", "LONGTEXT",
// "DECIMAL", "INT", "LONGBLOB", "FLOAT" or "DOUBLE", as DefaultColumnType gives them, or
// "DECIMAL(p,s)" as defaultColumnDefinition gives it). DECIMAL alone is DECIMAL(10,0).
MySqlColumnShape defaultColumnShape(std::string_view keyword);

// The shape of a column as information_schema.COLUMNS describes it: DATA_TYPE ("decimal"),
// COLUMN_TYPE ("decimal(10,2) unsigned"), NUMERIC_SCALE, DATETIME_PRECISION and
// CHARACTER_OCTET_LENGTH (the last three 0 where the column has none).
MySqlColumnShape createdColumnShape(std::string_view dataType, std::string_view columnType, int numericScale,
                                    int datetimePrecision, std::size_t octetLength);

// Nothing when a column of `shape` keeps `value` exactly as RowInsertStatement sends it;
// otherwise a message naming the column `columnName`, the value and what the column would
// do to it. NULL, and anything sent as NULL, fits every column.
//
// - whole numbers keep no fraction, and no number written with an exponent;
// - DECIMAL(p, s) keeps at most s fraction digits (trailing zeros aside), and no exponent;
// - FLOAT keeps at most 6 significant decimal digits (a float's guaranteed decimal
//   precision) within a float's normal range, or zero; DOUBLE keeps a number whose nearest
//   double reads back as the same number;
// - YEAR keeps a whole number written with four digits (it reads "99" as 1999 and "1999.5"
//   as 2000);
// - DATE keeps no time of day but midnight; TIME keeps no date but 1899-12-30 (the day a time
//   of day is sent with); DATETIME, TIMESTAMP and TIME keep as many fraction digits of a
//   second as their precision;
// - CHAR(n) keeps no trailing blank; BINARY(n) keeps only values of exactly n bytes.
std::optional<std::string> mysqlColumnMisfit(const MySqlColumnShape& shape, std::string_view columnName,
                                             const db::Value& value);

} // namespace quintabel
