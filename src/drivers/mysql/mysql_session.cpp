#include "drivers/mysql/mysql_session.h"

#include "base/expected_problem.h"
#include "drivers/database_error.h"
#include "drivers/mysql/mysql_column_types.h"
#include "drivers/mysql/mysql_error_numbers.h"
#include "drivers/mysql/mysql_values.h"
#include "drivers/read_ahead_rows.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <optional>
#include <string_view>
#include <cstring>
#include <errmsg.h>
#include <mysql.h>

namespace quintabel::db::mysql {

// Strict for every table, no zero or partly zero dates, division by zero an error: a value
// the column cannot hold fails instead of being cut, rounded or zeroed. The list replaces the
// server's own mode on purpose: a server default such as NO_BACKSLASH_ESCAPES or ANSI_QUOTES
// would change what the program's statements mean (they double backslashes and quote names
// with backticks).
const char* const sessionSqlMode = "STRICT_TRANS_TABLES,STRICT_ALL_TABLES,NO_ZERO_IN_DATE,"
                                   "NO_ZERO_DATE,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION";

namespace {

constexpr unsigned defaultPort = 3306;
// The longest the server may be told to wait for the client (net_write_timeout's maximum).
constexpr unsigned kLongestServerWait = 31536000;
constexpr unsigned kServerDefaultWait = 60;

// What the user can do about a failure that is no fault of the program (a server out of reach
// or out of room); nothing for any other.
std::optional<std::string_view> remedyOfWorldFault(int number)
{
    if (isOneOf(kServerOutOfReach, number))
        return "Check that the MySQL server is running and can be reached from this computer, then try again.";
    if (isOneOf(kServerOutOfRoom, number))
        return "The MySQL server has no room left: ask its administrator to make room, then try again.";
    return std::nullopt;
}

// The one file the server is ever given: rows that a LOAD DATA LOCAL INFILE of the program's
// own takes from memory, under the name that statement gave, while it runs. A request at any
// other time or for any other name (a server asking for a file of the user's) is refused, and
// nothing is ever read from the file system for the server.
struct MemoryFile {
    bool expected = false;
    std::string_view name;
    std::string_view content;
    std::size_t sent = 0;
    std::string refusal;
};

int openMemoryFile(void** state, const char* fileName, void* userData)
{
    auto* file = static_cast<MemoryFile*>(userData);
    *state = file;
    if (file->expected && fileName != nullptr && file->name == fileName) {
        file->sent = 0;
        return 0;
    }
    try {
        file->refusal = std::string("The server asked for the local file '") + (fileName ? fileName : "")
            + "', which this program does not send.";
    } catch (...) {
        file->refusal.clear();
    }
    return 1;
}

int readMemoryFile(void* state, char* buffer, unsigned int size)
{
    auto* file = static_cast<MemoryFile*>(state);
    const std::size_t part = std::min<std::size_t>(size, file->content.size() - file->sent);
    std::memcpy(buffer, file->content.data() + file->sent, part);
    file->sent += part;
    return static_cast<int>(part);
}

void endMemoryFile(void*)
{
}

int memoryFileError(void* state, char* buffer, unsigned int size)
{
    const auto* file = static_cast<const MemoryFile*>(state);
    const std::string_view text = file != nullptr && !file->refusal.empty()
        ? std::string_view(file->refusal)
        : std::string_view("The rows could not be handed to the server.");
    const std::size_t length = size == 0 ? 0 : std::min<std::size_t>(text.size(), size - 1);
    if (size > 0) {
        std::memcpy(buffer, text.data(), length);
        buffer[length] = '\0';
    }
    return CR_UNKNOWN_ERROR;
}

// The open client connection. Result streams share it, so that a stream still being read
// keeps the connection alive after the connection object above has let go of it.
class Handle {
public:
    Handle() : mysql_(mysql_init(nullptr))
    {
        if (mysql_ == nullptr)
            throw DatabaseError("MariaDB Connector/C could not set up a connection (out of memory).");
    }
    ~Handle() { mysql_close(mysql_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    MYSQL* get() const { return mysql_; }
    MemoryFile& memoryFile() { return memoryFile_; }

    [[noreturn]] void fail() const
    {
        const int number = static_cast<int>(mysql_errno(mysql_));
        const std::string description = mysql_error(mysql_);
        if (const std::optional<std::string_view> remedy = remedyOfWorldFault(number))
            throw Expected<DatabaseError>(description + ". " + std::string(*remedy), number);
        throw DatabaseError(description, number);
    }

private:
    MYSQL* mysql_;
    MemoryFile memoryFile_;
};

unsigned parsePort(const std::string& text)
{
    if (text.empty())
        return defaultPort;
    unsigned port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc{} || end != text.data() + text.size() || port == 0 || port > 65535)
        throw DatabaseError("The port '" + text + "' is not a number from 1 to 65535.");
    return port;
}

void setOption(const Handle& handle, mysql_option option, const void* value)
{
    if (mysql_optionsv(handle.get(), option, value) != 0)
        handle.fail();
}

class StreamedRows : public RowSource {
public:
    StreamedRows(std::shared_ptr<Handle> handle, MYSQL_RES* result)
        : handle_(std::move(handle)), result_(result)
    {
        const unsigned count = mysql_num_fields(result_);
        const MYSQL_FIELD* columns = mysql_fetch_fields(result_);
        for (unsigned i = 0; i < count; ++i) {
            fields_.push_back(describeColumn(columns[i]));
            kinds_.push_back(classifyColumn(columns[i]).valueKind);
        }
    }
    // Freeing a result that is still streaming reads the rest of it first: a million rows
    // take seconds, and more over a network.
    ~StreamedRows() override { mysql_free_result(result_); }
    StreamedRows(const StreamedRows&) = delete;
    StreamedRows& operator=(const StreamedRows&) = delete;

    const std::vector<FieldInfo>& fields() const override { return fields_; }

    bool fetch(std::vector<Value>& row) override
    {
        const MYSQL_ROW data = mysql_fetch_row(result_);
        if (data == nullptr) {
            if (mysql_errno(handle_->get()) != 0)
                handle_->fail();
            ended_ = true;
            return false;
        }
        const unsigned long* lengths = mysql_fetch_lengths(result_);
        row.clear();
        row.reserve(fields_.size());
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            if (data[i] == nullptr)
                row.emplace_back(Null{});
            else
                row.push_back(convertFieldText(kinds_[i], std::string_view(data[i], lengths[i]),
                                               fields_[i].name));
        }
        return true;
    }

    // The connection is cut where it stands, so that the server stops sending (it sees the
    // connection gone) and freeing the result finds nothing left to read.
    void cancel() override
    {
        if (!ended_)
            mariadb_cancel(handle_->get());
    }

private:
    std::shared_ptr<Handle> handle_;
    MYSQL_RES* result_;
    std::vector<FieldInfo> fields_;
    std::vector<ValueKind> kinds_;
    // Written by the thread that fetches, read by one that may cancel.
    std::atomic<bool> ended_{false};
};

class MySqlSession : public Session {
public:
    explicit MySqlSession(std::shared_ptr<Handle> handle) : handle_(std::move(handle)) {}

    std::unique_ptr<RowSource> execute(std::string_view statement) override
    {
        // Connector/C sends the statement as it is; with multi-statements off the server runs
        // at most one, so a name or value can never smuggle in a second statement.
        if (mysql_real_query(handle_->get(), statement.data(), statement.size()) != 0)
            handle_->fail();
        if (mysql_field_count(handle_->get()) == 0)
            return nullptr;
        // Rows are streamed; the connection layer fetches them all at once for a client-side
        // cursor. Past its first rows a long result is read ahead on a thread of its own,
        // which is safe because the connection carries nothing else until the result ends.
        MYSQL_RES* result = mysql_use_result(handle_->get());
        if (result == nullptr)
            handle_->fail();
        return std::make_unique<ReadAheadRows>(std::make_unique<StreamedRows>(handle_, result));
    }

    LoadedRows loadFromMemory(std::string_view statement, std::string_view fileName,
                              std::string_view content) override
    {
        MemoryFile& file = handle_->memoryFile();
        file.expected = true;
        file.name = fileName;
        file.content = content;
        file.refusal.clear();
        const int failed = mysql_real_query(handle_->get(), statement.data(), statement.size());
        file = MemoryFile{};
        if (failed != 0)
            handle_->fail();
        LoadedRows loaded;
        loaded.rows = mysql_affected_rows(handle_->get());
        loaded.warnings = mysql_warning_count(handle_->get());
        return loaded;
    }

    std::unique_ptr<RowSource> tablesSchema() override
    {
        auto listing = execute("SELECT TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE FROM "
                               "information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() "
                               "ORDER BY TABLE_NAME");
        auto schema = std::make_unique<BufferedRows>(tablesSchemaFields());
        std::vector<Value> row;
        while (listing->fetch(row)) {
            const std::string catalog = toText(row.at(0));
            const std::string name = toText(row.at(1));
            const std::string serverType = toText(row.at(2));
            schema->append(tablesSchemaRow(catalog, name, schemaTableType(serverType)));
        }
        return schema;
    }

private:
    static std::string schemaTableType(const std::string& serverType)
    {
        if (serverType == "BASE TABLE")
            return "TABLE";
        return serverType; // "VIEW", "SYSTEM VIEW", "SEQUENCE", ...
    }

    std::shared_ptr<Handle> handle_;
};

} // namespace

std::unique_ptr<Session> openSession(const ConnectionAttributes& attributes,
                                     const SessionOptions& options)
{
    attributes.requireOnlyKeys({"DRIVER", "SERVER", "USER", "DATABASE", "PASSWORD", "PORT"},
                               "the MySQL driver");
    std::string server = attributes.find("SERVER").value_or("");
    if (server.empty())
        server = "localhost";
    const unsigned port = parsePort(attributes.find("PORT").value_or(""));
    const std::string user = attributes.find("USER").value_or("");
    const std::string password = attributes.find("PASSWORD").value_or("");
    const std::string database = attributes.find("DATABASE").value_or("");

    auto handle = std::make_shared<Handle>();
    // TCP always, as the Windows driver connects: "localhost" must not quietly become the
    // local socket of some other server than the one at the port the user typed.
    const unsigned protocol = MYSQL_PROTOCOL_TCP;
    setOption(*handle, MYSQL_OPT_PROTOCOL, &protocol);
    setOption(*handle, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    // A result is read as the program goes through it, and the program may keep the server
    // waiting to send the rest (a report box open mid-table, the customisation window): the
    // server must wait as long as the program waits for it, not drop the result after its
    // default minute (never less than that minute).
    const unsigned sendWait = options.commandTimeoutSeconds > 0
        ? std::max(kServerDefaultWait, static_cast<unsigned>(options.commandTimeoutSeconds))
        : kLongestServerWait;
    const std::string initCommand = std::string("SET SESSION sql_mode='") + sessionSqlMode
        + "', net_write_timeout=" + std::to_string(sendWait);
    setOption(*handle, MYSQL_INIT_COMMAND, initCommand.c_str());
    const unsigned connectTimeout = static_cast<unsigned>(options.connectionTimeoutSeconds);
    if (connectTimeout > 0)
        setOption(*handle, MYSQL_OPT_CONNECT_TIMEOUT, &connectTimeout);
    // The command time-out bounds each wait for the server's answer.
    const unsigned commandTimeout = static_cast<unsigned>(options.commandTimeoutSeconds);
    if (commandTimeout > 0) {
        setOption(*handle, MYSQL_OPT_READ_TIMEOUT, &commandTimeout);
        setOption(*handle, MYSQL_OPT_WRITE_TIMEOUT, &commandTimeout);
    }
    // The server takes LOAD DATA LOCAL only from a client that said at login it may send
    // files; what this client sends is decided by the handler set below, which serves only
    // rows from memory (loadFromMemory) and refuses every other request.
    const unsigned localFiles = 1;
    setOption(*handle, MYSQL_OPT_LOCAL_INFILE, &localFiles);
    mysql_set_local_infile_handler(handle->get(), openMemoryFile, readMemoryFile, endMemoryFile,
                                   memoryFileError, &handle->memoryFile());

    // No client flags: in particular no CLIENT_MULTI_STATEMENTS.
    if (mysql_real_connect(handle->get(), server.c_str(), user.c_str(), password.c_str(),
                           database.empty() ? nullptr : database.c_str(), port, nullptr, 0)
        == nullptr)
        handle->fail();
    return std::make_unique<MySqlSession>(std::move(handle));
}

} // namespace quintabel::db::mysql
