#pragma once
// The order of a keyed Paradox table as Quintabel writes it (docs/paradox-format.md §7.4).
//
// A keyed table's key is its first N fields. Its records, and the entries of its primary
// index, ascend in the byte order of their key bytes: the key fields exactly as the record
// stores them, compared like memcmp. Keyed tables are written only in code pages that have a
// byte-order sort order of their own character set (Paradox's "ascii" for the DOS pages,
// "ascii" ANSI for the Windows ones), so that this is the order Paradox itself keeps.
//
// Two keys are equal, in Paradox's terms, when their bytes are; so:
//   - a blank (NULL) field equals only a blank field of that field and sorts before every
//     value. An empty Alpha text is blank: NULL and "" are the same key;
//   - 0.0 and -0.0 are one number (the writer stores -0.0 as 0.0); 1.5 in a BCD field of two
//     decimals is 1.50;
//   - numbers, dates, times and timestamps compare by value; false sorts before true;
//   - Alpha compares the text's bytes in the code page, padded with NULs: no folding of case
//     or accents ("A" < "B" < "a" in every keyed code page; "a" and "A" are two keys), a
//     shorter text sorts before every longer one it begins ("a" < "a " < "ab"), and characters
//     above 127 sort by their byte in the code page, not by the alphabet.
// Bytes (Y) and the blob types cannot be key fields.

#include "paradoxfile/field.h"
#include "paradoxfile/value.h"
#include "paradoxfile/written_code_pages.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quintabel::paradox {

// Paradox's limit on the fields of a primary key.
inline constexpr int maxKeyFields = 16;

// The sort order a keyed table in `codePage` names: "ascii" (0x00) for 437, 850, 860 and 863,
// "DBWINUS0" (0x4C) for 1252 and 1257. Nothing for every other code page: their Paradox sort
// orders collate by language, in ways Quintabel does not reproduce.
std::optional<LanguageDriver> keyedLanguageDriver(int codePage);

// The code pages keyed tables are written in, ascending.
std::span<const int> keyedCodePages();

// Checks that the first `keyFieldCount` of `fields` (0 to 16 of them) can be a primary key in
// code page `codePage`: no Bytes or blob fields, and a code page with a byte-order sort order
// when there is a key at all. Throws DefinitionError, whose message says what to do instead.
void checkKeyDefinition(const std::vector<Field>& fields, int keyFieldCount, int codePage);

// Turns one record's key values into its key bytes, for a caller that puts records in key
// order before they reach the writer. Memory stays flat: the bytes live in the encoder.
class KeyEncoder {
public:
    // `keyFields`: the table's first fields, its key; a fixed-size type may say size 0.
    // Throws DefinitionError (see checkKeyDefinition).
    KeyEncoder(std::vector<Field> keyFields, int codePage);
    ~KeyEncoder();
    KeyEncoder(KeyEncoder&&) noexcept;
    KeyEncoder& operator=(KeyEncoder&&) noexcept;

    // One value per key field, as TableWriter::append takes them. The bytes stay valid until
    // the next call. Throws ValueError (the column named, row 0) for a value the field cannot
    // hold, exactly as the writer would refuse it.
    std::span<const std::uint8_t> encode(std::span<const Value> keyValues);

    std::size_t keySize() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quintabel::paradox
