// Round trips, table-driven: for each field type, values at the edges are written by our
// writer and read back by our reader and by pxlib, and compared value for value, NULLs
// included. Then the values the writer must refuse, each with the column and row named.
#include "paradoxfile/calendar.h"
#include "paradoxfile/errors.h"
#include "support/table_compare.h"
#include "support/write_helpers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace quintabel::paradox {
namespace {

using testing::compareWithPxlib;
using testing::encodeInMemory;
using testing::readAll;
using testing::readerOf;
using testing::readWithOurs;
using testing::readWithPxlibAndBlobs;
using testing::Rows;
using testing::ScratchFolder;

std::string repeat(const std::string& piece, std::size_t length)
{
    std::string text;
    while (text.size() < length)
        text += piece;
    text.resize(length);
    return text;
}

Blob pattern(std::size_t length)
{
    Blob bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 7 + 3) % 256);
    return bytes;
}

// One column, many rows: each value is written, then read back as `expected` (the same value
// unless Paradox stores it differently, e.g. -0.0 as 0.0 or "" as blank).
struct ColumnCase {
    std::string name;
    Field field;
    std::vector<Value> values;
    std::vector<std::pair<std::size_t, Value>> readsBackAs = {}; // row index -> expected value
    int codePage = 1252;
};

std::ostream& operator<<(std::ostream& out, const ColumnCase& c)
{
    return out << c.name;
}

std::vector<ColumnCase> columnCases()
{
    const std::string memoText = "Zeile eins\nZeile zwei – Grüße";
    return {
        {"Alpha", {"Name", FieldType::Alpha, 255},
         {Value{std::string("x")}, Value{repeat("abcdefghij", 255)}, Value{std::string("Müller café €")},
          Value{std::string("  leading and trailing  ")}, Value{std::string()}, Value{Null{}}},
         {{4, Null{}}}},
        {"Alpha850", {"Name", FieldType::Alpha, 40},
         {Value{std::string("Ærøskøbing ½ ¿Qué?")}, Value{std::string("ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ")}},
         {},
         850},
        {"Alpha866", {"Имя", FieldType::Alpha, 40},
         {Value{std::string("Привет, мир")}, Value{std::string("Ёлка ёж")}},
         {},
         866},
        {"Alpha437", {"Name", FieldType::Alpha, 20}, {Value{std::string("╔═╗ ░▒▓ ß")}}, {}, 437},
        // Every other page the writer writes, with letters that only some pages have.
        {"Alpha852", {"Jméno", FieldType::Alpha, 40}, {Value{std::string("Příliš žluťoučký kůň Łódź")}}, {}, 852},
        {"Alpha857", {"Ad", FieldType::Alpha, 40}, {Value{std::string("Ğüzel İstanbul şçöı")}}, {}, 857},
        {"Alpha860", {"Nome", FieldType::Alpha, 40}, {Value{std::string("Ação São Tomé ÃÕ")}}, {}, 860},
        {"Alpha861", {"Nafn", FieldType::Alpha, 40}, {Value{std::string("Þórður Ðá ýÝ")}}, {}, 861},
        {"Alpha863", {"Nom", FieldType::Alpha, 40}, {Value{std::string("Québec à l'été ÈÊ")}}, {}, 863},
        {"Alpha1250", {"Jméno", FieldType::Alpha, 40}, {Value{std::string("Příliš žluťoučký Łódź ő")}}, {}, 1250},
        {"Alpha1251", {"Имя", FieldType::Alpha, 40}, {Value{std::string("Съешь же ещё этих булок Ђђ")}}, {}, 1251},
        {"Alpha1253", {"Όνομα", FieldType::Alpha, 40}, {Value{std::string("Καλημέρα κόσμε")}}, {}, 1253},
        {"Alpha1254", {"Ad", FieldType::Alpha, 40}, {Value{std::string("Ğüzel İstanbul şı")}}, {}, 1254},
        {"Alpha1257", {"Vardas", FieldType::Alpha, 40}, {Value{std::string("Ąžuolas ščėū Łódź")}}, {}, 1257},
        {"Short", {"Count", FieldType::Short, 0},
         {Value{std::int64_t{0}}, Value{std::int64_t{1}}, Value{std::int64_t{-1}}, Value{std::int64_t{32767}},
          Value{std::int64_t{-32767}}, Value{Null{}}}},
        {"Long", {"Amount", FieldType::Long, 0},
         {Value{std::int64_t{0}}, Value{std::int64_t{2147483647}}, Value{std::int64_t{-2147483647}},
          Value{std::int64_t{-5}}, Value{Null{}}}},
        {"AutoIncrement", {"Id", FieldType::AutoIncrement, 0},
         {Value{std::int64_t{1}}, Value{std::int64_t{2}}, Value{std::int64_t{1000}}, Value{std::int64_t{2147483647}}}},
        {"Number", {"Value", FieldType::Number, 0},
         {Value{1.5}, Value{-1.5}, Value{12.34}, Value{0.0}, Value{-0.0}, Value{0.1}, Value{DBL_MAX}, Value{-DBL_MAX},
          Value{DBL_MIN}, Value{4.9e-324}, Value{std::int64_t{9007199254740992}}, Value{Null{}}},
         {{4, 0.0}, {10, 9007199254740992.0}}},
        {"Money", {"Price", FieldType::Money, 0}, {Value{19.99}, Value{-0.01}, Value{1e15}, Value{Null{}}}},
        {"Date", {"Day", FieldType::Date, 0},
         {Value{Date{2021, 8, 31}}, Value{Date{1899, 12, 31}}, Value{Date{1600, 2, 29}}, Value{Date{2000, 2, 29}},
          Value{Date{2024, 2, 29}}, Value{Date{1, 1, 1}}, Value{Date{100, 1, 1}}, Value{Date{9999, 12, 31}},
          Value{Date{-44, 3, 15}}, Value{Null{}}}},
        {"Time", {"At", FieldType::Time, 0},
         {Value{Time{0, 0, 0, 0}}, Value{Time{23, 59, 59, 999}}, Value{Time{14, 5, 9, 0}}, Value{Time{12, 0, 0, 1}},
          Value{Null{}}}},
        {"Timestamp", {"When", FieldType::Timestamp, 0},
         {Value{Timestamp{{2021, 8, 31}, {14, 5, 9, 0}}}, Value{Timestamp{{1970, 1, 1}, {0, 0, 0, 0}}},
          Value{Timestamp{{1899, 12, 31}, {23, 59, 59, 999}}}, Value{Timestamp{{2000, 2, 29}, {12, 30, 0, 250}}},
          Value{Timestamp{{9999, 12, 31}, {23, 59, 59, 999}}}, Value{Timestamp{{1, 1, 1}, {0, 0, 0, 1}}},
          Value{Null{}}}},
        {"Logical", {"Flag", FieldType::Logical, 0}, {Value{true}, Value{false}, Value{Null{}}}},
        {"Bcd0", {"Whole", FieldType::Bcd, 0, 0},
         {Value{Decimal{"12345678901234567890123456789012"}}, Value{Decimal{"-99999999999999999999999999999999"}},
          Value{Decimal{"0"}}, Value{Decimal{"-0"}}, Value{std::int64_t{-42}}, Value{Null{}}},
         {{3, Decimal{"0"}}, {4, Decimal{"-42"}}}},
        {"Bcd2", {"Amount", FieldType::Bcd, 0, 2},
         {Value{Decimal{"12.34"}}, Value{Decimal{"-12.34"}}, Value{Decimal{"1.5"}}, Value{Decimal{"0.00"}},
          Value{Decimal{"007.10"}}, Value{Decimal{"123456789012345678901234567890.12"}}},
         {{2, Decimal{"1.50"}}, {4, Decimal{"7.10"}}}},
        {"Bcd32", {"Fraction", FieldType::Bcd, 0, 32},
         {Value{Decimal{"0.12345678901234567890123456789012"}}, Value{Decimal{"-0.99999999999999999999999999999999"}},
          Value{Decimal{"0.1"}}},
         {{2, Decimal{"0.10000000000000000000000000000000"}}}},
        {"Bytes", {"Raw", FieldType::Bytes, 16},
         {Value{pattern(16)}, Value{Blob(16, 0xFF)}, Value{Blob{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
          Value{Null{}}}},
        {"MemoSmallLeader", {"Notes", FieldType::Memo, 15},
         {Value{std::string()}, Value{std::string("a")}, Value{std::string("abcde")}, Value{std::string("abcdef")},
          Value{repeat(memoText, 2048)}, Value{repeat(memoText, 2049)}, Value{repeat("0123456789", 100000)},
          Value{std::string("Grüße")}, Value{Null{}}},
         {{0, Null{}}}},
        {"MemoLargeLeader", {"Notes", FieldType::Memo, 250},
         {Value{repeat("x", 240)}, Value{repeat("y", 241)}, Value{repeat(memoText, 70)}, Value{std::string("z")}}},
        {"MemoManySmall", {"Notes", FieldType::Memo, 11},
         [&] {
             std::vector<Value> values;
             for (int i = 0; i < 300; ++i)
                 values.emplace_back(repeat("memo " + std::to_string(i) + " ", i == 0 ? 0 : static_cast<std::size_t>(1 + i * 7 % 700)));
             return values;
         }(),
         {{0, Null{}}}},
        {"Memo866", {"Notes", FieldType::Memo, 20}, {Value{repeat("Съешь же ещё этих мягких булок ", 3000)}}, {}, 866},
        // Rich-text bytes that are no valid text in the table's code page 936 come back as stored.
        {"FormattedMemo", {"Rich", FieldType::FormattedMemo, 20},
         {Value{Blob{0x7B, 0x81, 0xFF, 0x80, 0x7D}}, Value{pattern(5000)}, Value{Null{}}},
         {},
         936},
        {"Binary", {"Data", FieldType::Binary, 10},
         {Value{pattern(1)}, Value{pattern(2048)}, Value{pattern(2049)}, Value{pattern(100000)}, Value{Blob{}},
          Value{Null{}}},
         {{4, Null{}}}},
        {"BinaryLeader", {"Data", FieldType::Binary, 30}, {Value{pattern(20)}, Value{pattern(21)}, Value{pattern(5000)}}},
        {"Ole", {"Object", FieldType::Ole, 10}, {Value{pattern(300)}, Value{pattern(70000)}}},
        {"Graphic", {"Picture", FieldType::Graphic, 10}, {Value{pattern(54)}, Value{pattern(20078)}, Value{Null{}}}},
    };
}

class ColumnRoundTrip : public ::testing::TestWithParam<ColumnCase> {};

Rows rowsOf(const ColumnCase& c)
{
    Rows rows;
    for (const auto& value : c.values)
        rows.push_back({value});
    return rows;
}

Value expectedAt(const ColumnCase& c, std::size_t row)
{
    for (const auto& [index, value] : c.readsBackAs)
        if (index == row)
            return value;
    return c.values[row];
}

TEST_P(ColumnRoundTrip, OurReaderReadsBackEveryValue)
{
    const ColumnCase& c = GetParam();
    EncoderOptions options;
    options.codePage = c.codePage;
    const auto table = encodeInMemory({c.field}, rowsOf(c), options);
    auto reader = readerOf(table);
    EXPECT_EQ(reader.header().fileVersion, 0x0B);
    EXPECT_EQ(reader.header().codePage, c.codePage);
    EXPECT_EQ(reader.header().fields[0].name, c.field.name);
    const Rows rows = readAll(reader);
    ASSERT_EQ(rows.size(), c.values.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Value expected = expectedAt(c, r);
        EXPECT_EQ(rows[r][0], expected) << "row " << r + 1;
        if (const auto* d = std::get_if<double>(&rows[r][0])) {
            EXPECT_FALSE(std::signbit(*d) && *d == 0) << "negative zero is stored as zero";
        }
    }
    EXPECT_TRUE(reader.warnings().empty());
}

TEST_P(ColumnRoundTrip, PxlibReadsBackEveryValue)
{
    const ColumnCase& c = GetParam();
    ScratchFolder folder;
    WriterOptions options;
    options.codePage = c.codePage;
    TableWriter writer(folder.path(), "CASE", {c.field}, options);
    for (const auto& row : rowsOf(c))
        writer.append(row);
    writer.commit();
    const auto ours = readWithOurs(writer.tablePath());
    const auto pxlib = readWithPxlibAndBlobs(writer.tablePath());
    const auto comparison = compareWithPxlib(ours, pxlib);
    for (const auto& difference : comparison.differences)
        ADD_FAILURE() << difference;
    EXPECT_EQ(ours.records.size(), c.values.size());
}

INSTANTIATE_TEST_SUITE_P(Writer, ColumnRoundTrip, ::testing::ValuesIn(columnCases()),
                         [](const auto& param) { return param.param.name; });

TEST(WriterRoundTrip, EveryTypeInOneTableAndManyBlocks)
{
    const std::vector<Field> fields = {
        {"Id", FieldType::AutoIncrement, 0},   {"Name", FieldType::Alpha, 30},  {"Count", FieldType::Short, 0},
        {"Amount", FieldType::Long, 0},         {"Price", FieldType::Money, 0},  {"Ratio", FieldType::Number, 0},
        {"Exact", FieldType::Bcd, 0, 4},        {"Day", FieldType::Date, 0},     {"At", FieldType::Time, 0},
        {"When", FieldType::Timestamp, 0},      {"Done", FieldType::Logical, 0}, {"Notes", FieldType::Memo, 20},
        {"Rich", FieldType::FormattedMemo, 10}, {"Data", FieldType::Binary, 10}, {"Object", FieldType::Ole, 10},
        {"Picture", FieldType::Graphic, 10},    {"Raw", FieldType::Bytes, 4},
    };
    Rows rows;
    for (int i = 1; i <= 700; ++i) {
        const bool blank = i % 13 == 0;
        auto value = [&](Value v) { return blank ? Value{Null{}} : v; };
        rows.push_back({
            Value{std::int64_t{i}},
            value(std::string("Name ") + std::to_string(i) + " é"),
            value(std::int64_t{i % 32767 - 16000}),
            value(std::int64_t{i * 1000003LL % 2147483647 - 1000000000}),
            value(i * 0.25),
            value(1.0 / i),
            value(Decimal{std::to_string(i) + "." + std::to_string(1000 + i % 9000).substr(0, 4)}),
            value(Date{1900 + i % 200, 1 + i % 12, 1 + i % 28}),
            value(Time{i % 24, i % 60, (i * 7) % 60, i % 1000}),
            value(Timestamp{{1950 + i % 100, 1 + i % 12, 1 + i % 28}, {i % 24, i % 60, i % 60, 0}}),
            value(i % 2 == 0),
            value(repeat("memo " + std::to_string(i) + " ", static_cast<std::size_t>(i * 37 % 5000))),
            value([&] {
                const std::string rich = "{\\rtf1 " + std::to_string(i) + "}";
                return Blob(rich.begin(), rich.end());
            }()),
            value(pattern(static_cast<std::size_t>(i * 11 % 3000 + 1))),
            value(pattern(static_cast<std::size_t>(i % 50 + 1))),
            value(pattern(static_cast<std::size_t>(i * 3 + 8))),
            value(Blob{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 1, 2}),
        });
    }
    ScratchFolder folder;
    WriterOptions options;
    options.blockSizeKB = 2; // many blocks
    TableWriter writer(folder.path(), "ALLTYPES", fields, options);
    for (const auto& row : rows)
        writer.append(row);
    writer.commit();
    const auto ours = readWithOurs(writer.tablePath());
    ASSERT_EQ(ours.records.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t f = 0; f < fields.size(); ++f) {
            Value expected = rows[r][f];
            if (const auto* text = std::get_if<std::string>(&expected); text && text->empty())
                expected = Null{};
            ASSERT_EQ(ours.records[r][f], expected) << "row " << r + 1 << " field " << fields[f].name;
        }
    EXPECT_EQ(ours.header.autoIncrementValue, 700u);
    EXPECT_EQ(ours.header.blocksInUse, 54); // 13 records of 154 bytes per 2 KB block

    const auto pxlib = readWithPxlibAndBlobs(writer.tablePath());
    const auto comparison = compareWithPxlib(ours, pxlib);
    for (const auto& difference : comparison.differences)
        ADD_FAILURE() << difference;
    EXPECT_GT(comparison.blobValuesCompared, 3000u);
}

TEST(WriterRoundTrip, EmptyTable)
{
    const auto table = encodeInMemory({{"A", FieldType::Alpha, 10}, {"M", FieldType::Memo, 20}}, {});
    EXPECT_EQ(table.table.size(), 2048u); // the header alone
    EXPECT_EQ(table.blobs.size(), 4096u); // the .MB header block alone
    auto reader = readerOf(table);
    EXPECT_TRUE(readAll(reader).empty());
    EXPECT_TRUE(reader.warnings().empty());
}

// Values the writer must refuse rather than change; each names the column and the row.
struct RefusedCase {
    std::string name;
    Field field;
    Value value;
    std::string says;
    int codePage = 1252;
};

std::ostream& operator<<(std::ostream& out, const RefusedCase& c)
{
    return out << c.name;
}

const RefusedCase refusedCases[] = {
    {"AlphaTooLong", {"Name", FieldType::Alpha, 5}, std::string("abcdef"), "6 bytes"},
    {"AlphaTooLongInBytes", {"Name", FieldType::Alpha, 5}, std::string("中文"), "'中' (U+4E2D)"},
    {"AlphaOutside1252", {"Name", FieldType::Alpha, 20}, std::string("Привет"), "'П' (U+041F), which code page 1252"},
    // The refusal says which of the pages the writer writes would hold the whole text.
    {"CyrillicNamesItsPages", {"Name", FieldType::Alpha, 20}, std::string("Привет"),
     "cannot store (code pages 866 and 1251 would hold it)"},
    {"AccentedGreekNamesItsPage", {"Name", FieldType::Alpha, 20}, std::string("λόγος"),
     "cannot store (code page 1253 would hold it)", 866},
    {"ChineseNamesGbk", {"Name", FieldType::Alpha, 20}, std::string("中文"), "(code page 936 would hold it)"},
    {"TextNoPageHolds", {"Notes", FieldType::Memo, 20}, std::string("ok \U0001F600"),
     "(no code page a Paradox table can be written in holds it)"},
    {"AlphaOutside850", {"Name", FieldType::Alpha, 20}, std::string("a € b"), "'€' (U+20AC), which code page 850", 850},
    {"AlphaOutside866", {"Name", FieldType::Alpha, 20}, std::string("café"), "'é' (U+00E9), which code page 866", 866},
    {"AlphaWithNul", {"Name", FieldType::Alpha, 20}, std::string("a\0b", 3), "NUL"},
    {"AlphaInvalidUtf8", {"Name", FieldType::Alpha, 20}, std::string("a\xC3"), "invalid UTF-8"},
    {"MemoOutside1252", {"Notes", FieldType::Memo, 20}, std::string("ok ✓"), "'✓' (U+2713)"},
    {"ShortTooSmall", {"Count", FieldType::Short, 0}, std::int64_t{-32768}, "-32768 is outside"},
    {"ShortTooLarge", {"Count", FieldType::Short, 0}, std::int64_t{32768}, "32768 is outside"},
    {"LongTooSmall", {"Amount", FieldType::Long, 0}, std::int64_t{-2147483648LL}, "-2147483648 is outside"},
    {"LongTooLarge", {"Amount", FieldType::Long, 0}, std::int64_t{2147483648LL}, "2147483648 is outside"},
    {"NumberNaN", {"Ratio", FieldType::Number, 0}, std::nan(""), "NaN"},
    {"NumberInfinite", {"Ratio", FieldType::Number, 0}, HUGE_VAL, "infinite"},
    {"NumberInexactInteger", {"Ratio", FieldType::Number, 0}, std::int64_t{9007199254740993}, "more digits"},
    {"NumberFromText", {"Ratio", FieldType::Number, 0}, std::string("1.5"), "takes a number"},
    {"BcdTooManyDecimals", {"Exact", FieldType::Bcd, 0, 2}, Decimal{"1.234"}, "more decimal places"},
    {"BcdTooManyDigits", {"Exact", FieldType::Bcd, 0, 2}, Decimal{"1234567890123456789012345678901.1"}, "more than 30 digits"},
    {"BcdNotANumber", {"Exact", FieldType::Bcd, 0, 2}, Decimal{"12,5"}, "not a decimal number"},
    {"BcdFromDouble", {"Exact", FieldType::Bcd, 0, 2}, 0.1, "decimal number"},
    {"DateInvalid", {"Day", FieldType::Date, 0}, Date{2021, 2, 29}, "no such date"},
    {"TimeInvalid", {"At", FieldType::Time, 0}, Time{24, 0, 0, 0}, "no such time"},
    {"TimestampInvalid", {"When", FieldType::Timestamp, 0}, Timestamp{{2021, 4, 31}, {0, 0, 0, 0}}, "no such date"},
    {"LogicalFromNumber", {"Done", FieldType::Logical, 0}, std::int64_t{1}, "true or false"},
    {"BytesWrongLength", {"Raw", FieldType::Bytes, 4}, Blob{1, 2, 3}, "exactly 4 bytes"},
    {"BytesAllZero", {"Raw", FieldType::Bytes, 4}, Blob{0, 0, 0, 0}, "blank"},
    {"BinaryFromText", {"Data", FieldType::Binary, 10}, std::string("text"), "takes bytes"},
    {"MemoFromBytes", {"Notes", FieldType::Memo, 20}, Blob{1, 2}, "takes text"},
};

class RefusedValue : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedValue, IsRefusedWithColumnAndRow)
{
    const RefusedCase& c = GetParam();
    MemorySink table;
    MemorySink blobs;
    EncoderOptions options;
    options.codePage = c.codePage;
    TableEncoder encoder({c.field, {"Other", FieldType::Long, 0}}, table, &blobs, options);
    encoder.append(std::vector<Value>{Null{}, std::int64_t{1}});
    try {
        encoder.append(std::vector<Value>{c.value, std::int64_t{2}});
        FAIL() << "the value was accepted";
    } catch (const ValueError& error) {
        EXPECT_EQ(error.column(), c.field.name);
        EXPECT_EQ(error.row(), 2u);
        const std::string message = error.what();
        EXPECT_NE(message.find("column '" + c.field.name + "' in row 2"), std::string::npos) << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }
    // The refused record left nothing behind: the table holds the good records only.
    encoder.append(std::vector<Value>{Null{}, std::int64_t{3}});
    encoder.finish();
    auto reader = testing::readerOf({table.bytes(), isBlobType(c.field.type) ? blobs.bytes() : std::vector<std::uint8_t>{}});
    const Rows rows = readAll(reader);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][1], Value{std::int64_t{3}});
}

INSTANTIATE_TEST_SUITE_P(Writer, RefusedValue, ::testing::ValuesIn(refusedCases),
                         [](const auto& param) { return param.param.name; });

// Table definitions the writer refuses.
struct BadDefinition {
    std::string name;
    std::vector<Field> fields;
    std::string says;
    int codePage = 1252;
};

std::ostream& operator<<(std::ostream& out, const BadDefinition& c)
{
    return out << c.name;
}

const BadDefinition badDefinitions[] = {
    {"NoFields", {}, "1 to 255 fields"},
    {"EmptyName", {{"", FieldType::Alpha, 10}}, "no name"},
    {"LongName", {{"ABCDEFGHIJKLMNOPQRSTUVWXYZ", FieldType::Alpha, 10}}, "25 characters"},
    {"DuplicateName", {{"Name", FieldType::Alpha, 10}, {"NAME", FieldType::Long, 0}}, "already has a field"},
    {"LeadingBlank", {{" Name", FieldType::Alpha, 10}}, "cannot begin with a blank"},
    {"NameOutsideCodePage", {{"Имя", FieldType::Alpha, 10}}, "'И' (U+0418), which code page 1252 cannot store (code pages 866 and 1251 would hold it)"},
    {"AlphaZero", {{"A", FieldType::Alpha, 0}}, "1 to 255"},
    {"AlphaTooLong", {{"A", FieldType::Alpha, 256}}, "1 to 255"},
    {"MemoNoLeader", {{"M", FieldType::Memo, 10}}, "11 to 250"},
    {"BlobTooLong", {{"B", FieldType::Binary, 251}}, "10 to 250"},
    {"LongWrongSize", {{"I", FieldType::Long, 2}}, "takes 4 bytes"},
    {"BcdTooManyDecimals", {{"D", FieldType::Bcd, 0, 33}}, "0 to 32"},
    {"DecimalsOnLong", {{"D", FieldType::Long, 0, 2}}, "only BCD"},
    {"UnknownCodePage", {{"A", FieldType::Alpha, 10}}, "no Paradox language driver", 1255},
};

class RefusedDefinition : public ::testing::TestWithParam<BadDefinition> {};

TEST_P(RefusedDefinition, IsRefused)
{
    const BadDefinition& c = GetParam();
    MemorySink table;
    MemorySink blobs;
    EncoderOptions options;
    options.codePage = c.codePage;
    try {
        TableEncoder encoder(c.fields, table, &blobs, options);
        FAIL() << "the definition was accepted";
    } catch (const DefinitionError& error) {
        EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
    }
    EXPECT_EQ(table.size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Writer, RefusedDefinition, ::testing::ValuesIn(badDefinitions),
                         [](const auto& param) { return param.param.name; });

} // namespace
} // namespace quintabel::paradox
