// The code page a table's text is read in: the one chosen, the header's, the one its sort
// order names, or a guess, and what the reader says when text is not valid in it.
#include "paradoxfile/code_page.h"
#include "paradoxfile/detail/endian.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/written_code_pages.h"
#include "support/write_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace quintabel::paradox {
namespace {

using detail::loadLe16;
using detail::storeLe16;
using testing::encodeInMemory;
using testing::MemoryTable;
using testing::readAll;
using testing::readerOf;

constexpr std::size_t headerCodePage = 0x6A;

MemoryTable namesTable(int codePage, const std::vector<std::string>& names)
{
    testing::Rows rows;
    for (const auto& name : names)
        rows.push_back({name});
    EncoderOptions options;
    options.codePage = codePage;
    return encodeInMemory({{"NAME", FieldType::Alpha, 20}}, rows, options);
}

// Replaces the first `from` in the table's bytes with `to` (of the same length).
void replaceBytes(MemoryTable& table, const std::string& from, const std::string& to)
{
    ASSERT_EQ(from.size(), to.size());
    const auto at = std::search(table.table.begin(), table.table.end(), from.begin(), from.end());
    ASSERT_NE(at, table.table.end()) << from;
    std::memcpy(&*at, to.data(), to.size());
}

// Gives the header the sort order `id` (of the length of the one there; empty: no id, as in
// 3.x and 4.x headers) and `byte`.
void setSortOrder(MemoryTable& table, const std::string& id, std::uint8_t byte)
{
    const std::size_t at = 0x58 + loadLe16(table.table.data() + 0x6E);
    const std::string old(reinterpret_cast<const char*>(table.table.data() + at));
    if (id.empty()) {
        table.table[at] = 0;
    } else {
        ASSERT_EQ(old.size(), id.size()) << old;
        std::memcpy(table.table.data() + at, id.data(), id.size());
    }
    table.table[0x29] = byte;
}

InvalidTextError invalidTextOf(const MemoryTable& table, const ReaderOptions& options = {})
{
    try {
        auto reader = readerOf(table, options);
        readAll(reader);
    } catch (const InvalidTextError& error) {
        return error;
    }
    ADD_FAILURE() << "the table was read";
    return InvalidTextError("", "", 0, 0, CodePageOrigin::Header);
}

TEST(InvalidText, NamesTheTableFieldRecordAndCodePageAndDoesNotCallTheFileCorrupt)
{
    MemoryTable table = namesTable(936, {"ok", "QQQQ"});
    // A GBK lead byte followed by DEL, and a byte no GBK character begins with.
    replaceBytes(table, "QQQQ", "\x81\x7f\xff\xff");
    const InvalidTextError error = invalidTextOf(table);
    EXPECT_EQ(error.tableFile(), "mem.db");
    EXPECT_EQ(error.field(), "NAME");
    EXPECT_EQ(error.record(), 2u);
    EXPECT_EQ(error.codePage(), 936);
    EXPECT_EQ(error.codePageOrigin(), CodePageOrigin::Header);
    const std::string message = error.what();
    EXPECT_EQ(message.find("orrupt"), std::string::npos) << message;
    EXPECT_NE(message.find("'mem.db'"), std::string::npos) << message;
    EXPECT_NE(message.find("field 'NAME' in record 2"), std::string::npos) << message;
    EXPECT_NE(message.find("code page 936, the code page its header names"), std::string::npos) << message;
}

TEST(InvalidText, AWrongCodePageInTheHeaderIsPutRightByChoosingTheRealOne)
{
    // Cyrillic written in 1251 under a header that claims 936, as some tools leave it.
    MemoryTable table = namesTable(1251, {"Приве", "Мир"});
    storeLe16(table.table.data() + headerCodePage, 936);
    const InvalidTextError error = invalidTextOf(table);
    EXPECT_EQ(error.codePage(), 936);
    EXPECT_EQ(error.record(), 1u);

    ReaderOptions real;
    real.codePage = 1251;
    auto reader = readerOf(table, real);
    EXPECT_EQ(reader.header().codePageOrigin, CodePageOrigin::Chosen);
    const auto rows = readAll(reader);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], Value{std::string("Приве")});
    EXPECT_EQ(rows[1][0], Value{std::string("Мир")});

    // A choice that is wrong too is named as the choice.
    ReaderOptions wrong;
    wrong.codePage = 936;
    const InvalidTextError chosen = invalidTextOf(namesTable(1251, {"Приве"}), wrong);
    EXPECT_EQ(chosen.codePageOrigin(), CodePageOrigin::Chosen);
    EXPECT_NE(std::string(chosen.what()).find("the code page chosen for reading it"), std::string::npos);
}

TEST(InvalidText, TextInTheHeaderIsNamedAsSuch)
{
    MemoryTable table = namesTable(936, {"ok"});
    replaceBytes(table, std::string("NAME\0", 5), std::string("\x81\x7f" "ME\0", 5));
    try {
        readerOf(table);
        FAIL() << "the header was read";
    } catch (const InvalidTextError& error) {
        EXPECT_EQ(error.record(), 0u);
        EXPECT_TRUE(error.field().empty());
        EXPECT_NE(std::string(error.what()).find("the name of field 1 in its header"), std::string::npos) << error.what();
    }
}

// A header without a code page: every table the writer writes in a page that has a Paradox
// driver of its own is read back in that page from its sort order alone.
TEST(SortOrderCodePage, TheWritersDriversLeadTheReaderToTheirCodePages)
{
    int checked = 0;
    for (const int codePage : writableCodePages()) {
        const LanguageDriver driver = *languageDriverForCodePage(codePage);
        if (std::string(driver.id) == "ascii" || (std::string(driver.id) == "ANSIINTL" && codePage != 1252))
            continue; // drivers that leave the page to the header
        SCOPED_TRACE(codePage);
        MemoryTable table = namesTable(codePage, {"x"});
        storeLe16(table.table.data() + headerCodePage, 0);
        auto reader = readerOf(table);
        EXPECT_EQ(reader.header().textCodePage, codePage);
        EXPECT_EQ(reader.header().codePageOrigin, CodePageOrigin::SortOrder);
        // Without the id, as in 3.x and 4.x headers, the byte alone: it names the same page,
        // or (where two drivers share it) none.
        setSortOrder(table, "", driver.sortOrder);
        const auto byByte = readerOf(table).header();
        EXPECT_TRUE(byByte.codePageOrigin == CodePageOrigin::Guessed || byByte.textCodePage == codePage)
            << byByte.textCodePage;
        ++checked;
    }
    EXPECT_GE(checked, 11);
}

TEST(SortOrderCodePage, HpRomanEightTablesAreReadInRomanEight)
{
    MemoryTable table = namesTable(1252, {"QQQ"});
    storeLe16(table.table.data() + headerCodePage, 0);
    setSortOrder(table, "BLROM800", 0x14);
    // é is 0xC5 in HP Roman-8 (and a box-drawing cross in the DOS default, 437).
    replaceBytes(table, "QQQ", "\xC5t\xC5");
    auto reader = readerOf(table);
    EXPECT_EQ(reader.header().textCodePage, hpRoman8CodePage);
    EXPECT_EQ(reader.header().codePageOrigin, CodePageOrigin::SortOrder);
    EXPECT_EQ(readAll(reader).at(0).at(0), Value{std::string("été")});
}

TEST(SortOrderCodePage, AnUnknownSortOrderIsAGuessAndSaysSo)
{
    MemoryTable table = namesTable(1252, {"x"});
    storeLe16(table.table.data() + headerCodePage, 0);
    // An id the reader does not know says nothing, even beside a byte it knows.
    setSortOrder(table, "ZZZZZZZZ", 0x62);
    const auto header = readerOf(table).header();
    EXPECT_EQ(header.textCodePage, guessedCodePage);
    EXPECT_EQ(header.codePageOrigin, CodePageOrigin::Guessed);
    setSortOrder(table, "", 0x77);
    EXPECT_EQ(readerOf(table).header().codePageOrigin, CodePageOrigin::Guessed);
}

} // namespace
} // namespace quintabel::paradox
