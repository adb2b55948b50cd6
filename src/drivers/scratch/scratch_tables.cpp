#include "drivers/scratch/scratch_tables.h"

#include "base/kill_points.h"
#include "drivers/connection_attributes.h"
#include "drivers/database_error.h"
#include "drivers/read_ahead_rows.h"
#include "drivers/scratch/scratch_session.h"

#include <algorithm>

namespace quintabel::db::scratch {

namespace {

// SQLite compares names without regard to ASCII case only.
std::string nameKey(std::string_view table)
{
    std::string key(table);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

bool isReservedName(const std::string& table)
{
    return equalsIgnoringCase(table, catalogueTable)
        || (table.size() >= 7 && equalsIgnoringCase(table.substr(0, 7), "sqlite_"));
}

// A name for the row's own number that none of the table's columns takes: a column may be
// called "rowid" itself, and would then answer in its place.
std::string rowidAlias(const ScratchTable& table)
{
    for (const char* alias : {"rowid", "_rowid_", "oid"}) {
        const bool taken = std::any_of(table.columns.begin(), table.columns.end(),
                                       [&](const ColumnDefinition& column) { return equalsIgnoringCase(column.name, alias); });
        if (!taken)
            return alias;
    }
    throw DatabaseError("The scratch table '" + table.name
                        + "' has columns called rowid, _rowid_ and oid, which hide the order of its rows.");
}

// A table's rows in the order they were given. The texts of a row's values are overwritten in
// place, so a row vector used again needs no new room for them.
class StoredRows : public RowSource {
public:
    StoredRows(SqliteDatabase& database, const ScratchTable& table)
        : statement_(database.prepare("SELECT * FROM " + quoteSqliteName(table.name) + " ORDER BY " + rowidAlias(table))),
          fields_(static_cast<std::size_t>(statement_.columnCount()))
    {
    }

    const std::vector<FieldInfo>& fields() const override { return fields_; }

    bool fetch(std::vector<Value>& row) override
    {
        if (!statement_.step())
            return false;
        row.resize(fields_.size());
        for (std::size_t i = 0; i < row.size(); ++i)
            statement_.readColumn(static_cast<int>(i), row[i]);
        return true;
    }

private:
    SqliteStatement statement_;
    std::vector<FieldInfo> fields_;
};

} // namespace

ScratchTables::~ScratchTables()
{
    try {
        commitBatch();
    } catch (const DatabaseError&) {
        // The session is ending; its scratch tables are of no further use.
    }
}

void ScratchTables::beginBatch()
{
    database_.run("BEGIN IMMEDIATE");
    batchOpen_ = true;
    // Another connection may have changed the tables since the last batch; none can while
    // this one holds the write lock.
    const std::int64_t version = database_.schemaVersion();
    if (version != cachedSchemaVersion_) {
        insertTargets_.clear();
        cachedSchemaVersion_ = version;
    }
}

void ScratchTables::noteBatchLost()
{
    for (const std::string& key : batchTables_)
        madeHere_.erase(key);
    tablesWithLostRows_.insert(batchTables_.begin(), batchTables_.end());
    batchTables_.clear();
    batchOpen_ = false;
}

void ScratchTables::commitBatch()
{
    if (!batchOpen_)
        return;
    try {
        database_.run("COMMIT");
    } catch (const DatabaseError& error) {
        if (database_.inTransaction()) {
            try {
                database_.run("ROLLBACK");
            } catch (const DatabaseError&) {
            }
        }
        noteBatchLost();
        throw DatabaseError("The rows just added to the scratch database were lost: "
                            + error.description());
    }
    batchTables_.clear();
    batchOpen_ = false;
    killPoint("a batch of scratch rows committed");
}

void ScratchTables::ensureCatalogue()
{
    database_.run(std::string("CREATE TABLE IF NOT EXISTS ") + quoteSqliteName(catalogueTable)
                  + " (table_name TEXT NOT NULL, position INTEGER NOT NULL, "
                    "column_name TEXT NOT NULL, type_text TEXT NOT NULL)");
}

std::optional<std::string> ScratchTables::storedName(const std::string& table)
{
    auto lookup = database_.prepare(
        "SELECT name FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    lookup.bindText(1, table);
    if (!lookup.step())
        return std::nullopt;
    return lookup.columnText(0);
}

std::vector<ColumnDefinition> ScratchTables::catalogueColumns(const std::string& storedTable)
{
    auto columns = database_.prepare(std::string("SELECT column_name, type_text FROM ")
                                     + quoteSqliteName(catalogueTable)
                                     + " WHERE table_name = ?1 ORDER BY position");
    columns.bindText(1, storedTable);
    std::vector<ColumnDefinition> definitions;
    while (columns.step()) {
        ColumnDefinition column;
        column.name = columns.columnText(0);
        column.typeText = columns.columnText(1);
        column.type = parseJetColumnType(column.typeText, column.name);
        definitions.push_back(std::move(column));
    }
    if (definitions.empty())
        throw DatabaseError("The scratch table '" + storedTable
                            + "' has no column types in the catalogue; drop it and create it again.");
    return definitions;
}

std::optional<ScratchTable> ScratchTables::find(const std::string& table)
{
    commitBatch();
    if (isReservedName(table))
        return std::nullopt;
    const auto name = storedName(table);
    if (!name)
        return std::nullopt;
    return ScratchTable{*name, catalogueColumns(*name)};
}

ScratchTable ScratchTables::requireComplete(const std::string& table)
{
    auto found = find(table);
    if (!found)
        throw DatabaseError("The scratch database has no table '" + table + "'.");
    if (tablesWithLostRows_.contains(nameKey(found->name)))
        throw DatabaseError("Rows of the scratch table '" + found->name
                            + "' were lost when the scratch database failed; drop it and fill it "
                              "again.");
    return *found;
}

void ScratchTables::create(const CreateTable& create)
{
    commitBatch();
    if (isReservedName(create.table))
        throw DatabaseError("The name '" + create.table
                            + "' is reserved in the scratch database.");
    if (storedName(create.table))
        throw DatabaseError("The table '" + create.table
                            + "' already exists in the scratch database.");
    ensureCatalogue();
    // No declared types: BLOB affinity keeps every value as it was given.
    std::string sql = "CREATE TABLE " + quoteSqliteName(create.table) + " (";
    for (std::size_t i = 0; i < create.columns.size(); ++i)
        sql += (i == 0 ? "" : ", ") + quoteSqliteName(create.columns[i].name);
    sql += ")";
    database_.run("BEGIN");
    try {
        database_.run(sql);
        auto record = database_.prepare(std::string("INSERT INTO ")
                                        + quoteSqliteName(catalogueTable)
                                        + " VALUES (?1, ?2, ?3, ?4)");
        for (std::size_t i = 0; i < create.columns.size(); ++i) {
            record.bindText(1, create.table);
            record.bindInteger(2, static_cast<std::int64_t>(i));
            record.bindText(3, create.columns[i].name);
            record.bindText(4, create.columns[i].typeText);
            record.step();
            record.reset();
        }
        database_.run("COMMIT");
    } catch (...) {
        database_.run("ROLLBACK");
        throw;
    }
    killPoint("a scratch table created");
    tablesWithLostRows_.erase(nameKey(create.table));
    forgetTablesMadeHereIfChangedElsewhere();
    madeHere_[nameKey(create.table)] = TableMadeHere{};
}

void ScratchTables::forgetTablesMadeHereIfChangedElsewhere()
{
    const std::int64_t version = database_.dataVersion();
    if (seenDataVersion_ != version)
        madeHere_.clear();
    seenDataVersion_ = version;
}

void ScratchTables::expectFields(const std::string& table, FieldsForRows fields)
{
    if (const auto found = madeHere_.find(nameKey(table)); found != madeHere_.end())
        found->second.handed = std::move(fields);
}

std::optional<FieldsForRows> ScratchTables::handedFields(const ScratchTable& table)
{
    commitBatch();
    forgetTablesMadeHereIfChangedElsewhere();
    const auto found = madeHere_.find(nameKey(table.name));
    if (found == madeHere_.end() || !found->second.handed)
        return std::nullopt;
    const FieldsForRows& handed = *found->second.handed;
    if (handed.rows != found->second.rowsGiven || handed.fields.size() != table.columns.size())
        return std::nullopt;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (handed.fields[i].name != table.columns[i].name)
            return std::nullopt;
    }
    // The count SQLite keeps must agree as well.
    auto count = database_.prepare("SELECT count(*) FROM " + quoteSqliteName(table.name));
    if (!count.step() || std::stoull(count.columnText(0)) != handed.rows)
        return std::nullopt;
    return handed;
}

ScratchTables::InsertTarget& ScratchTables::insertTarget(const std::string& table)
{
    const std::string key = nameKey(table);
    if (const auto cached = insertTargets_.find(key); cached != insertTargets_.end())
        return cached->second;
    const auto name = isReservedName(table) ? std::nullopt : storedName(table);
    if (!name)
        throw DatabaseError("The scratch database has no table '" + table + "'.");
    // Read inside the open batch, which find() would commit.
    InsertTarget target;
    target.key = key;
    target.table = ScratchTable{*name, catalogueColumns(*name)};
    std::string sql = "INSERT INTO " + quoteSqliteName(target.table.name) + " VALUES (";
    for (std::size_t i = 0; i < target.table.columns.size(); ++i)
        sql += (i == 0 ? "?" : ", ?");
    sql += ")";
    target.statement = database_.prepareToKeep(sql);
    return insertTargets_.emplace(key, std::move(target)).first->second;
}

void ScratchTables::insert(const InsertRow& insert)
{
    if (!batchOpen_)
        beginBatch();
    InsertTarget& target = insertTarget(insert.table);
    const ScratchTable& table = target.table;
    if (insert.values.size() != table.columns.size())
        throw DatabaseError("The row has " + std::to_string(insert.values.size())
                            + " values, but the table '" + table.name + "' has "
                            + std::to_string(table.columns.size()) + " columns.");
    SqliteStatement& statement = *target.statement;
    try {
        // The values outlive the step and the reset below.
        for (std::size_t i = 0; i < insert.values.size(); ++i)
            statement.bindUntilReset(static_cast<int>(i + 1), insert.values[i]);
        batchTables_.insert(target.key);
        statement.step();
    } catch (const DatabaseError&) {
        statement.reset();
        // A failed row alone leaves the batch open; a full disk or lack of memory makes
        // SQLite roll back all of it.
        if (!database_.inTransaction())
            noteBatchLost();
        throw;
    }
    statement.reset();
    if (const auto found = madeHere_.find(target.key); found != madeHere_.end()) {
        ++found->second.rowsGiven;
        found->second.handed.reset(); // chosen before this row came
    }
}

void ScratchTables::drop(const std::string& table)
{
    commitBatch();
    const auto name = isReservedName(table) ? std::nullopt : storedName(table);
    if (!name)
        throw DatabaseError("The scratch database has no table '" + table + "'.");
    database_.run("BEGIN");
    try {
        database_.run("DROP TABLE " + quoteSqliteName(*name));
        auto forget = database_.prepare(std::string("DELETE FROM ")
                                        + quoteSqliteName(catalogueTable)
                                        + " WHERE table_name = ?1");
        forget.bindText(1, *name);
        forget.step();
        database_.run("COMMIT");
    } catch (...) {
        database_.run("ROLLBACK");
        throw;
    }
    killPoint("a scratch table dropped");
    tablesWithLostRows_.erase(nameKey(*name));
    madeHere_.erase(nameKey(*name));
}

void ScratchTables::forEachRow(
    const ScratchTable& table,
    const std::function<void(std::size_t, const std::vector<Value>&)>& visit)
{
    // Read ahead on a thread of their own while `visit` works on the rows before. Nothing else
    // uses the database until the reading has stopped, when `rows` goes.
    ReadAheadRows rows(std::make_unique<StoredRows>(database_, table));
    std::vector<Value> row;
    std::size_t number = 0;
    while (rows.fetch(row))
        visit(++number, row);
}

DuplicateKeyError::DuplicateKeyError(std::uint64_t firstRow, std::uint64_t secondRow)
    : DatabaseError("Rows " + std::to_string(firstRow) + " and " + std::to_string(secondRow) + " have the same key."),
      firstRow_(firstRow), secondRow_(secondRow)
{
}

void ScratchTables::forEachRowByKey(
    const ScratchTable& table,
    const std::function<std::span<const std::uint8_t>(const std::vector<Value>&)>& keyOf,
    const std::function<void(std::size_t, const std::vector<Value>&)>& visit)
{
    commitBatch();
    const std::string order = quoteSqliteName("quintabel key order");
    const std::string source = quoteSqliteName(table.name);
    const std::string rowid = rowidAlias(table);
    // A key's row is its rowid; a second row of the same key breaks the primary key.
    database_.run("DROP TABLE IF EXISTS temp." + order);
    database_.run("CREATE TEMP TABLE " + order + " (k BLOB PRIMARY KEY, r INTEGER NOT NULL) WITHOUT ROWID");
    struct DropOrder {
        SqliteDatabase& database;
        std::string name;
        ~DropOrder()
        {
            try {
                database.run("DROP TABLE IF EXISTS temp." + name);
            } catch (const DatabaseError&) {
            }
        }
    } dropOrder{database_, order};

    database_.run("BEGIN");
    try {
        auto rows = database_.prepare("SELECT " + rowid + ", * FROM " + source + " ORDER BY " + rowid);
        auto add = database_.prepare("INSERT OR IGNORE INTO temp." + order + " VALUES (?, ?)");
        auto holder = database_.prepare("SELECT r FROM temp." + order + " WHERE k = ?");
        std::vector<Value> row(table.columns.size());
        while (rows.step()) {
            for (std::size_t i = 0; i < row.size(); ++i)
                rows.readColumn(static_cast<int>(i + 1), row[i]);
            const std::int64_t number = std::stoll(rows.columnText(0));
            const std::span<const std::uint8_t> key = keyOf(row);
            const Value keyBlob = Bytes(key.begin(), key.end());
            add.bind(1, keyBlob);
            add.bindInteger(2, number);
            add.step();
            add.reset();
            if (database_.changes() == 0) {
                holder.bind(1, keyBlob);
                holder.step();
                throw DuplicateKeyError(std::stoull(holder.columnText(0)), static_cast<std::uint64_t>(number));
            }
        }
        database_.run("COMMIT");
    } catch (...) {
        if (database_.inTransaction())
            database_.run("ROLLBACK");
        throw;
    }

    auto ordered = database_.prepare("SELECT r FROM temp." + order + " ORDER BY k");
    auto byNumber = database_.prepare("SELECT * FROM " + source + " WHERE " + rowid + " = ?");
    std::vector<Value> row(table.columns.size());
    while (ordered.step()) {
        const std::string number = ordered.columnText(0);
        byNumber.bindInteger(1, std::stoll(number));
        if (!byNumber.step())
            throw DatabaseError("Row " + number + " of the scratch table '" + table.name + "' went missing.");
        for (std::size_t i = 0; i < row.size(); ++i)
            byNumber.readColumn(static_cast<int>(i), row[i]);
        byNumber.reset();
        visit(static_cast<std::size_t>(std::stoull(number)), row);
    }
}

std::vector<std::pair<std::string, std::string>> ScratchTables::list()
{
    commitBatch();
    std::vector<std::pair<std::string, std::string>> tables;
    auto names = database_.prepare(
        "SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name");
    while (names.step()) {
        const std::string name = names.columnText(0);
        if (equalsIgnoringCase(name, catalogueTable))
            tables.emplace_back(name, "SYSTEM TABLE");
        else if (!isReservedName(name))
            tables.emplace_back(name, "TABLE");
    }
    return tables;
}

} // namespace quintabel::db::scratch
