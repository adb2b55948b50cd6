#pragma once
// "Send Table/s To MySQL": copies every selected Paradox table, with all its rows, into the
// MySQL database under its listed name, and adds the name to the MySQL list. The rows go in
// multi-row INSERT statements inside one transaction per table (row_copy.h), read from the
// Paradox table as they are sent.
//
// Where this keeps the user's data safer than the plain road:
// - Each table is built under a temporary name (`quintabel-new-NAME`, marked in its COMMENT)
//   and takes its name in one RENAME TABLE only when complete: a kill leaves under the name
//   the old table or the new one whole, never half a table, and the next run recovers what
//   was left (mysql_swap.h, mysql_swap_recovery.h).
// - An existing MySQL table that the user agreed to overwrite stays untouched under its name
//   unless its replacement holds every row: then the swap moves it aside in the same
//   statement, and it is dropped. Otherwise the new copy goes, and the report says why the
//   table was not overwritten.
// - With the default column types, a value a MySQL column would round silently fails its row
//   with a report naming the column.
// - A table's rows arrive in one transaction: a kill or a lost server during the rows leaves
//   an empty marked copy for the recovery, never a half-filled one.
// - When the window closes during the run (the front end asks to stop), the copy cut short is dropped.

#include "transfer/transfer_environment.h"

namespace quintabel {

class StepGuard;

// The body of Form2.PushButton4_Click, run under its step guard.
void sendTablesToMySql(StepGuard& guard, FrontEnd& frontEnd, const TransferEnvironment& environment);

} // namespace quintabel
