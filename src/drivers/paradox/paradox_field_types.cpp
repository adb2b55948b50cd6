#include "drivers/paradox/paradox_field_types.h"

#include "drivers/ado_types.h"

#include <array>

namespace quintabel::db::paradox {

namespace {

using quintabel::paradox::FieldType;

struct TypeRow {
    FieldType type;
    int adoType;
};

// The Windows Paradox driver reports Alpha and Memo as the non-Unicode types, every number
// but Short and Long Integer as a double, and Time as a timestamp. It hides Formatted Memo
// and may hide Binary and Graphic; here they are shown, as long binaries, because a hidden
// field would be left out of a transfer without a word. A formatted memo is rich-text bytes
// in Paradox's own format, not text in the table's code page, so it is binary too.
constexpr std::array typeRows{
    TypeRow{FieldType::Alpha, ado::adVarChar},
    TypeRow{FieldType::Number, ado::adDouble},
    TypeRow{FieldType::Money, ado::adDouble},
    TypeRow{FieldType::Short, ado::adSmallInt},
    TypeRow{FieldType::Long, ado::adInteger},
    TypeRow{FieldType::Date, ado::adDBDate},
    TypeRow{FieldType::Time, ado::adDBTimeStamp},
    TypeRow{FieldType::Timestamp, ado::adDBTimeStamp},
    TypeRow{FieldType::Logical, ado::adBoolean},
    TypeRow{FieldType::AutoIncrement, ado::adInteger},
    TypeRow{FieldType::Bcd, ado::adDouble},
    TypeRow{FieldType::Bytes, ado::adBinary},
    TypeRow{FieldType::Memo, ado::adLongVarChar},
    TypeRow{FieldType::FormattedMemo, ado::adLongVarBinary},
    TypeRow{FieldType::Binary, ado::adLongVarBinary},
    TypeRow{FieldType::Ole, ado::adLongVarBinary},
    TypeRow{FieldType::Graphic, ado::adLongVarBinary},
};

} // namespace

int adoTypeOf(FieldType type)
{
    for (const TypeRow& row : typeRows) {
        if (row.type == type)
            return row.adoType;
    }
    return ado::adVarBinary; // unreachable: every field type has a row
}

FieldInfo describeField(const quintabel::paradox::Field& field)
{
    FieldInfo info;
    info.name = field.name;
    info.adoType = adoTypeOf(field.type);
    info.definedSize = field.size;
    info.nullable = true; // every Paradox field may be blank
    if (field.type == FieldType::Bcd) {
        info.precision = 32;
        info.scale = field.decimals;
    }
    return info;
}

Value toDbValue(const quintabel::paradox::Value& value)
{
    namespace px = quintabel::paradox;
    struct Converter {
        Value operator()(const px::Null&) const { return Null{}; }
        Value operator()(std::int64_t number) const { return number; }
        Value operator()(double number) const { return number; }
        // A BCD value keeps its exact digits although the field reports a double.
        Value operator()(const px::Decimal& number) const { return Decimal{number.digits}; }
        Value operator()(bool truth) const { return truth; }
        Value operator()(const px::Date& date) const
        {
            return Date{date.year, date.month, date.day};
        }
        Value operator()(const px::Time& time) const
        {
            return Time{time.hour, time.minute, time.second, time.millisecond * 1000};
        }
        Value operator()(const px::Timestamp& stamp) const
        {
            return DateTime{{stamp.date.year, stamp.date.month, stamp.date.day},
                            {stamp.time.hour, stamp.time.minute, stamp.time.second,
                             stamp.time.millisecond * 1000}};
        }
        Value operator()(const std::string& text) const { return text; }
        Value operator()(const px::Blob& bytes) const { return Bytes(bytes); }
    };
    return std::visit(Converter{}, value);
}

} // namespace quintabel::db::paradox
