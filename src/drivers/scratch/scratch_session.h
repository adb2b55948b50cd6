#pragma once
// The scratch database ("Microsoft.Jet.OLEDB.4.0" with Data Source = the program folder's
// dbtemp.mdb) on SQLite.
//
// Values are kept exactly as the statements gave them: every scratch column is created
// without a declared type, which gives it SQLite's BLOB affinity, so '1.10' stays the text
// 1.10, a 20-digit number keeps its digits, and bytes stay bytes. (Declaring DECIMAL or INT
// would give NUMERIC or INTEGER affinity, and SQLite would turn '1.10' into 1.1 and a long
// number into a rounded double.) The column types as written in CREATE TABLE are kept in a
// catalogue table of the scratch file, MSysQuintabelColumns, which the tables schema lists
// as a system table, and from which the write-out reads them.

#include "drivers/driver.h"

#include <memory>

namespace quintabel::db::scratch {

inline constexpr const char* providerName = "Microsoft.Jet.OLEDB.4.0";
inline constexpr const char* catalogueTable = "MSysQuintabelColumns";

// The file named by "Data Source" must exist ("Could not find file '...'." otherwise): the
// program never creates it. A damaged file is made anew (scratch_file_soundness.h), which
// the session's openingNotice() then tells.
std::unique_ptr<Session> openSession(const ConnectionAttributes& attributes,
                                     const SessionOptions& options);

} // namespace quintabel::db::scratch
