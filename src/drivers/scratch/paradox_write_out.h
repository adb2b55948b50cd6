#pragma once
// The scratch database's write-out: "select * into [Paradox 5.x;Database=FOLDER].[NAME.db]
// from [TABLE]" writes the scratch table as a Paradox 5.x table NAME in FOLDER, every column
// in the field that holds all its values exactly (see paradox_column_choice.h). It never
// replaces a table that is there already, and it writes nothing at all rather than change a
// value: the failure names the table, the column and the row.
//
// With "KeyFields=N;" the table is written keyed on its first N columns, its records in key
// order with their primary index (.PX). A key that cannot be kept (fields or a code page a key
// cannot have, two rows with the same key) fails the write-out with kKeyNotKept and a message
// that says why, having written nothing: the caller decides whether to write the table
// without its key.

#include "drivers/scratch/scratch_statements.h"
#include "drivers/scratch/scratch_tables.h"

namespace quintabel::db::scratch {

// Windows ANSI, the code page Jet writes Paradox tables in on Western systems: the write-out's
// unless it names another.
inline constexpr int kDefaultParadoxCodePage = 1252;

// The DatabaseError number of a write-out whose key could not be kept.
inline constexpr int kKeyNotKept = -1001;

void writeOutToParadox(ScratchTables& tables, const WriteOutToParadox& writeOut);

} // namespace quintabel::db::scratch
