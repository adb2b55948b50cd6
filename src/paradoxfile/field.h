#pragma once
// Field types and field descriptors of a Paradox table.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quintabel::paradox {

// The type codes stored in the header's field descriptors.
enum class FieldType : std::uint8_t {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Money = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Binary = 0x0D,
    FormattedMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoIncrement = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

// The type code as a FieldType, or nothing when the code is not a Paradox field type.
std::optional<FieldType> fieldTypeFromCode(std::uint8_t code);

// Paradox's one-letter name: A D S I $ N L M B F O G T @ + # Y.
char fieldTypeLetter(FieldType type);

// "Alpha", "Long Integer", "Formatted Memo", ...
std::string_view fieldTypeName(FieldType type);

// Memo, Binary, Formatted Memo, OLE and Graphic keep their values in the .MB file.
bool isBlobType(FieldType type);

// The record size of the types whose size is fixed (Date 4, Short 2, BCD 17, ...); nothing for
// Alpha, Bytes and the blob types, whose size is declared.
std::optional<int> fixedFieldSize(FieldType type);

// One field of a table. `size` is the number of bytes the field takes in each record (for a
// blob field: the in-record leader plus 10 bytes of pointer; 17 for BCD). `decimals` is the
// number of decimal places of a BCD field (0..32) and 0 for every other type.
struct Field {
    std::string name; // UTF-8
    FieldType type = FieldType::Alpha;
    int size = 0;
    int decimals = 0;

    bool operator==(const Field&) const = default;

    // Bytes of a blob field's value kept in the record itself (size - 10).
    int leaderSize() const { return isBlobType(type) ? size - 10 : 0; }
};

} // namespace quintabel::paradox
