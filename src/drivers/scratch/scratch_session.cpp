#include "drivers/scratch/scratch_session.h"

#include "drivers/database_error.h"
#include "drivers/scratch/paradox_write_out.h"
#include "drivers/scratch/scratch_statements.h"
#include "drivers/scratch/scratch_tables.h"
#include "drivers/scratch/sqlite_database.h"

#include <filesystem>
#include <system_error>

namespace quintabel::db::scratch {

namespace {

class ScratchSession : public Session {
public:
    ScratchSession(const std::filesystem::path& file, bool readOnly)
        : database_(file, readOnly), tables_(database_), readOnly_(readOnly)
    {
        try {
            // The journal stays in memory (no journal file, yet a failed statement can still
            // be rolled back) and nothing waits for the disk: the data is scratch, and a
            // crash only loses tables that are dropped after each transfer anyway.
            database_.run("PRAGMA journal_mode = MEMORY");
            database_.run("PRAGMA synchronous = OFF");
        } catch (const DatabaseError& error) {
            throw DatabaseError("Could not open the scratch database '" + file.string()
                                + "': " + error.description());
        }
    }

    std::unique_ptr<RowSource> execute(std::string_view statement) override
    {
        const ScratchStatement parsed = parseScratchStatement(statement);
        if (readOnly_)
            throw DatabaseError("The scratch database is open for reading only.");
        if (const auto* create = std::get_if<CreateTable>(&parsed))
            tables_.create(*create);
        else if (const auto* insert = std::get_if<InsertRow>(&parsed))
            tables_.insert(*insert);
        else if (const auto* drop = std::get_if<DropTable>(&parsed))
            tables_.drop(drop->table);
        else
            writeOutToParadox(tables_, std::get<WriteOutToParadox>(parsed));
        return nullptr;
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
    return std::make_unique<ScratchSession>(file, options.readOnly);
}

} // namespace quintabel::db::scratch
