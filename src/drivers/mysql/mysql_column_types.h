#pragma once
// How a MariaDB/MySQL result column is reported upwards: the ADO type number the Windows
// stack ("MySQL ODBC 5.1 Driver" under ADO) gives it, and the kind of value its text is
// turned into.

#include "drivers/driver.h"

#include <mysql.h>

namespace quintabel::db::mysql {

enum class ValueKind {
    SignedInteger,
    UnsignedInteger,
    Boolean,  // BIT(1)
    Double,   // FLOAT and DOUBLE: the server sends the shortest text that reads back exactly
    Decimal,  // exact digits
    Date,
    Time,
    DateTime,
    Text,     // UTF-8
    Bytes,
};

struct ColumnKind {
    int adoType;
    ValueKind valueKind;
};

ColumnKind classifyColumn(const MYSQL_FIELD& field);
FieldInfo describeColumn(const MYSQL_FIELD& field);

} // namespace quintabel::db::mysql
