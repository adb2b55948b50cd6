#include "drivers/scratch/sqlite_database.h"

#include "base/expected_problem.h"
#include "drivers/database_error.h"
#include "drivers/quoted_text.h"

#include <sqlite3.h>

#include <string>

namespace quintabel::db::scratch {

namespace {

[[noreturn]] void fail(sqlite3* database, const std::string& context)
{
    const int code = sqlite3_extended_errcode(database);
    const std::string description = context + sqlite3_errmsg(database);
    // A full disk is no fault of the program, and the user can make room.
    if ((code & 0xff) == SQLITE_FULL) {
        const char* file = sqlite3_db_filename(database, "main");
        throw Expected<DatabaseError>(description + ". The disk that holds the scratch database ('"
                                          + (file != nullptr ? file : "") + "') is full: make room on it, then try again.",
                                      code);
    }
    throw DatabaseError(description, code);
}

} // namespace

SqliteStatement::SqliteStatement(sqlite3* database, std::string_view sql) : database_(database)
{
    const char* rest = nullptr;
    if (sqlite3_prepare_v2(database_, sql.data(), static_cast<int>(sql.size()), &statement_, &rest)
        != SQLITE_OK)
        fail(database_, "The scratch database cannot prepare a statement: ");
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(statement_);
}

namespace {

int bindValue(sqlite3_stmt* statement, int position, const Value& value, sqlite3_destructor_type keeping)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return sqlite3_bind_text64(statement, position, text->data(), text->size(), keeping, SQLITE_UTF8);
    if (const auto* bytes = std::get_if<Bytes>(&value)) {
        // A zero-length blob still binds as a blob, not as NULL.
        return bytes->empty() ? sqlite3_bind_zeroblob(statement, position, 0)
                              : sqlite3_bind_blob64(statement, position, bytes->data(), bytes->size(), keeping);
    }
    if (isNull(value))
        return sqlite3_bind_null(statement, position);
    throw DatabaseError("The scratch database keeps only text, bytes and NULL.");
}

} // namespace

void SqliteStatement::bind(int position, const Value& value)
{
    if (bindValue(statement_, position, value, SQLITE_TRANSIENT) != SQLITE_OK)
        fail(database_, "The scratch database cannot take a value: ");
}

void SqliteStatement::bindUntilReset(int position, const Value& value)
{
    if (bindValue(statement_, position, value, SQLITE_STATIC) != SQLITE_OK)
        fail(database_, "The scratch database cannot take a value: ");
}

void SqliteStatement::bindText(int position, std::string_view text)
{
    bind(position, std::string(text));
}

void SqliteStatement::bindInteger(int position, std::int64_t number)
{
    if (sqlite3_bind_int64(statement_, position, number) != SQLITE_OK)
        fail(database_, "The scratch database cannot take a value: ");
}

bool SqliteStatement::step()
{
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW)
        return true;
    if (result == SQLITE_DONE)
        return false;
    fail(database_, "The scratch database failed: ");
}

void SqliteStatement::reset()
{
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

int SqliteStatement::columnCount() const
{
    return sqlite3_column_count(statement_);
}

Value SqliteStatement::column(int index) const
{
    switch (sqlite3_column_type(statement_, index)) {
    case SQLITE_NULL:
        return Null{};
    case SQLITE_BLOB: {
        const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, index));
        const int size = sqlite3_column_bytes(statement_, index);
        return data == nullptr ? Bytes{} : Bytes(data, data + size);
    }
    default:
        // Text, and (should a number ever be stored) its text as SQLite prints it.
        return columnText(index);
    }
}

void SqliteStatement::readColumn(int index, Value& value) const
{
    if (sqlite3_column_type(statement_, index) != SQLITE_TEXT) {
        value = column(index);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, index));
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_, index));
    if (auto* kept = std::get_if<std::string>(&value))
        kept->assign(text == nullptr ? "" : text, text == nullptr ? 0 : size);
    else
        value = std::string(text == nullptr ? "" : text, text == nullptr ? 0 : size);
}

std::string SqliteStatement::columnText(int index) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, index));
    const int size = sqlite3_column_bytes(statement_, index);
    return text == nullptr ? std::string() : std::string(text, static_cast<std::size_t>(size));
}

SqliteDatabase::SqliteDatabase(const std::filesystem::path& file, bool readOnly)
{
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE)
        | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(file.c_str(), &database_, flags, nullptr) != SQLITE_OK) {
        const std::string message = database_ ? sqlite3_errmsg(database_) : "out of memory";
        const int code = database_ ? sqlite3_extended_errcode(database_) : SQLITE_NOMEM;
        sqlite3_close(database_);
        throw DatabaseError("Could not open the scratch database '" + file.string()
                            + "': " + message, code);
    }
    sqlite3_extended_result_codes(database_, 1);
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close(database_);
}

void SqliteDatabase::run(std::string_view sql)
{
    SqliteStatement statement(database_, sql);
    while (statement.step()) {
    }
}

int SqliteDatabase::changes() const
{
    return sqlite3_changes(database_);
}

bool SqliteDatabase::inTransaction() const
{
    return sqlite3_get_autocommit(database_) == 0;
}

std::int64_t SqliteDatabase::schemaVersion()
{
    SqliteStatement version(database_, "PRAGMA schema_version");
    if (!version.step())
        throw DatabaseError("The scratch database does not tell its schema version.");
    return std::stoll(version.columnText(0));
}

std::int64_t SqliteDatabase::dataVersion()
{
    SqliteStatement version(database_, "PRAGMA data_version");
    if (!version.step())
        throw DatabaseError("The scratch database does not tell its data version.");
    return std::stoll(version.columnText(0));
}

std::string quoteSqliteName(std::string_view name)
{
    return quotedWithMarks(name, '"', '"');
}

} // namespace quintabel::db::scratch
