#pragma once
// A thin owner of an SQLite connection and its prepared statements, turning SQLite's result
// codes into DatabaseError with SQLite's message.

#include "drivers/value.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace quintabel::db::scratch {

class SqliteStatement {
public:
    SqliteStatement(sqlite3* database, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Binds Null, text or bytes (what the scratch tables hold), or a whole number.
    void bind(int position, const Value& value);
    // The same without a copy of a text or bytes: `value` must stay as it is until reset().
    void bindUntilReset(int position, const Value& value);
    void bindText(int position, std::string_view text);
    void bindInteger(int position, std::int64_t number);

    // Answers true while a row is available.
    bool step();
    void reset();

    int columnCount() const;
    // Null, text (std::string) or bytes (Bytes): numbers never reach a scratch table.
    Value column(int index) const;
    // The same into `value`, reusing the room a text already there holds.
    void readColumn(int index, Value& value) const;
    std::string columnText(int index) const;

private:
    sqlite3* database_;
    sqlite3_stmt* statement_ = nullptr;
};

class SqliteDatabase {
public:
    // Opens an existing file; SQLite must not create one.
    SqliteDatabase(const std::filesystem::path& file, bool readOnly);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    void run(std::string_view sql);
    SqliteStatement prepare(std::string_view sql) { return SqliteStatement(database_, sql); }
    // A statement to keep and run again; it must go before the database does.
    std::unique_ptr<SqliteStatement> prepareToKeep(std::string_view sql)
    {
        return std::make_unique<SqliteStatement>(database_, sql);
    }

    // True between BEGIN and COMMIT. SQLite ends a transaction by itself on some failures
    // (a full disk, no memory), which this shows.
    bool inTransaction() const;
    // The rows the last INSERT, UPDATE or DELETE changed.
    int changes() const;
    // Counts every change of the file's tables, by any connection.
    std::int64_t schemaVersion();
    // Changes whenever another connection commits a change to the file; this connection's
    // own commits leave it as it was.
    std::int64_t dataVersion();

private:
    sqlite3* database_ = nullptr;
};

// `name` between double quotes, with inner double quotes doubled: any text becomes one
// SQLite name.
std::string quoteSqliteName(std::string_view name);

} // namespace quintabel::db::scratch
