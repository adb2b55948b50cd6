#pragma once
// The scratch database's write-out: "select * into [Paradox 5.x;Database=FOLDER].[NAME.db]
// from [TABLE]" writes the scratch table as a Paradox 5.x table NAME in FOLDER, every column
// in the field that holds all its values exactly (see paradox_column_choice.h). It never
// replaces a table that is there already, and it writes nothing at all rather than change a
// value: the failure names the table, the column and the row.

#include "drivers/scratch/scratch_statements.h"
#include "drivers/scratch/scratch_tables.h"

namespace quintabel::db::scratch {

// Windows ANSI, the code page Jet writes Paradox tables in on Western systems: the write-out's
// unless it names another.
inline constexpr int kDefaultParadoxCodePage = 1252;

void writeOutToParadox(ScratchTables& tables, const WriteOutToParadox& writeOut);

} // namespace quintabel::db::scratch
