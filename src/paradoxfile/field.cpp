#include "paradoxfile/field.h"

#include <array>

namespace quintabel::paradox {

namespace {

struct TypeFacts {
    FieldType type;
    char letter;
    std::string_view name;
    int fixedSize; // 0: declared per field
};

// One row per type, in type-code order.
constexpr std::array<TypeFacts, 17> typeTable{{
    {FieldType::Alpha, 'A', "Alpha", 0},
    {FieldType::Date, 'D', "Date", 4},
    {FieldType::Short, 'S', "Short", 2},
    {FieldType::Long, 'I', "Long Integer", 4},
    {FieldType::Money, '$', "Money", 8},
    {FieldType::Number, 'N', "Number", 8},
    {FieldType::Logical, 'L', "Logical", 1},
    {FieldType::Memo, 'M', "Memo", 0},
    {FieldType::Binary, 'B', "Binary", 0},
    {FieldType::FormattedMemo, 'F', "Formatted Memo", 0},
    {FieldType::Ole, 'O', "OLE", 0},
    {FieldType::Graphic, 'G', "Graphic", 0},
    {FieldType::Time, 'T', "Time", 4},
    {FieldType::Timestamp, '@', "Timestamp", 8},
    {FieldType::AutoIncrement, '+', "Autoincrement", 4},
    {FieldType::Bcd, '#', "BCD", 17},
    {FieldType::Bytes, 'Y', "Bytes", 0},
}};

const TypeFacts& factsOf(FieldType type)
{
    for (const auto& facts : typeTable)
        if (facts.type == type)
            return facts;
    return typeTable[0]; // unreachable for a valid FieldType
}

} // namespace

std::optional<FieldType> fieldTypeFromCode(std::uint8_t code)
{
    for (const auto& facts : typeTable)
        if (static_cast<std::uint8_t>(facts.type) == code)
            return facts.type;
    return std::nullopt;
}

char fieldTypeLetter(FieldType type)
{
    return factsOf(type).letter;
}

std::string_view fieldTypeName(FieldType type)
{
    return factsOf(type).name;
}

bool isBlobType(FieldType type)
{
    switch (type) {
    case FieldType::Memo:
    case FieldType::Binary:
    case FieldType::FormattedMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
        return true;
    default:
        return false;
    }
}

std::optional<int> fixedFieldSize(FieldType type)
{
    const int size = factsOf(type).fixedSize;
    if (size == 0)
        return std::nullopt;
    return size;
}

} // namespace quintabel::paradox
