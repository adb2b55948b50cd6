#pragma once
// "Send Table/s To MySQL": copies every selected Paradox table, with all its rows, into the
// MySQL database under its listed name, one INSERT statement per row, and adds the name to
// the MySQL list.
//
// Where this keeps the user's data safer than the plain road:
// - An existing MySQL table that the user agreed to overwrite is renamed aside instead of
//   dropped, and dropped only once its replacement holds every row; when the CREATE TABLE
//   fails or a row could not be copied, the new table goes and the old one takes its name
//   back (and the report says so). When it cannot be renamed aside, the table is skipped: its
//   rows never go into the old table.
// - With the default column types, a value a MySQL column would round silently fails its row
//   with a report naming the column.
// - When the window closes during the run, the table cut short is dropped again (and an old
//   table set aside for it is put back).

#include "transfer/transfer_environment.h"

namespace quintabel {

class StepGuard;

// The body of Form2.PushButton4_Click, run under its step guard.
void SendTablesToMySql(StepGuard& guard, const TransferWindow& window, const TransferEnvironment& environment);

} // namespace quintabel
