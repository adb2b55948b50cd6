// The row statements of a Paradox target, run by SQLite as the scratch database runs them.

#include "literal_roundtrip.h"
#include "transfer/default_column_types.h"
#include "transfer/row_insert_statement.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

using namespace quintabel;
using namespace quintabel::transfer;

namespace {

struct CloseDatabase {
    void operator()(sqlite3* database) const { sqlite3_close(database); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

Database openScratch()
{
    sqlite3* database = nullptr;
    EXPECT_EQ(sqlite3_open(":memory:", &database), SQLITE_OK);
    return Database(database);
}

void execute(sqlite3* database, const std::string& statement)
{
    char* message = nullptr;
    const int result = sqlite3_exec(database, statement.c_str(), nullptr, nullptr, &message);
    EXPECT_EQ(result, SQLITE_OK) << statement << ": " << (message ? message : "");
    sqlite3_free(message);
}

// The value of the only row's column, as stored: nothing for NULL.
std::optional<std::string> readBack(sqlite3* database, const std::string& query)
{
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(database, query.c_str(), -1, &statement, nullptr), SQLITE_OK);
    std::optional<std::string> value;
    if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_type(statement, 0) != SQLITE_NULL) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, 0));
        value = std::string(bytes, bytes + sqlite3_column_bytes(statement, 0));
    }
    sqlite3_finalize(statement);
    return value;
}

TEST(ScratchLiterals, EveryTextAndByteArrivesAsSent)
{
    Database database = openScratch();
    // The column types a MySQL text and long binary field get in the scratch database.
    const std::vector<SourceField> fields{{"text", 201}, {"bytes", 205}};
    execute(database.get(), DefaultCreateStatement("odd`name", fields, TargetKind::Paradox));
    const auto check = [&](const RoundTripCase& row, bool isBytes) {
        const std::vector<db::Value> values = isBytes ? std::vector<db::Value>{db::Null{}, row.sent}
                                                      : std::vector<db::Value>{row.sent, db::Null{}};
        execute(database.get(), "DELETE FROM `odd``name`");
        execute(database.get(), RowInsertStatement("odd`name", values, TargetKind::Paradox));
        EXPECT_EQ(readBack(database.get(), isBytes ? "SELECT `bytes` FROM [odd`name]" : "SELECT `text` FROM [odd`name]"),
                  row.readBack)
            << db::toText(row.sent);
    };
    for (const RoundTripCase& row : textRoundTripCases())
        check(row, false);
    for (const RoundTripCase& row : byteRoundTripCases())
        check(row, true);
}

} // namespace
