#pragma once
// The rows of one result, with the operations and properties of an ADO Recordset: fields by
// position or name, the current row's values, EOF and MoveNext, RecordCount.

#include "connections/ado_constants.h"
#include "drivers/driver.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel::connections {

class Connection;
class Recordset;

// One field of a record set; valid while its record set lives.
class Field {
public:
    const std::string& Name() const;
    int Type() const; // the ADO data type number
    std::int64_t DefinedSize() const;
    int Precision() const;
    int NumericScale() const;
    std::optional<bool> isNullable() const;
    // The value in the current row; a DatabaseError when there is no current row.
    const db::Value& Value() const;

private:
    friend class Recordset;
    Field(const Recordset& recordset, std::size_t index) : recordset_(&recordset), index_(index) {}
    const db::FieldInfo& info() const;

    const Recordset* recordset_;
    std::size_t index_;
};

class Recordset {
public:
    Recordset() = default;
    Recordset(Recordset&&) noexcept = default;
    Recordset& operator=(Recordset&&) noexcept = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Unset (0) means: take the connection's at Open.
    int CursorLocation() const { return cursorLocation_; }
    void setCursorLocation(int location);

    // Runs `source` on `connection`. A static or keyset cursor, or a client-side location,
    // fetches every row at once (exact RecordCount); otherwise rows are read as MoveNext
    // reaches them, and RecordCount is what the driver counted beforehand (a Paradox table)
    // or else -1. The lock type is accepted as ADO accepts it; the
    // rows are never updated through the record set.
    void Open(const std::string& source, Connection& connection,
              int cursorType = adOpenUnspecified, int lockType = adLockUnspecified);
    int State() const { return open_ ? adStateOpen : adStateClosed; }
    void Close();
    // Closes the record set without reading the rest of a result still streaming: its source
    // is told to stop (RowSource::cancel) instead of being read to its end. Costs the
    // connection of a MySQL result, which takes no more statements after.
    void Cancel();

    int FieldCount() const;
    Field Fields(int index) const;
    // Matched without regard to case, as ADO does.
    Field Fields(std::string_view name) const;

    std::int64_t RecordCount() const;
    // The rows the source's own header says it holds (a Paradox table's), which a damaged file
    // may not: RowSource::statedRowCount. Nothing where the source has no such figure.
    std::optional<std::int64_t> statedRecordCount() const;
    // Named Eof because EOF is a macro of the C library.
    bool Eof() const;
    void MoveNext();

private:
    friend class Connection;
    friend class Field;
    static Recordset fromRows(std::unique_ptr<db::RowSource> rows,
                              std::shared_ptr<db::Session> session, bool fetchAll);
    void requireOpen(const char* operation) const;
    void requireCurrentRow() const;
    void readNextStreamedRow();

    int cursorLocation_ = 0;
    bool open_ = false;
    std::vector<db::FieldInfo> fields_;
    // Fetched all at once: every row, and the position of the current one.
    bool fetchedAll_ = false;
    std::vector<std::vector<db::Value>> rows_;
    std::size_t position_ = 0;
    // Streamed: the source, the session it reads from, and the current row.
    std::unique_ptr<db::RowSource> stream_;
    std::shared_ptr<db::Session> session_;
    std::vector<db::Value> currentRow_;
    bool streamAtEnd_ = false;
    std::optional<std::int64_t> streamCount_;
    std::optional<std::int64_t> statedCount_;
};

} // namespace quintabel::connections
