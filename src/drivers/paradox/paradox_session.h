#pragma once
// The "Microsoft Paradox Driver (*.db )" of the connection strings: a folder of Paradox
// tables seen as a database, over the Paradox table files library. Table names resolve
// without regard to case; a name that is no table of the folder itself is looked for in the
// folders below it, as the Paradox table list finds tables (paradoxfile/table_search.h).

#include "drivers/driver.h"

#include <memory>

namespace quintabel::db::paradox {

inline constexpr const char* driverName = "Microsoft Paradox Driver (*.db )";

// The folder is Dbq (or DefaultDir when Dbq is absent); when both are given they must agree.
std::unique_ptr<Session> openSession(const ConnectionAttributes& attributes,
                                     const SessionOptions& options);

} // namespace quintabel::db::paradox
