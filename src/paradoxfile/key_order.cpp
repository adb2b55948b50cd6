#include "paradoxfile/key_order.h"

#include "paradoxfile/code_page.h"
#include "paradoxfile/detail/record_value.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_encoder.h"

#include <algorithm>
#include <array>

namespace quintabel::paradox {

namespace {

struct KeyedCodePage {
    int codePage;
    LanguageDriver driver;
};

// Byte-order drivers of the character set the table's unkeyed twin would name
// (written_code_pages.cpp): a keyed table never tells a Paradox program to read its text in
// another character set than an unkeyed one does (docs/paradox-format.md §7.4).
constexpr std::array keyedPages{
    KeyedCodePage{437, {0x00, "ascii"}},     KeyedCodePage{850, {0x00, "ascii"}},
    KeyedCodePage{860, {0x00, "ascii"}},     KeyedCodePage{863, {0x00, "ascii"}},
    KeyedCodePage{1252, {0x4C, "DBWINUS0"}}, KeyedCodePage{1257, {0x4C, "DBWINUS0"}},
};

constexpr std::array<int, keyedPages.size()> keyedNumbers = [] {
    std::array<int, keyedPages.size()> numbers{};
    for (std::size_t i = 0; i < keyedPages.size(); ++i)
        numbers[i] = keyedPages[i].codePage;
    return numbers;
}();

std::string keyedCodePagesInWords()
{
    std::string list;
    for (std::size_t i = 0; i < keyedNumbers.size(); ++i)
        list += (i == 0 ? "" : i + 1 == keyedNumbers.size() ? " and " : ", ") + std::to_string(keyedNumbers[i]);
    return list;
}

} // namespace

std::optional<LanguageDriver> keyedLanguageDriver(int codePage)
{
    for (const KeyedCodePage& keyed : keyedPages)
        if (keyed.codePage == codePage)
            return keyed.driver;
    return std::nullopt;
}

std::span<const int> keyedCodePages()
{
    return keyedNumbers;
}

void checkKeyDefinition(const std::vector<Field>& fields, int keyFieldCount, int codePage)
{
    if (keyFieldCount < 0 || keyFieldCount > maxKeyFields || static_cast<std::size_t>(keyFieldCount) > fields.size())
        throw DefinitionError("A Paradox primary key is 0 to " + std::to_string(maxKeyFields)
                              + " of the table's first fields, not " + std::to_string(keyFieldCount) + " of "
                              + std::to_string(fields.size()) + ".");
    for (int i = 0; i < keyFieldCount; ++i) {
        const Field& field = fields[static_cast<std::size_t>(i)];
        if (isBlobType(field.type) || field.type == FieldType::Bytes)
            throw DefinitionError("Field '" + field.name + "' cannot be part of the primary key: Paradox keys no "
                                  + std::string(fieldTypeName(field.type)) + " field.");
    }
    if (keyFieldCount > 0 && !keyedLanguageDriver(codePage))
        throw DefinitionError("A keyed table cannot be written in code page " + std::to_string(codePage)
                              + ": Paradox sorts its keys by the rules of a language, which Quintabel does not "
                                "reproduce. Keyed tables are written in code pages "
                              + keyedCodePagesInWords() + "; in code page " + std::to_string(codePage)
                              + " the table can be written without a key.");
}

struct KeyEncoder::Impl {
    std::vector<Field> fields;
    std::vector<int> offsets;
    CodePage codePage;
    std::vector<std::uint8_t> bytes;
    std::string text;

    Impl(std::vector<Field> keyFields, int number) : fields(std::move(keyFields)), codePage(number) {}
};

KeyEncoder::KeyEncoder(std::vector<Field> keyFields, int codePage)
{
    keyFields = checkedDefinition(std::move(keyFields), codePage);
    checkKeyDefinition(keyFields, static_cast<int>(keyFields.size()), codePage);
    impl_ = std::make_unique<Impl>(std::move(keyFields), codePage);
    int size = 0;
    for (const Field& field : impl_->fields) {
        impl_->offsets.push_back(size);
        size += field.size;
    }
    impl_->bytes.resize(static_cast<std::size_t>(size));
}

KeyEncoder::~KeyEncoder() = default;
KeyEncoder::KeyEncoder(KeyEncoder&&) noexcept = default;
KeyEncoder& KeyEncoder::operator=(KeyEncoder&&) noexcept = default;

std::span<const std::uint8_t> KeyEncoder::encode(std::span<const Value> keyValues)
{
    Impl& d = *impl_;
    if (keyValues.size() != d.fields.size())
        throw ValueError("A key of " + std::to_string(d.fields.size()) + " fields cannot be made of "
                             + std::to_string(keyValues.size()) + " values.",
                         std::string(), 0);
    std::fill(d.bytes.begin(), d.bytes.end(), std::uint8_t{0});
    for (std::size_t i = 0; i < d.fields.size(); ++i) {
        const Field& field = d.fields[i];
        if (const auto problem =
                detail::encodeRecordValue(field, keyValues[i], d.codePage, d.bytes.data() + d.offsets[i], d.text))
            throw ValueError("Cannot store the value of key column '" + field.name + "': " + *problem + ".",
                             field.name, 0);
    }
    return d.bytes;
}

std::size_t KeyEncoder::keySize() const
{
    return impl_->bytes.size();
}

} // namespace quintabel::paradox
