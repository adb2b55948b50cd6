#pragma once
// What every driver offers the connection layer: a session opened from connection
// attributes, which runs one statement at a time and lists its tables. Results come as
// column descriptions and rows of Value, pulled one row at a time so that a driver may
// stream them; the connection layer decides whether to buffer them all.

#include "drivers/connection_attributes.h"
#include "drivers/value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel::paradox {
struct Field;
}

namespace quintabel::db {

// One column of a result, described as ADO describes a field.
struct FieldInfo {
    std::string name;
    int adoType = 0;             // ADO data type number, as the Windows stack reports it
    std::int64_t definedSize = 0; // characters for text, bytes for binary, else bytes of storage
    int precision = 0;           // digits of a numeric column, 0 where it does not apply
    int scale = 0;               // digits after the point of a decimal column
    std::optional<bool> nullable; // unknown where the driver cannot tell
};

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual const std::vector<FieldInfo>& fields() const = 0;
    // Puts the next row into `row` (one Value per field) and answers true, or answers false
    // when no row is left. A failure while reading is a DatabaseError.
    virtual bool fetch(std::vector<Value>& row) = 0;
    // How many rows the result holds, where the driver knows it before reading them (a
    // Paradox table counts its records from its blocks); nothing where it does not.
    virtual std::optional<std::int64_t> rowCount() const { return std::nullopt; }
    // How many rows the source's own header says it holds, where it keeps such a figure apart
    // from the rows themselves (a Paradox table's header); a damaged file may hold another
    // number. Nothing where there is no such figure.
    virtual std::optional<std::int64_t> statedRowCount() const { return std::nullopt; }
    // The rows still to come will not be read: a source that would otherwise have to take
    // them all in before it can go (a MariaDB result streaming over its connection) stops
    // them where they are. No row is fetched after. Safe to call while another thread is
    // fetching. A MySQL result's connection takes no more statements after it.
    virtual void cancel() {}
};

// A result already held in memory: the tables schema, small drivers' results, and the
// connection layer's client-side cursor.
class BufferedRows : public RowSource {
public:
    explicit BufferedRows(std::vector<FieldInfo> fields) : fields_(std::move(fields)) {}
    void append(std::vector<Value> row) { rows_.push_back(std::move(row)); }

    const std::vector<FieldInfo>& fields() const override { return fields_; }
    bool fetch(std::vector<Value>& row) override;

private:
    std::vector<FieldInfo> fields_;
    std::vector<std::vector<Value>> rows_;
    std::size_t next_ = 0;
};

// What the server made of rows loaded from memory (Session::loadFromMemory).
struct LoadedRows {
    std::uint64_t rows = 0; // the rows it stored
    unsigned warnings = 0;  // the warnings it gave: a value changed, a row skipped, ...
};

// The settings a connection carries into its session, in ADO's terms.
struct SessionOptions {
    // Seconds; 0 means no limit. ADO's defaults are 15 and 30.
    int connectionTimeoutSeconds = 15;
    int commandTimeoutSeconds = 30;
    // ADO mode 1 (read only): the file drivers then refuse to change anything. The MySQL
    // driver leaves that to the account's privileges, as the Windows driver does.
    bool readOnly = false;
};

class Session {
public:
    virtual ~Session() = default;
    // Runs exactly one statement. Answers its rows, or nullptr for a statement without a
    // result (CREATE, INSERT, DROP ...). A refused statement is a DatabaseError.
    virtual std::unique_ptr<RowSource> execute(std::string_view statement) = 0;
    // The tables schema: columns TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE
    // ("TABLE", "VIEW", "SYSTEM TABLE") and DESCRIPTION, one row per table.
    virtual std::unique_ptr<RowSource> tablesSchema() = 0;
    // What the driver had to do on opening that the user should be told of, though the
    // session opened (the scratch database made anew after it was found damaged); nothing
    // when opening went as usual.
    virtual std::optional<std::string> openingNotice() const { return std::nullopt; }
    // Runs a LOAD DATA LOCAL INFILE statement that names the file `fileName`, and hands the
    // server `content` as that file: rows go from memory, never through a file. A driver
    // that cannot refuses with a DatabaseError.
    virtual LoadedRows loadFromMemory(std::string_view statement, std::string_view fileName,
                                      std::string_view content);
    // Whether insertRow works: a driver whose INSERT statements only carry values (the scratch
    // database) takes them without the round trip through statement text.
    virtual bool takesRowValues() const { return false; }
    // Does what "INSERT INTO `table` VALUES(...)" with these values as its literals does: each
    // value Null, text or bytes, exactly as the statement's parse would give it.
    virtual void insertRow(std::string_view table, std::vector<Value> values);
    // The Paradox fields that a later write-out of `table` is to use, chosen by the caller
    // from the values of the `rows` rows it gave insertRow (not ADO: Jet weighed the rows
    // itself). The scratch database takes them only while it is sure they cover every row the
    // table holds, and otherwise weighs the rows itself; other drivers ignore them.
    virtual void expectWriteOutFields(std::string_view table, const std::vector<paradox::Field>& fields,
                                      std::uint64_t rows)
    {
        (void)table;
        (void)fields;
        (void)rows;
    }
};

// The field descriptions of the tables schema, shared by every driver.
std::vector<FieldInfo> tablesSchemaFields();
std::vector<Value> tablesSchemaRow(const std::string& catalog, const std::string& tableName,
                                   const std::string& tableType);

} // namespace quintabel::db
