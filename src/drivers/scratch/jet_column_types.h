#pragma once
// The column type names the scratch database accepts in CREATE TABLE: those of the default
// type mapping, those the customisation window offers, and their usual Jet synonyms. Each
// reads as a kind of column, with the ADO type number Jet reports for it.

#include <string>
#include <string_view>

namespace quintabel::db::scratch {

enum class JetKind {
    Text,       // VARCHAR(n), CHAR(n), TEXT(n): up to 255 characters
    Memo,       // TEXT, MEMO: long text
    Byte,       // TINYINT
    Short,      // SMALLINT
    Long,       // INT
    BigInt,     // BIGINT (Jet 4 itself refuses it; taken here so that no table fails on it)
    Decimal,    // DECIMAL(p,s), NUMERIC(p,s)
    Currency,   // MONEY
    Single,     // REAL
    Double,     // FLOAT
    DateTime,   // DATETIME
    Boolean,    // BIT
    Binary,     // BINARY(n), VARBINARY(n)
    LongBinary, // OLEOBJECT, IMAGE
    Guid,       // UNIQUEIDENTIFIER
};

struct JetColumnType {
    JetKind kind = JetKind::Memo;
    int adoType = 0;
    int size = 0;       // Text: characters; Binary: bytes; otherwise 0
    int precision = 0;  // Decimal only
    int scale = 0;      // Decimal only
    // The statement gave the size, precision or scale itself ("VarChar (50)", not "VarChar"):
    // a limit the person who wrote it chose, which values must keep to.
    bool sizeGiven = false;
};

// Reads a type as written in CREATE TABLE ("VarChar (50)", "decimal(18, 0)", "INT"), without
// regard to case. An unknown name, or a size that does not fit the type, is a DatabaseError
// naming `columnName`.
JetColumnType parseJetColumnType(std::string_view typeText, std::string_view columnName);

} // namespace quintabel::db::scratch
