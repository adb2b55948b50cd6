#include "drivers/scratch/scratch_session.h"

#include "base/kill_points.h"
#include "drivers/database_error.h"
#include "drivers/scratch/paradox_write_out.h"
#include "drivers/scratch/scratch_file_soundness.h"
#include "drivers/scratch/scratch_statements.h"
#include "drivers/scratch/scratch_tables.h"
#include "drivers/scratch/sqlite_database.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

namespace quintabel::db::scratch {

namespace {

class ScratchSession : public Session {
public:
    ScratchSession(const std::filesystem::path& file, bool readOnly,
                   std::optional<std::string> openingNotice)
        : database_(file, readOnly), tables_(database_), readOnly_(readOnly),
          openingNotice_(std::move(openingNotice))
    {
        try {
            // A rollback journal on disk, synced before the file itself changes: a kill or a
            // power cut in the middle of a transaction leaves the journal behind, and the next
            // open puts the file back as it was at the last commit. (A journal kept in memory
            // let a kill leave half a transaction in the file, damaged for good.) Rows go
            // onto new or free pages, whose old content the journal need not keep, so a batch
            // of a whole table's rows writes little more than the rows themselves; a write-
            // ahead log would write every page twice. The few syncs a batch costs are paid
            // once per batch, not per row.
            database_.run("PRAGMA journal_mode = DELETE");
            database_.run("PRAGMA synchronous = FULL");
            // Debian's SQLite zeroes every page a dropped table frees, which journals and
            // rewrites the whole table once more when its rows are done with (half a second
            // for a million rows, and a journal as large as the table on a full disk). Freed
            // pages are cleared only where that costs no extra writes; what is left in them
            // stays in the program's own scratch file until the pages are used again.
            database_.run("PRAGMA secure_delete = FAST");
        } catch (const DatabaseError& error) {
            throw DatabaseError("Could not open the scratch database '" + file.string()
                                + "': " + error.description(), error.number());
        }
    }

    std::optional<std::string> openingNotice() const override { return openingNotice_; }

    std::unique_ptr<RowSource> execute(std::string_view statement) override
    {
        const ScratchStatement parsed = parseScratchStatement(statement);
        if (readOnly_)
            throw DatabaseError("The scratch database is open for reading only.");
        if (const auto* create = std::get_if<CreateTable>(&parsed)) {
            tables_.create(*create);
        } else if (const auto* insert = std::get_if<InsertRow>(&parsed)) {
            tables_.insert(*insert);
        } else if (const auto* drop = std::get_if<DropTable>(&parsed)) {
            tables_.drop(drop->table);
        } else {
            writeOutToParadox(tables_, std::get<WriteOutToParadox>(parsed));
            killPoint("a scratch table written out as a Paradox table");
        }
        return nullptr;
    }

    bool takesRowValues() const override { return true; }

    void insertRow(std::string_view table, std::vector<Value> values) override
    {
        if (readOnly_)
            throw DatabaseError("The scratch database is open for reading only.");
        for (const Value& value : values) {
            if (!isNull(value) && !std::holds_alternative<std::string>(value) && !std::holds_alternative<Bytes>(value))
                throw DatabaseError("The scratch database keeps only text, bytes and NULL.");
        }
        tables_.insert(InsertRow{std::string(table), std::move(values)});
    }

    void expectWriteOutFields(std::string_view table, const std::vector<paradox::Field>& fields,
                              std::uint64_t rows) override
    {
        tables_.expectFields(std::string(table), FieldsForRows{fields, rows});
    }

    std::unique_ptr<RowSource> tablesSchema() override
    {
        auto schema = std::make_unique<BufferedRows>(tablesSchemaFields());
        for (const auto& [name, type] : tables_.list())
            schema->append(tablesSchemaRow("", name, type));
        return schema;
    }

private:
    SqliteDatabase database_;
    ScratchTables tables_;
    bool readOnly_;
    std::optional<std::string> openingNotice_;
};

} // namespace

std::unique_ptr<Session> openSession(const ConnectionAttributes& attributes,
                                     const SessionOptions& options)
{
    attributes.requireOnlyKeys({"PROVIDER", "Data Source"}, "the scratch database provider");
    const std::string source = attributes.find("Data Source").value_or("");
    if (source.empty())
        throw DatabaseError("The connection string names no Data Source for the scratch database.");
    const std::filesystem::path file(source);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        throw DatabaseError("Could not find file '" + source + "'.");
    // Never used damaged: one box now instead of one failure per row later.
    std::optional<std::string> notice;
    if (!isSoundScratchFile(file)) {
        if (options.readOnly)
            throw DatabaseError("The scratch database '" + source
                                + "' is damaged, and a connection for reading only cannot make "
                                  "it anew.");
        remakeEmptyScratchFile(file);
        notice = scratchFileRemadeNotice(file);
    }
    return std::make_unique<ScratchSession>(file, options.readOnly, std::move(notice));
}

} // namespace quintabel::db::scratch
