#include "connections/recordset.h"

#include "connections/connection.h"
#include "drivers/database_error.h"

namespace quintabel::connections {

const db::FieldInfo& Field::info() const
{
    return recordset_->fields_[index_];
}

const std::string& Field::Name() const
{
    return info().name;
}

int Field::Type() const
{
    return info().adoType;
}

std::int64_t Field::DefinedSize() const
{
    return info().definedSize;
}

int Field::Precision() const
{
    return info().precision;
}

int Field::NumericScale() const
{
    return info().scale;
}

std::optional<bool> Field::isNullable() const
{
    return info().nullable;
}

const db::Value& Field::Value() const
{
    recordset_->requireCurrentRow();
    if (recordset_->fetchedAll_)
        return recordset_->rows_[recordset_->position_].at(index_);
    return recordset_->currentRow_.at(index_);
}

void Recordset::setCursorLocation(int location)
{
    if (open_)
        throw db::DatabaseError("The cursor location of an open record set cannot change.");
    if (location != adUseServer && location != adUseClient)
        throw db::DatabaseError("The cursor location " + std::to_string(location)
                                + " is not 2 (server side) or 3 (client side).");
    cursorLocation_ = location;
}

Recordset Recordset::fromRows(std::unique_ptr<db::RowSource> rows,
                              std::shared_ptr<db::Session> session, bool fetchAll)
{
    Recordset recordset;
    recordset.open_ = true;
    recordset.fields_ = rows->fields();
    recordset.statedCount_ = rows->statedRowCount();
    recordset.fetchedAll_ = fetchAll;
    if (fetchAll) {
        std::vector<db::Value> row;
        while (rows->fetch(row))
            recordset.rows_.push_back(std::move(row));
    } else {
        recordset.streamCount_ = rows->rowCount();
        recordset.stream_ = std::move(rows);
        recordset.session_ = std::move(session);
        recordset.readNextStreamedRow();
    }
    return recordset;
}

void Recordset::Open(const std::string& source, Connection& connection, int cursorType,
                     int lockType)
{
    if (open_)
        throw db::DatabaseError("The record set is already open.");
    if (cursorType < adOpenUnspecified || cursorType > adOpenStatic)
        throw db::DatabaseError("The cursor type " + std::to_string(cursorType)
                                + " is not one of -1 to 3.");
    if (lockType != adLockUnspecified && (lockType < adLockReadOnly || lockType > 4))
        throw db::DatabaseError("The lock type " + std::to_string(lockType)
                                + " is not one of -1 to 4.");
    const auto& session = connection.openSession("Opening a record set");
    const int location = cursorLocation_ != 0 ? cursorLocation_ : connection.CursorLocation();
    const bool fetchAll = location == adUseClient || cursorType == adOpenStatic
        || cursorType == adOpenKeyset;
    auto rows = session->execute(source);
    if (!rows)
        return; // a statement without rows leaves the record set closed, as in ADO
    const int keptLocation = cursorLocation_;
    *this = fromRows(std::move(rows), session, fetchAll);
    cursorLocation_ = keptLocation;
}

void Recordset::Close()
{
    requireOpen("Close");
    const int keptLocation = cursorLocation_;
    *this = Recordset{};
    cursorLocation_ = keptLocation;
}

void Recordset::Cancel()
{
    requireOpen("Cancel");
    if (stream_)
        stream_->cancel();
    Close();
}

void Recordset::requireOpen(const char* operation) const
{
    if (!open_)
        throw db::DatabaseError(std::string(operation) + " needs an open record set.");
}

void Recordset::requireCurrentRow() const
{
    requireOpen("Reading a value");
    if (Eof())
        throw db::DatabaseError("The record set has no current row: it is at its end.");
}

void Recordset::readNextStreamedRow()
{
    if (!stream_->fetch(currentRow_)) {
        streamAtEnd_ = true;
        currentRow_.clear();
        // Nothing more will be read; let the session go.
        stream_.reset();
        session_.reset();
    }
}

int Recordset::FieldCount() const
{
    requireOpen("Fields.Count");
    return static_cast<int>(fields_.size());
}

Field Recordset::Fields(int index) const
{
    requireOpen("Fields");
    if (index < 0 || static_cast<std::size_t>(index) >= fields_.size())
        throw db::DatabaseError("The record set has no field number " + std::to_string(index)
                                + "; it has " + std::to_string(fields_.size()) + ".");
    return Field(*this, static_cast<std::size_t>(index));
}

Field Recordset::Fields(std::string_view name) const
{
    requireOpen("Fields");
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (db::equalsIgnoringCase(fields_[i].name, name))
            return Field(*this, i);
    }
    throw db::DatabaseError("The record set has no field named '" + std::string(name) + "'.");
}

std::int64_t Recordset::RecordCount() const
{
    requireOpen("RecordCount");
    if (fetchedAll_)
        return static_cast<std::int64_t>(rows_.size());
    return streamCount_.value_or(-1);
}

std::optional<std::int64_t> Recordset::statedRecordCount() const
{
    requireOpen("statedRecordCount");
    return statedCount_;
}

bool Recordset::Eof() const
{
    requireOpen("EOF");
    return fetchedAll_ ? position_ >= rows_.size() : streamAtEnd_;
}

void Recordset::MoveNext()
{
    requireCurrentRow();
    if (fetchedAll_)
        ++position_;
    else
        readNextStreamedRow();
}

} // namespace quintabel::connections
