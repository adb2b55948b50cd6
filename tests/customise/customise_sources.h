#pragma once
// Source tables for the customisation tests: a MariaDB database of the test's own, and real
// Paradox tables copied into a folder of the test's own.

#include "mariadb_test_database.h"
#include "temporary_folder.h"

#include <string>

namespace quintabel::testing {

// Copies the files of one table of the test data ("rparadox/empty": its .db and .mb,
// in whatever letter case) into `folder`, keeping their names.
void copyParadoxTable(const std::string& tableInTestData, const TemporaryFolder& folder);

} // namespace quintabel::testing
