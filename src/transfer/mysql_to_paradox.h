#pragma once
// "Send Table/s To Paradox": copies every selected MySQL table, with all its rows, into the
// Paradox folder. Each table goes by way of the scratch database: created there under its
// MySQL name, filled row by row, then written out as a Paradox 5.x table of at most 8
// characters, and dropped from the scratch database again.
//
// Where this keeps the user's data safer than the plain road:
// - An existing Paradox table that the user agreed to overwrite is dropped only once its
//   replacement is complete: the new table is written out into a private folder first, and
//   moved in after the drop. A cancelled customisation, a failed CREATE TABLE, a row that
//   could not be copied or a failed write-out leaves the old table as it was (and says so).
// - A row the Paradox table could not hold exactly (a character outside its code page, a
//   number beyond its widest field) fails alone, reported with its column, before it reaches
//   the scratch table; the write-out would otherwise refuse the whole table.
// - When the window closes during the run (the front end asks to stop), the table in hand is not written out.

#include "transfer/transfer_environment.h"

namespace quintabel {

class StepGuard;

// The body of Form2.PushButton3_Click, run under its step guard.
void sendTablesToParadox(StepGuard& guard, FrontEnd& frontEnd, const TransferEnvironment& environment);

} // namespace quintabel
