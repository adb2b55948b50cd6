#pragma once
// Chooses, for one column of a scratch table, the Paradox 5.x field that holds every one of
// its values exactly, and turns each value into that field's value.
//
// The column's declared type picks where to start; the values decide how far to widen:
//
//   declared in the scratch table        Paradox field                 widened to
//   VARCHAR, CHAR, TEXT,                 Alpha (the longest value,     Memo (longest > 255);
//     UNIQUEIDENTIFIER                     at least 255 for VARCHAR)   Binary (all values bytes)
//   MEMO, NTEXT, LONGTEXT, NOTE          Memo                          Binary (all values bytes)
//   VARCHAR(n), CHAR(n), TEXT(n)         Alpha (at least n)            - (a longer value is refused)
//   TINYINT (0 to 255), SMALLINT         Short                         - (a value beyond is refused)
//   INT                                  Long Integer                  Number, BCD
//   BIGINT, DECIMAL, NUMERIC, FLOAT,     Number                        BCD
//     REAL
//   DECIMAL(p,s), NUMERIC(p,s)           Number                        BCD (a value with more than
//                                                                        s decimals or p - s whole
//                                                                        digits is refused)
//   MONEY                                Money                         - (a value no Money holds
//                                                                        exactly is refused)
//   DATETIME                             Timestamp (Time when every    -
//                                          value is a time of day)
//   BIT                                  Logical                       -
//   BINARY, VARBINARY, OLEOBJECT, IMAGE  Binary                        -
//   BINARY(n), VARBINARY(n)              Binary                        - (more than n bytes refused)
//
// A size, a precision and the types that no default mapping writes (TINYINT, SMALLINT, MONEY)
// come from a person choosing them in the customisation window: their limits hold, and a
// value beyond them is refused rather than given a wider field. The types the default
// mapping writes (VARCHAR, TEXT, INT, DECIMAL, FLOAT, ...) widen instead, so that a default
// transfer keeps every value.
//
// A Number holds a value when the double read from it prints back as the same number; a BCD
// holds up to 32 digits. A value no field of the column's kind can hold (a text in a number
// column, a date with no such day, an empty text, which Paradox cannot tell from a blank) is
// a DatabaseError naming the column and the row.

#include "drivers/exact_number.h"
#include "drivers/scratch/scratch_statements.h"
#include "paradoxfile/field.h"
#include "paradoxfile/value.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace quintabel::db::scratch {

// Gathers what the values of one column need (first pass), then chooses the field.
class ColumnChoice {
public:
    explicit ColumnChoice(const ColumnDefinition& column);

    // `row` is 1-based, for messages. A refused value may have moved the choice part way:
    // a caller that goes on after a refusal goes back to a copy taken before.
    void observe(std::size_t row, const Value& value);
    // The same for a value known to be a text that is not empty.
    void observe(std::size_t row, const std::string& text);
    quintabel::paradox::Field chooseField() const;

private:
    enum class Family { Text, Number, DateTime, Boolean, Bytes };

    void observeText(std::size_t row, const std::string& text);
    void observeNumber(std::size_t row, const std::string& text);
    void observeDateTime(std::size_t row, const std::string& text);
    void observeBoolean(std::size_t row, const std::string& text);
    void requireDeclaredLimits(std::size_t row, const std::string& text, const ExactNumber& number,
                               const std::optional<std::int64_t>& whole) const;
    bool ladderHolds(quintabel::paradox::FieldType type) const;
    [[noreturn]] void refuse(std::size_t row, const std::string& value, const std::string& why) const;

    const ColumnDefinition* column_; // a pointer, so that a choice can be copied over another
    Family family_;
    // Text
    std::size_t longestText_ = 0;
    std::size_t textValues_ = 0;
    std::size_t byteValues_ = 0;
    std::size_t firstTextRow_ = 0;
    std::size_t firstBytesRow_ = 0;
    // Numbers
    bool allFitByte_ = true;
    bool allFitShort_ = true;
    bool allFitLong_ = true;
    bool allFitDouble_ = true;
    int mostIntegerDigits_ = 0;
    int mostFractionDigits_ = 0;
    // Dates
    std::size_t dateValues_ = 0;
    std::size_t timeOnlyValues_ = 0;
    std::size_t firstDateRow_ = 0;
    std::size_t firstTimeOnlyRow_ = 0;
};

// The value for `field` (chosen by ColumnChoice for the same values).
quintabel::paradox::Value toParadoxValue(const quintabel::paradox::Field& field, const Value& value);

} // namespace quintabel::db::scratch
