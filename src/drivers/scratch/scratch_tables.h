#pragma once
// The tables of the scratch database: creating, filling, dropping and reading them, with
// their declared column types kept in the catalogue table.
//
// Rows arrive one INSERT at a time, tens of thousands of them for one table. Committing each
// would cost SQLite a lock, a file check and a page write per row, so the rows of a run of
// INSERTs go in one transaction, committed before anything else is done with the file (and
// when the session ends). Should SQLite give that transaction up after a failure, the rows
// it held are gone: the tables they went to are marked as having lost rows, and are refused
// for the write-out until dropped, rather than written out with rows missing.
//
// The write-out needs to know, before it writes the first record, which Paradox field holds
// every value of each column. A transfer weighs every row on its way in anyway (to refuse a
// row the write-out could not hold, alone); it hands its choice over, and the write-out takes
// it rather than read the whole table an extra time, but only while it is sure the choice
// covers every row the table holds (see handedFields).

#include "drivers/scratch/scratch_statements.h"
#include "drivers/scratch/sqlite_database.h"

#include "drivers/database_error.h"
#include "paradoxfile/field.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace quintabel::db::scratch {

// Two rows of a table have the same key: the rows, counted from 1 in insertion order.
class DuplicateKeyError : public DatabaseError {
public:
    DuplicateKeyError(std::uint64_t firstRow, std::uint64_t secondRow);
    std::uint64_t firstRow() const { return firstRow_; }
    std::uint64_t secondRow() const { return secondRow_; }

private:
    std::uint64_t firstRow_;
    std::uint64_t secondRow_;
};

struct ScratchTable {
    std::string name; // as the scratch file spells it
    std::vector<ColumnDefinition> columns;
};

// Fields chosen for a table, and how many of its rows they were chosen from.
struct FieldsForRows {
    std::vector<quintabel::paradox::Field> fields;
    std::uint64_t rows = 0;
};

class ScratchTables {
public:
    explicit ScratchTables(SqliteDatabase& database) : database_(database) {}
    // Commits the rows still pending; a failure then loses only scratch rows.
    ~ScratchTables();
    ScratchTables(const ScratchTables&) = delete;
    ScratchTables& operator=(const ScratchTables&) = delete;

    void create(const CreateTable& create);
    void insert(const InsertRow& insert);
    void drop(const std::string& table);

    // Found without regard to case; nothing when there is no such table.
    std::optional<ScratchTable> find(const std::string& table);
    // The table with all the rows given to it, or a DatabaseError when there is no such
    // table or some of its rows were lost.
    ScratchTable requireComplete(const std::string& table);

    // Calls `visit` for each row in insertion order, with its 1-based number.
    void forEachRow(const ScratchTable& table,
                    const std::function<void(std::size_t, const std::vector<Value>&)>& visit);

    // Calls `visit` for each row in the order of the bytes `keyOf` gives each (compared as
    // memcmp compares them), with the row's 1-based number in insertion order. The keys are
    // sorted by SQLite in a temporary table on the disk, so memory stays flat however many
    // rows there are. Throws DuplicateKeyError before the first visit when two rows have the
    // same key bytes.
    void forEachRowByKey(const ScratchTable& table,
                         const std::function<std::span<const std::uint8_t>(const std::vector<Value>&)>& keyOf,
                         const std::function<void(std::size_t, const std::vector<Value>&)>& visit);

    // The fields chosen for `table` by whoever filled it, from the values of `rows` rows.
    void expectFields(const std::string& table, FieldsForRows fields);
    // The fields handed over for `table`, when they are sure to cover every row it holds:
    // the table was made through this connection, every row it holds came through it, they
    // were chosen from as many rows, and no other connection has changed the file since.
    // Nothing otherwise (the write-out then reads the rows and chooses itself).
    std::optional<FieldsForRows> handedFields(const ScratchTable& table);

    // Every table with its type: "TABLE", or "SYSTEM TABLE" for the catalogue.
    std::vector<std::pair<std::string, std::string>> list();

private:
    // What a run of INSERTs into one table needs again and again.
    struct InsertTarget {
        std::string key; // the name as insertTargets_ and batchTables_ know it
        ScratchTable table;
        std::unique_ptr<SqliteStatement> statement;
    };

    std::optional<std::string> storedName(const std::string& table);
    std::vector<ColumnDefinition> catalogueColumns(const std::string& storedTable);
    void ensureCatalogue();
    InsertTarget& insertTarget(const std::string& table);
    void beginBatch();
    // Commits the pending rows; throws (and marks their tables) when they could not be kept.
    void commitBatch();
    void noteBatchLost();

    // A table made through this connection: the rows it was given since, and the fields
    // handed over for it.
    struct TableMadeHere {
        std::uint64_t rowsGiven = 0;
        std::optional<FieldsForRows> handed;
    };
    // Another connection's commit may have added rows this one never counted.
    void forgetTablesMadeHereIfChangedElsewhere();

    SqliteDatabase& database_;
    bool batchOpen_ = false;
    std::int64_t cachedSchemaVersion_ = -1;
    // Keyed by the name in ASCII lower case, as SQLite compares names.
    std::map<std::string, InsertTarget> insertTargets_;
    std::set<std::string> batchTables_;
    std::set<std::string> tablesWithLostRows_;
    std::map<std::string, TableMadeHere> madeHere_;
    std::optional<std::int64_t> seenDataVersion_;
};

} // namespace quintabel::db::scratch
