#include "drivers/paradox/paradox_session.h"

#include "base/expected_problem.h"
#include "drivers/connection_attributes.h"
#include "drivers/database_error.h"
#include "drivers/paradox/paradox_field_types.h"
#include "drivers/paradox/paradox_statements.h"
#include "paradoxfile/code_page.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_family.h"
#include "paradoxfile/table_reader.h"
#include "paradoxfile/table_search.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace quintabel::db::paradox {

namespace fs = std::filesystem;
namespace px = quintabel::paradox;

namespace {

// The message of text that is not valid in the code page it was read in, with what the user
// of the windows can do about it.
std::string invalidTextMessage(const px::InvalidTextError& error)
{
    if (error.codePageOrigin() == px::CodePageOrigin::Chosen)
        return error.problem() + " Choose the code page its text was written in under Code Page in the "
               "connection window, or \"As each table says\", and try again.";
    return error.problem() + " Its text was probably written in another code page: if you know which, "
           "choose it under Code Page in the connection window and try again.";
}

// Runs `work`, turning the file library's and the file system's failures into
// DatabaseError with their own words. A failure the user can put right (text in another code
// page than the table says, a damaged file) keeps that mark, so that the windows show it as a
// plain message.
template <typename Work>
auto translatingFailures(Work&& work) -> decltype(work())
{
    try {
        return work();
    } catch (const px::InvalidTextError& error) {
        throw Expected<DatabaseError>(invalidTextMessage(error));
    } catch (const px::FormatError& error) {
        // The file, not the program, is at fault; only the user can mend it.
        throw Expected<DatabaseError>(std::string(error.what())
                                      + " The table's file may be damaged: repair it in Paradox, or take it from a "
                                        "backup, then try again.");
    } catch (const px::Error& error) {
        if (isExpectedProblem(error))
            throw Expected<DatabaseError>(error.what());
        throw DatabaseError(error.what());
    } catch (const fs::filesystem_error& error) {
        throw DatabaseError(error.what());
    }
}

class TableRows : public RowSource {
public:
    TableRows(px::TableReader reader, std::optional<std::uint64_t> limit)
        : reader_(std::move(reader)), limit_(limit)
    {
        for (const px::Field& field : reader_.fields())
            fields_.push_back(describeField(field));
    }

    const std::vector<FieldInfo>& fields() const override { return fields_; }

    std::optional<std::int64_t> rowCount() const override
    {
        // The blocks, not the header's figure: they are what the reading walks.
        std::uint64_t count = translatingFailures([&] { return reader_.countRecords(); });
        if (limit_)
            count = std::min(count, *limit_);
        return static_cast<std::int64_t>(count);
    }

    std::optional<std::int64_t> statedRowCount() const override
    {
        // A first few rows asked for are no reading of the whole table.
        if (limit_)
            return std::nullopt;
        return static_cast<std::int64_t>(reader_.header().recordCount);
    }

    bool fetch(std::vector<Value>& row) override
    {
        if (limit_ && delivered_ >= *limit_)
            return false;
        const bool found = translatingFailures([&] { return reader_.next(record_); });
        if (!found)
            return false;
        ++delivered_;
        row.clear();
        row.reserve(record_.size());
        for (const px::Value& value : record_)
            row.push_back(toDbValue(value));
        return true;
    }

private:
    px::TableReader reader_;
    std::optional<std::uint64_t> limit_;
    std::uint64_t delivered_ = 0;
    std::vector<FieldInfo> fields_;
    std::vector<px::Value> record_;
};

bool hasTableExtension(const fs::path& file)
{
    return px::equalIgnoringCase(file.extension().string(), ".db");
}

class ParadoxSession : public Session {
public:
    ParadoxSession(fs::path folder, bool readOnly, int codePage)
        : folder_(std::move(folder)), readOnly_(readOnly), codePage_(codePage)
    {
    }

    std::unique_ptr<RowSource> execute(std::string_view statement) override
    {
        const ParadoxStatement parsed = parseParadoxStatement(statement);
        if (const auto* select = std::get_if<SelectAll>(&parsed))
            return translatingFailures([&] { return openTable(*select); });
        dropTable(std::get<DropTable>(parsed).table);
        return nullptr;
    }

    std::unique_ptr<RowSource> tablesSchema() override
    {
        auto schema = std::make_unique<BufferedRows>(tablesSchemaFields());
        std::vector<std::string> names;
        translatingFailures([&] {
            for (const auto& entry : fs::directory_iterator(folder_)) {
                if (entry.is_regular_file() && hasTableExtension(entry.path()))
                    names.push_back(entry.path().stem().string());
            }
        });
        std::sort(names.begin(), names.end());
        for (const std::string& name : names)
            schema->append(tablesSchemaRow(folder_.string(), name, "TABLE"));
        return schema;
    }

private:
    std::unique_ptr<RowSource> openTable(const SelectAll& select)
    {
        const fs::path table = px::locateTable(folder_, select.table);
        px::ReaderOptions options;
        options.codePage = codePage_;
        return std::make_unique<TableRows>(px::TableReader::open(table, options), select.top);
    }

    // Removes the .DB first, so that the table is gone as soon as anything is removed, then
    // every companion (.MB, .PX, .VAL, indexes). A companion that cannot be removed is named.
    void dropTable(const std::string& name)
    {
        if (readOnly_)
            throw DatabaseError("The Paradox folder is open for reading only.");
        const px::TableFamily family = translatingFailures([&] {
            const fs::path table = px::locateTable(folder_, name);
            return px::TableFamily{table, px::findCompanions(table)};
        });
        std::error_code error;
        if (!fs::remove(family.table, error))
            throw DatabaseError("Could not delete '" + family.table.string() + "': "
                                + (error ? error.message() : "it is gone"));
        std::vector<std::string> leftovers;
        for (const fs::path& companion : family.companions) {
            if (!fs::remove(companion, error) && error)
                leftovers.push_back(companion.string() + " (" + error.message() + ")");
        }
        if (!leftovers.empty()) {
            std::string list;
            for (const std::string& leftover : leftovers)
                list += (list.empty() ? "" : ", ") + leftover;
            throw DatabaseError("The table '" + name + "' was deleted, but not all its files: "
                                + list + ".");
        }
    }

    fs::path folder_;
    bool readOnly_;
    int codePage_; // 0: each table's own
};

// The connection string's "CodePage=N", the one the user chose over every table's own.
int chosenCodePage(const ConnectionAttributes& attributes)
{
    const auto text = attributes.find("CodePage");
    if (!text)
        return 0;
    int number = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
    if (error != std::errc{} || end != text->data() + text->size() || number < 0)
        throw DatabaseError("The connection string's code page '" + *text + "' is not a code page number.");
    if (number != 0 && !px::CodePage::isSupported(number))
        throw DatabaseError("Code page " + *text + " is not known on this system.");
    return number;
}

} // namespace

std::unique_ptr<Session> openSession(const ConnectionAttributes& attributes,
                                     const SessionOptions& options)
{
    attributes.requireOnlyKeys(
        {"DRIVER", "DriverID", "Fil", "DefaultDir", "Dbq", "CollatingSequence", "CodePage"},
        "the Paradox driver");
    const auto dbq = attributes.find("Dbq");
    const auto defaultDir = attributes.find("DefaultDir");
    if (dbq && defaultDir && *dbq != *defaultDir)
        throw DatabaseError("The connection string names two folders, '" + *defaultDir
                            + "' and '" + *dbq + "'.");
    const std::string folder = dbq ? *dbq : defaultDir.value_or("");
    if (folder.empty())
        throw DatabaseError("The connection string names no Paradox folder.");
    std::error_code error;
    if (!fs::is_directory(folder, error))
        throw DatabaseError("The Paradox folder '" + folder + "' does not exist.");
    return std::make_unique<ParadoxSession>(fs::path(folder), options.readOnly, chosenCodePage(attributes));
}

} // namespace quintabel::db::paradox
