#pragma once
// The sample Paradox database that ships beside Quintabel: a small garden's seed catalogue,
// its beds and its harvest, made up for this project. Between them the tables hold every
// common field type (Alpha, Short, Long, Number, Money, Date, Time, Timestamp, Logical and
// Memo, one memo longer than the part kept in the record), blank values, and text beyond ASCII
// that code page 1252 holds.

#include "paradoxfile/field.h"
#include "paradoxfile/value.h"

#include <string>
#include <vector>

namespace quintabel::samples {

struct SampleTable {
    std::string name; // the base name of its files: upper case, at most 8 characters
    std::vector<paradox::Field> fields;
    std::vector<std::vector<paradox::Value>> records;
};

inline constexpr int kSampleCodePage = 1252;

std::vector<SampleTable> sampleTables();

} // namespace quintabel::samples
