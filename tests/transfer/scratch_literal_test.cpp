// The row statements of a Paradox target, run by SQLite as the scratch database runs them.

#include "literal_roundtrip.h"
#include "transfer/default_column_types.h"
#include "transfer/row_insert_statement.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace quintabel;
using namespace quintabel;

namespace {

void execute(sqlite3* database, const std::string& statement)
{
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(database, statement.c_str(), nullptr, nullptr, &message), SQLITE_OK)
        << statement << ": " << (message ? message : "");
    sqlite3_free(message);
}

std::optional<std::string> storedValue(sqlite3* database)
{
    sqlite3_stmt* query = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(database, "SELECT `c` FROM [odd`name]", -1, &query, nullptr), SQLITE_OK);
    std::optional<std::string> value;
    if (sqlite3_step(query) == SQLITE_ROW && sqlite3_column_type(query, 0) != SQLITE_NULL) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(query, 0));
        value = std::string(bytes, bytes + sqlite3_column_bytes(query, 0));
    }
    sqlite3_finalize(query);
    return value;
}

TEST(ScratchLiterals, EveryTextAndByteArrivesAsSent)
{
    sqlite3* database = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &database), SQLITE_OK);
    // A MySQL long text column: TEXT in the scratch database, whose affinity keeps text as it is.
    const std::vector<SourceField> fields{{"c", 201}};
    execute(database, DefaultCreateStatement("odd`name", fields, TargetKind::Paradox));
    for (const RoundTripCase& row : roundTripCases()) {
        execute(database, "DELETE FROM `odd``name`");
        execute(database, RowInsertStatement("odd`name", std::vector<db::Value>{row.sent}, TargetKind::Paradox));
        EXPECT_EQ(storedValue(database), row.stored) << db::toText(row.sent);
    }
    sqlite3_close(database);
}

} // namespace
