#include "paradoxfile/key_order.h"

#include "paradoxfile/code_page.h"
#include "paradoxfile/detail/record_value.h"
#include "paradoxfile/detail/utf8.h"
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

// Where the weights of AlphaKeyOrder start: bytes of the code page first, then characters
// without a byte, then the bytes of text that is not UTF-8.
constexpr std::uint32_t unstorableCharacters = 0x100;
constexpr std::uint32_t invalidBytes = unstorableCharacters + 0x110000;

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

std::vector<std::uint8_t> keyBytes(const std::vector<Field>& keyFields, std::span<const Value> keyValues,
                                   int codePage)
{
    KeyEncoder encoder(keyFields, codePage);
    const auto bytes = encoder.encode(keyValues);
    return {bytes.begin(), bytes.end()};
}

AlphaKeyOrder::AlphaKeyOrder(int codePage)
{
    checkKeyDefinition({Field{"text", FieldType::Alpha, 1, 0}}, 1, codePage);
    const CodePage page(codePage);
    std::string text;
    std::string back;
    for (int byte = 1; byte < 256; ++byte) {
        const auto stored = static_cast<std::uint8_t>(byte);
        text.clear();
        page.decode({&stored, 1}, text);
        std::size_t pos = 0;
        char32_t character = 0;
        const bool decoded = detail::nextCodePoint(text, pos, character) && pos == text.size();
        back.clear();
        // The byte the writer stores for the character, which need not be this one when two
        // bytes read as the same character.
        const bool stores = decoded && !page.encode(text, back) && back.size() == 1;
        if (byte < 0x80) {
            // The fast path compares ASCII by its bytes.
            if (!stores || character != static_cast<char32_t>(byte) || back[0] != static_cast<char>(byte))
                throw DefinitionError("Code page " + std::to_string(codePage) + " does not keep ASCII as it is.");
        } else if (stores && character >= 0x80) {
            upperHalf_.emplace_back(character, static_cast<std::uint8_t>(back[0]));
        }
    }
    std::sort(upperHalf_.begin(), upperHalf_.end());
    upperHalf_.erase(std::unique(upperHalf_.begin(), upperHalf_.end()), upperHalf_.end());
}

std::uint32_t AlphaKeyOrder::nextWeight(std::string_view text, std::size_t& pos) const noexcept
{
    char32_t character = 0;
    if (!detail::nextCodePoint(text, pos, character))
        return invalidBytes + static_cast<unsigned char>(text[pos++]);
    if (character < 0x80)
        return character;
    const auto found = std::lower_bound(upperHalf_.begin(), upperHalf_.end(), std::pair{character, std::uint8_t{0}});
    if (found != upperHalf_.end() && found->first == character)
        return found->second;
    return unstorableCharacters + character;
}

int AlphaKeyOrder::compare(std::string_view a, std::string_view b) const noexcept
{
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t i = 0;
    // A place where both texts begin a character: after an ASCII byte, whatever came before
    // it, since no UTF-8 sequence (nor a broken one, byte by byte) takes an ASCII byte in.
    std::size_t characterStart = 0;
    while (i < common && a[i] == b[i]) {
        if (static_cast<unsigned char>(a[i]) < 0x80)
            characterStart = i + 1;
        ++i;
    }
    const auto asciiOrEnd = [](std::string_view text, std::size_t at) {
        return at >= text.size() || static_cast<unsigned char>(text[at]) < 0x80;
    };
    if (asciiOrEnd(a, i) && asciiOrEnd(b, i)) {
        // The bytes before `i` split into the same characters in both texts, and the ASCII
        // byte at `i` (or the end) decides: an ASCII character's weight is its byte.
        if (i == a.size() || i == b.size())
            return (i == a.size() ? 0 : 1) - (i == b.size() ? 0 : 1);
        return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
    }
    std::size_t pa = characterStart;
    std::size_t pb = characterStart;
    for (;;) {
        if (pa >= a.size() || pb >= b.size())
            return (pa >= a.size() ? 0 : 1) - (pb >= b.size() ? 0 : 1);
        const std::uint32_t wa = nextWeight(a, pa);
        const std::uint32_t wb = nextWeight(b, pb);
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
}

} // namespace quintabel::paradox
