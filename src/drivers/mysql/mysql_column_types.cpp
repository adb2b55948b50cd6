#include "drivers/mysql/mysql_column_types.h"

#include "drivers/ado_types.h"

#include <array>
#include <mariadb_com.h>

namespace quintabel::db::mysql {

namespace {

// MariaDB marks binary strings (BINARY, VARBINARY, BLOB, BIT) with the character set number
// 63; any other number is a text column, whose values arrive as utf8mb4.
constexpr unsigned binaryCharacterSet = 63;

bool isUnsigned(const MYSQL_FIELD& field)
{
    return (field.flags & UNSIGNED_FLAG) != 0;
}

bool isBinary(const MYSQL_FIELD& field)
{
    return field.charsetnr == binaryCharacterSet;
}

// Integer columns: the server's UNSIGNED flag picks the unsigned ADO type. YEAR comes with
// that flag set, so it reports adUnsignedSmallInt like the Windows driver.
struct IntegerRow {
    enum_field_types type;
    int signedAdoType;
    int unsignedAdoType;
};

constexpr std::array integerTypes{
    IntegerRow{MYSQL_TYPE_TINY, ado::adTinyInt, ado::adUnsignedTinyInt},
    IntegerRow{MYSQL_TYPE_SHORT, ado::adSmallInt, ado::adUnsignedSmallInt},
    IntegerRow{MYSQL_TYPE_YEAR, ado::adSmallInt, ado::adUnsignedSmallInt},
    IntegerRow{MYSQL_TYPE_INT24, ado::adInteger, ado::adUnsignedInt},
    IntegerRow{MYSQL_TYPE_LONG, ado::adInteger, ado::adUnsignedInt},
    IntegerRow{MYSQL_TYPE_LONGLONG, ado::adBigInt, ado::adUnsignedBigInt},
};

// Character and binary strings: fixed (CHAR, BINARY, ENUM, SET), variable (VARCHAR,
// VARBINARY) and long (every TEXT and BLOB size, JSON, GEOMETRY). Text columns take the
// Unicode (W) ADO types, because this connection reads every text column as utf8mb4.
struct StringRow {
    enum_field_types type;
    int textAdoType;
    int binaryAdoType;
};

constexpr std::array stringTypes{
    StringRow{MYSQL_TYPE_STRING, ado::adWChar, ado::adBinary},
    StringRow{MYSQL_TYPE_ENUM, ado::adWChar, ado::adWChar},
    StringRow{MYSQL_TYPE_SET, ado::adWChar, ado::adWChar},
    StringRow{MYSQL_TYPE_VAR_STRING, ado::adVarWChar, ado::adVarBinary},
    StringRow{MYSQL_TYPE_VARCHAR, ado::adVarWChar, ado::adVarBinary},
    StringRow{MYSQL_TYPE_TINY_BLOB, ado::adLongVarWChar, ado::adLongVarBinary},
    StringRow{MYSQL_TYPE_BLOB, ado::adLongVarWChar, ado::adLongVarBinary},
    StringRow{MYSQL_TYPE_MEDIUM_BLOB, ado::adLongVarWChar, ado::adLongVarBinary},
    StringRow{MYSQL_TYPE_LONG_BLOB, ado::adLongVarWChar, ado::adLongVarBinary},
    StringRow{MYSQL_TYPE_JSON, ado::adLongVarWChar, ado::adLongVarWChar},
    StringRow{MYSQL_TYPE_GEOMETRY, ado::adLongVarBinary, ado::adLongVarBinary},
};

// Everything else has one ADO type whatever its flags.
struct PlainRow {
    enum_field_types type;
    ColumnKind kind;
};

constexpr std::array plainTypes{
    PlainRow{MYSQL_TYPE_FLOAT, {ado::adSingle, ValueKind::Double}},
    PlainRow{MYSQL_TYPE_DOUBLE, {ado::adDouble, ValueKind::Double}},
    PlainRow{MYSQL_TYPE_DECIMAL, {ado::adNumeric, ValueKind::Decimal}},
    PlainRow{MYSQL_TYPE_NEWDECIMAL, {ado::adNumeric, ValueKind::Decimal}},
    PlainRow{MYSQL_TYPE_DATE, {ado::adDBDate, ValueKind::Date}},
    PlainRow{MYSQL_TYPE_NEWDATE, {ado::adDBDate, ValueKind::Date}},
    PlainRow{MYSQL_TYPE_TIME, {ado::adDBTime, ValueKind::Time}},
    PlainRow{MYSQL_TYPE_DATETIME, {ado::adDBTimeStamp, ValueKind::DateTime}},
    PlainRow{MYSQL_TYPE_TIMESTAMP, {ado::adDBTimeStamp, ValueKind::DateTime}},
    // The column of a bare NULL in a select list: the driver reports it as a string.
    PlainRow{MYSQL_TYPE_NULL, {ado::adVarChar, ValueKind::Text}},
};

} // namespace

ColumnKind classifyColumn(const MYSQL_FIELD& field)
{
    if (field.type == MYSQL_TYPE_BIT) {
        // BIT(1) is a truth value; wider BIT columns are the bytes of a bit string.
        if (field.length == 1)
            return {ado::adBoolean, ValueKind::Boolean};
        return {ado::adBinary, ValueKind::Bytes};
    }
    for (const auto& row : integerTypes) {
        if (row.type == field.type) {
            return isUnsigned(field) ? ColumnKind{row.unsignedAdoType, ValueKind::UnsignedInteger}
                                     : ColumnKind{row.signedAdoType, ValueKind::SignedInteger};
        }
    }
    for (const auto& row : stringTypes) {
        if (row.type == field.type) {
            const bool bytes = row.type == MYSQL_TYPE_GEOMETRY || (isBinary(field)
                                   && row.binaryAdoType != row.textAdoType);
            return bytes ? ColumnKind{row.binaryAdoType, ValueKind::Bytes}
                         : ColumnKind{row.textAdoType, ValueKind::Text};
        }
    }
    for (const auto& row : plainTypes) {
        if (row.type == field.type)
            return row.kind;
    }
    // A type this table does not know yet (a newer server's): its text is kept as text.
    return {ado::adVarWChar, ValueKind::Text};
}

FieldInfo describeColumn(const MYSQL_FIELD& field)
{
    const ColumnKind kind = classifyColumn(field);
    FieldInfo info;
    info.name = std::string(field.name, field.name_length);
    info.adoType = kind.adoType;
    info.nullable = (field.flags & NOT_NULL_FLAG) == 0;
    info.definedSize = static_cast<std::int64_t>(field.length);
    if (kind.valueKind == ValueKind::Text) {
        // The server gives the length in bytes of the connection's character set; ADO gives
        // characters.
        const MARIADB_CHARSET_INFO* charset = mariadb_get_charset_by_nr(field.charsetnr);
        if (charset != nullptr && charset->char_maxlen > 1)
            info.definedSize /= charset->char_maxlen;
    }
    if (kind.valueKind == ValueKind::Decimal) {
        // The display length counts the sign (signed columns) and the point (when scaled).
        int digits = static_cast<int>(field.length);
        if (field.decimals > 0)
            --digits;
        if (!isUnsigned(field))
            --digits;
        info.precision = digits;
        info.scale = static_cast<int>(field.decimals);
    } else if (kind.valueKind == ValueKind::SignedInteger
               || kind.valueKind == ValueKind::UnsignedInteger) {
        info.precision = static_cast<int>(field.length);
    }
    return info;
}

} // namespace quintabel::db::mysql
