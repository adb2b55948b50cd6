#pragma once
// A connection to one database, with the operations and properties of an ADO Connection.
// Failures are DatabaseError exceptions carrying a description.

#include "connections/ado_constants.h"
#include "connections/recordset.h"
#include "drivers/driver.h"

#include <memory>
#include <optional>
#include <string>

namespace quintabel::connections {

class Connection {
public:
    Connection() = default;
    ~Connection() = default; // releasing an open connection closes it
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Where record sets of this connection keep their rows: adUseServer (2, the default:
    // rows are read as they are visited) or adUseClient (3: all rows are fetched at once and
    // RecordCount is exact). May change while open; it applies to later record sets.
    int CursorLocation() const { return cursorLocation_; }
    void setCursorLocation(int location);

    // adModeUnknown (0, the default) and adModeReadWrite (3) may write; adModeRead (1) makes
    // the file drivers refuse changes. Set before Open.
    int Mode() const { return mode_; }
    void setMode(int mode);

    // Seconds; 0 waits without limit. Defaults 30 and 15 as in ADO. Set before Open; they
    // apply from the next Open on.
    int CommandTimeout() const { return commandTimeout_; }
    void setCommandTimeout(int seconds);
    int ConnectionTimeout() const { return connectionTimeout_; }
    void setConnectionTimeout(int seconds);

    void Open(const std::string& connectionString);
    // Runs one statement. A statement that yields rows gives an open record set positioned on
    // its first row (EOF when there is none); any other statement gives a closed one.
    Recordset Execute(const std::string& statement);
    // Only adSchemaTables (20): one row per table with TABLE_NAME and TABLE_TYPE.
    Recordset OpenSchema(int schema);
    // Runs a LOAD DATA LOCAL INFILE statement naming `fileName` with `content` as the file
    // (db::Session::loadFromMemory; not an ADO operation): the MySQL driver's way to take
    // many rows without parsing a statement for them.
    db::LoadedRows LoadFromMemory(const std::string& statement, const std::string& fileName,
                                  const std::string& content);
    // Whether InsertRow works, and the insert itself (db::Session::insertRow; not ADO): the
    // scratch database takes a row's values without parsing them out of a statement.
    bool TakesRowValues() const { return session_ && session_->takesRowValues(); }
    void InsertRow(const std::string& table, std::vector<db::Value> values);
    // The fields a write-out of the scratch table `table` is to use, with the number of rows
    // they were chosen from (db::Session::expectWriteOutFields; not ADO).
    void ExpectWriteOutFields(const std::string& table, const std::vector<paradox::Field>& fields,
                              std::uint64_t rows);
    int State() const { return session_ ? adStateOpen : adStateClosed; }
    // What the driver did on opening that the user should be told of (not an ADO property:
    // Jet never repaired a file unasked); nothing when closed or when opening went as usual.
    std::optional<std::string> OpeningNotice() const;
    void Close();

private:
    friend class Recordset;
    const std::shared_ptr<db::Session>& openSession(const char* operation) const;

    std::shared_ptr<db::Session> session_;
    int cursorLocation_ = adUseServer;
    int mode_ = adModeUnknown;
    int commandTimeout_ = 30;
    int connectionTimeout_ = 15;
};

} // namespace quintabel::connections
