// pdxtool: info, dump and copy, checked against pxlib's reading of every test table.
#include "paradoxfile/calendar.h"
#include "paradoxfile/code_page.h"
#include "pdxtool/commands.h"
#include "pdxtool/json_writer.h"
#include "support/table_compare.h"
#include "support/write_helpers.h"

#include "paradoxfile/byte_io.h"
#include "paradoxfile/key_order.h"
#include "paradoxfile/table_family.h"
#include "paradoxfile/table_writer.h"

#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace quintabel::paradox {
namespace {

using testing::compareWithPxlib;
using testing::readPrimaryIndexWithPxlib;
using testing::readWithOurs;
using testing::readWithPxlibAndBlobs;
using testing::ScratchFolder;
using testing::testdataPath;
using testing::testdataTables;

struct ToolRun {
    int status = 0;
    std::string out;
    std::string err;
};

std::string contentOf(std::FILE* file)
{
    std::rewind(file);
    std::string text;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    std::fclose(file);
    return text;
}

ToolRun pdxtool(const std::vector<std::string>& arguments)
{
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ToolRun run;
    run.status = pdxtool::run(arguments, out, err);
    run.out = contentOf(out);
    run.err = contentOf(err);
    return run;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// A JSON string, written here again so the test does not lean on pdxtool's own code.
std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string shortest(double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string hex(const std::string& bytes)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string out = "{\"hex\": \"";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out + "\"}";
}

std::string bcdText(std::string text)
{
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

// The dump line pdxtool should print for one record, built from pxlib's values. Where pxlib
// is known to be wrong (docs/paradox-format.md §10), our own value stands in.
std::string expectedLine(const testing::OurTable& ours, const testing::PxlibTable& pxlib, std::size_t r,
                         std::size_t& standIns)
{
    const CodePage codePage(pxlib.codePage != 0 ? pxlib.codePage : ours.header.textCodePage);
    auto decode = [&](const std::string& bytes) {
        std::string text;
        codePage.decode({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, text);
        return text;
    };
    auto oursAsText = [&](const Value& value) -> std::string {
        // Only for the stand-ins: a blank, a BCD or Bytes value.
        if (isNull(value))
            return "null";
        if (const auto* d = std::get_if<Decimal>(&value))
            return quoted(d->digits);
        const auto& b = std::get<Blob>(value);
        return hex(std::string(b.begin(), b.end()));
    };
    std::string line = "{";
    for (std::size_t i = 0; i < ours.header.fields.size(); ++i) {
        const Field& field = ours.header.fields[i];
        const testing::PxlibValue& p = pxlib.records[r][i];
        const Value& a = ours.records[r][i];
        if (i)
            line += ", ";
        line += quoted(field.name) + ": ";
        std::string value;
        switch (field.type) {
        case FieldType::Alpha:
            value = p.isNull ? "null" : quoted(pxlib.codePage != 0 ? p.bytes : decode(p.bytes));
            break;
        case FieldType::Short:
        case FieldType::Long:
        case FieldType::AutoIncrement:
            value = p.isNull || (isNull(a) && p.integer == INT_MIN) ? "null" : std::to_string(p.integer);
            break;
        case FieldType::Date:
            value = p.isNull || (isNull(a) && p.integer == INT_MIN) ? "null" : quoted(formatDate(*dateFromDayNumber(p.integer)));
            break;
        case FieldType::Time:
            value = p.isNull || (isNull(a) && p.integer < 0) ? "null" : quoted(formatTime(timeFromMilliseconds(p.integer)));
            break;
        case FieldType::Timestamp: {
            if (p.isNull || (isNull(a) && p.number <= 0)) {
                value = "null";
                break;
            }
            const auto ms = static_cast<std::int64_t>(p.number);
            std::int64_t day = ms / millisecondsPerDay;
            std::int64_t inDay = ms % millisecondsPerDay;
            if (inDay < 0) {
                inDay += millisecondsPerDay;
                --day;
            }
            value = quoted(formatTimestamp({*dateFromDayNumber(day), timeFromMilliseconds(inDay)}));
            break;
        }
        case FieldType::Number:
        case FieldType::Money:
            value = p.isNull || (isNull(a) && p.number == 0) ? "null" : shortest(p.number);
            break;
        case FieldType::Logical:
            value = p.isNull ? "null" : (p.integer ? "true" : "false");
            break;
        case FieldType::Bcd:
            if (p.isNull) {
                value = "null";
            } else if (isNull(a) || p.bytes.find_first_not_of("-0123456789.") != std::string::npos) {
                value = oursAsText(a); // pxlib ignores the blank bit and garbles nibbles above 9
                ++standIns;
            } else {
                value = quoted(bcdText(p.bytes));
            }
            break;
        case FieldType::Bytes:
            if (p.isNull && !isNull(a)) {
                value = oursAsText(a); // pxlib takes a first zero byte for blank
                ++standIns;
            } else {
                value = p.isNull ? "null" : hex(p.bytes);
            }
            break;
        case FieldType::Memo:
            value = p.isNull ? "null" : quoted(decode(p.bytes));
            break;
        case FieldType::FormattedMemo:
        case FieldType::Binary:
        case FieldType::Ole:
        case FieldType::Graphic:
            value = p.isNull ? "null" : hex(p.bytes);
            break;
        }
        line += value;
    }
    return line + "}";
}

std::string testNameOf(const ::testing::TestParamInfo<std::filesystem::path>& table)
{
    return testing::testdataTestName(table.param);
}

class EveryTable : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(EveryTable, DumpAgreesWithPxlib)
{
    const auto& path = GetParam();
    const ToolRun run = pdxtool({"dump", path.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto dumped = lines(run.out);
    const auto ours = readWithOurs(path);
    const auto pxlib = readWithPxlibAndBlobs(path);
    ASSERT_FALSE(pxlib.crashed);
    ASSERT_EQ(dumped.size(), pxlib.records.size());
    std::size_t standIns = 0;
    for (std::size_t r = 0; r < dumped.size(); ++r)
        ASSERT_EQ(dumped[r], expectedLine(ours, pxlib, r, standIns)) << "record " << r + 1;
    RecordProperty("values_where_pxlib_is_known_wrong", static_cast<int>(standIns));
}

TEST_P(EveryTable, CopyIsReadBackByPxlibWithTheSameValues)
{
    const auto& path = GetParam();
    ScratchFolder folder;
    const ToolRun run = pdxtool({"copy", path.string(), folder.path().string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Paradox 5.x"), std::string::npos);
    const auto copy = resolveTable(folder.path(), path.stem().string());
    const auto source = readWithOurs(path);
    const auto copied = readWithOurs(copy);
    EXPECT_EQ(copied.header.fileVersion, 0x0B);
    EXPECT_EQ(copied.header.fields, source.header.fields);
    EXPECT_EQ(copied.records, source.records);
    // pxlib reads the copy with the values our reader found in the source.
    const auto comparison = compareWithPxlib(source, readWithPxlibAndBlobs(copy), false);
    for (const auto& difference : comparison.differences)
        ADD_FAILURE() << difference;
    // And the two dumps are the same text.
    EXPECT_EQ(pdxtool({"dump", copy.string()}).out, pdxtool({"dump", path.string()}).out);
    // A keyed source stays keyed where the copy's code page has a byte-order sort order, and
    // pxlib takes the new .PX for the copy's index; otherwise one line says why not.
    const int keyFields = source.header.keyFieldCount;
    const bool keyed = keyFields > 0 && keyedLanguageDriver(copied.header.codePage);
    EXPECT_EQ(copied.header.keyFieldCount, keyed ? keyFields : 0);
    EXPECT_EQ(run.err.find("the copy has no primary key") != std::string::npos, keyFields > 0 && !keyed) << run.err;
    const auto index = findFileIgnoringCase(folder.path(), path.stem().string() + ".px");
    ASSERT_EQ(index.has_value(), keyed);
    if (keyed) {
        const auto pxlib = readPrimaryIndexWithPxlib(*index, copy);
        EXPECT_TRUE(pxlib.read && pxlib.acceptedByTable) << pxlib.errors;
    }
}

INSTANTIATE_TEST_SUITE_P(TestData, EveryTable, ::testing::ValuesIn(testdataTables()), testNameOf);

TEST(PdxtoolInfo, DescribesTheTable)
{
    const auto path = testdataPath("paradox/leonhad-paradoxdriver/fields/bcd.db");
    const ToolRun run = pdxtool({"info", path.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "{\"file\": " + quoted(path.string())
                           + ", \"version\": \"5.x\", \"versionByte\": 11, \"keyed\": false, \"codePage\": 850, "
                             "\"textCodePage\": 850, \"textCodePageFrom\": \"header\", \"sortOrder\": \"ascii\", "
                             "\"protected\": false, \"recordsInHeader\": 3, "
                             "\"recordsCounted\": 3, \"keyFields\": 0, \"tableName\": \"bcd.db\", \"recordSize\": 51, "
                             "\"blockSize\": 2048, \"blobFile\": null, \"fields\": [{\"name\": \"A\", \"type\": \"#\", "
                             "\"size\": 17, \"decimals\": 2}, {\"name\": \"B\", \"type\": \"#\", \"size\": 17, "
                             "\"decimals\": 0}, {\"name\": \"C\", \"type\": \"#\", \"size\": 17, \"decimals\": 32}]}\n");
}

TEST(PdxtoolInfo, NamesInTheTablesCodePageComeOutInUtf8)
{
    const ToolRun run = pdxtool({"info", testdataPath("paradox/rparadox/TypSammlung.DB").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("{\"name\": \"Währung\", \"type\": \"$\", \"size\": 8}"), std::string::npos);
    EXPECT_NE(run.out.find("\"keyFields\": 2"), std::string::npos);
    EXPECT_NE(run.out.find("\"version\": \"7.x\""), std::string::npos);
    EXPECT_NE(run.out.find("TypSammlung.MB\""), std::string::npos);
}

TEST(PdxtoolDump, ValueForms)
{
    const ToolRun run = pdxtool({"dump", testdataPath("paradox/rparadox/TypSammlung.DB").string()});
    ASSERT_EQ(run.status, 0);
    const auto dumped = lines(run.out);
    ASSERT_EQ(dumped.size(), 5u);
    EXPECT_EQ(dumped[0], "{\"Alpha\": \"AAA Irgendein Text\", \"Numerisch\": 40, \"Währung\": 40, \"Integer kurz\": 40, "
                         "\"Integer lang\": 40, \"BCD\": \"40.000000\", \"Datum\": \"1970-01-01\", \"Zeit\": \"00:00:00\", "
                         "\"Datum/Zeit\": \"1970-01-01 11:00:00\", \"Memo\": null, \"Logisch\": null, \"Zähler\": 1, "
                         "\"Binär\": null, \"Bytes\": null}");
    EXPECT_NE(dumped[2].find("\"Numerisch\": 1.34, \"Währung\": 13.002"), std::string::npos);
    const ToolRun times = pdxtool({"dump", testdataPath("paradox/leonhad-paradoxdriver/fields/date5.db").string()});
    EXPECT_EQ(lines(times.out)[2], "{\"DATE\": \"2018-01-02\", \"TIME\": \"09:25:25\"}");
}

TEST(PdxtoolDump, NumbersInTheShortestFormThatReadsBackExactly)
{
    const auto text = [](double value) {
        std::string out;
        pdxtool::appendJsonNumber(out, value);
        return out;
    };
    EXPECT_EQ(text(33000000.0), "33000000");
    EXPECT_EQ(text(100000.0), "100000");
    EXPECT_EQ(text(-9007199254740991.0), "-9007199254740991");
    EXPECT_EQ(text(7.49), "7.49");
    EXPECT_EQ(text(0.001), "0.001");
    EXPECT_EQ(text(-0.0), "-0");
    EXPECT_EQ(text(1e-300), "1e-300");
    EXPECT_EQ(text(1e300), "1e+300");
    // Every form printed reads back to the very same double.
    for (const double value : {0.1 + 0.2, 123456.789, 1.0 / 3.0, 9007199254740993.0 * 4, 5e-324}) {
        const std::string printed = text(value);
        double back = 0;
        std::from_chars(printed.data(), printed.data() + printed.size(), back);
        EXPECT_EQ(back, value) << printed;
    }
}

TEST(PdxtoolDump, MillisecondsOnlyWhenNotZero)
{
    ScratchFolder folder;
    TableWriter writer(folder.path(), "T", {{"At", FieldType::Time, 0}, {"When", FieldType::Timestamp, 0}});
    writer.append(std::vector<Value>{Time{1, 2, 3, 0}, Timestamp{{2021, 8, 31}, {14, 5, 9, 0}}});
    writer.append(std::vector<Value>{Time{1, 2, 3, 45}, Timestamp{{2021, 8, 31}, {14, 5, 9, 7}}});
    writer.commit();
    const auto dumped = lines(pdxtool({"dump", writer.tablePath().string()}).out);
    ASSERT_EQ(dumped.size(), 2u);
    EXPECT_EQ(dumped[0], "{\"At\": \"01:02:03\", \"When\": \"2021-08-31 14:05:09\"}");
    EXPECT_EQ(dumped[1], "{\"At\": \"01:02:03.045\", \"When\": \"2021-08-31 14:05:09.007\"}");
}

TEST(PdxtoolDump, WarningsGoToStandardError)
{
    const ToolRun run = pdxtool({"dump", testdataPath("paradox/leonhad-paradoxdriver/fields/bcd.db").string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("pdxtool: warning: Field 'C' holds BCD values with digit nibbles above 9"), std::string::npos);
    EXPECT_EQ(lines(run.out).size(), 3u);
}

TEST(PdxtoolInfo, SaysWhetherATableIsProtected)
{
    const ToolRun locked = pdxtool({"info", testdataPath("paradox/leonhad-paradoxdriver/encrypt/encrypted.db").string()});
    EXPECT_EQ(locked.status, 0) << locked.err;
    EXPECT_NE(locked.out.find("\"protected\": true"), std::string::npos) << locked.out;
    const ToolRun plain = pdxtool({"info", testdataPath("paradox/leonhad-paradoxdriver/fields/long.db").string()});
    EXPECT_NE(plain.out.find("\"protected\": false"), std::string::npos) << plain.out;
}

TEST(PdxtoolCopy, TheCopyOfAProtectedTableIsPlain)
{
    ScratchFolder folder;
    const auto source = testdataPath("paradox/leonhad-paradoxdriver/encrypt/encrypted.db");
    const ToolRun run = pdxtool({"copy", source.string(), folder.path().string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto copy = resolveTable(folder.path(), "encrypted");
    FileSource file(copy);
    const TableHeader header = parseTableHeader(file);
    EXPECT_FALSE(header.encrypted);
    EXPECT_EQ(header.encryptionKey, 0u);
    // pxlib, which would unscramble a protected table, reads the copy as it reads the source.
    EXPECT_EQ(readWithPxlibAndBlobs(copy).records.size(), readWithOurs(source).records.size());
    const auto info = pdxtool({"info", copy.string()});
    EXPECT_NE(info.out.find("\"protected\": false"), std::string::npos) << info.out;
}

TEST(PdxtoolInfo, SaysWhenTheCodePageIsAGuess)
{
    // A 3.0 table: no code page in the header, and the "ascii" sort order is used with 437 and 850 alike.
    const ToolRun guessed = pdxtool({"info", testdataPath("paradox/leonhad-paradoxdriver/areas/STATES.DB").string()});
    EXPECT_NE(guessed.out.find("\"textCodePage\": 437, \"textCodePageFrom\": \"guessed\""), std::string::npos)
        << guessed.out;
    const ToolRun named = pdxtool({"info", testdataPath("paradox/python-pxlib/LAND.DB").string()});
    EXPECT_NE(named.out.find("\"textCodePage\": 865, \"textCodePageFrom\": \"header\""), std::string::npos)
        << named.out;
    const ToolRun chosen =
        pdxtool({"info", "--code-page", "1251", testdataPath("paradox/python-pxlib/LAND.DB").string()});
    EXPECT_NE(chosen.out.find("\"textCodePage\": 1251, \"textCodePageFrom\": \"chosen\""), std::string::npos)
        << chosen.out;
}

TEST(PdxtoolErrors, MissingFileAndBadUsage)
{
    ToolRun run = pdxtool({"info", "/nonexistent/T.db"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "pdxtool: Cannot open '/nonexistent/T.db': No such file or directory.\n");
    run = pdxtool({});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("usage: pdxtool info"), std::string::npos);
    EXPECT_EQ(pdxtool({"list", "x"}).status, 2);
    EXPECT_EQ(pdxtool({"dump"}).status, 2);
    EXPECT_EQ(pdxtool({"copy", "a.db"}).status, 2);
    EXPECT_EQ(pdxtool({"dump", "--code-page", "x", "a.db"}).status, 2);
    EXPECT_EQ(pdxtool({"dump", "--target-code-page", "850", "a.db"}).status, 2);
}

TEST(PdxtoolErrors, TextNotValidInItsCodePageSaysWhichOptionReadsIt)
{
    ScratchFolder folder;
    quintabel::paradox::testing::writeTableWithUnreadableName(folder.path(), "ODD");
    for (const char* command : {"info", "dump"}) {
        const ToolRun run = pdxtool({command, (folder.path() / "ODD.DB").string()});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_NE(run.err.find("not valid in code page 936"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("with --code-page N."), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("read the table in that one"), std::string::npos) << "one piece of advice: " << run.err;
    }
    EXPECT_EQ(pdxtool({"dump", "--code-page", "1252", (folder.path() / "ODD.DB").string()}).status, 0);
}

TEST(PdxtoolCopy, NeverReplacesATable)
{
    ScratchFolder folder;
    const auto source = testdataPath("paradox/leonhad-paradoxdriver/fields/memo.db");
    const ToolRun first = pdxtool({"copy", source.string(), folder.path().string()});
    ASSERT_EQ(first.status, 0);
    EXPECT_EQ(first.out.rfind("Wrote " + std::to_string(readWithOurs(source).records.size()) + " records to", 0), 0u)
        << first.out;
    const auto before = folder.fileNames();
    EXPECT_EQ(before, (std::vector<std::string>{"memo.db", "memo.mb", "memo.px"}));
    const ToolRun again = pdxtool({"copy", source.string(), folder.path().string()});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("already exists"), std::string::npos);
    EXPECT_EQ(folder.fileNames(), before);
}

TEST(PdxtoolCopy, TextTheTargetCodePageCannotHoldFailsAndLeavesNothing)
{
    ScratchFolder folder;
    const auto source = testdataPath("paradox/leonhad-paradoxdriver/db/AREACODES.DB");
    const ToolRun run = pdxtool({"copy", "--target-code-page", "866", source.string(), folder.path().string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("column 'Cities' in row"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("which code page 866 cannot store"), std::string::npos) << run.err;
    EXPECT_TRUE(folder.fileNames().empty());
}

TEST(PdxtoolCopy, IntoAnotherCodePage)
{
    ScratchFolder folder;
    const auto source = testdataPath("paradox/python-pxlib/KOMMENT.DB");
    const ToolRun run = pdxtool({"copy", "--target-code-page", "1252", source.string(), folder.path().string()});
    ASSERT_EQ(run.status, 0) << run.err;
    // Its nordan40 order holds in the bytes of 1252 too: the copy keeps its key.
    EXPECT_EQ(run.err, "");
    const auto copied = readWithOurs(folder.path() / "KOMMENT.DB");
    EXPECT_EQ(copied.header.codePage, 1252);
    EXPECT_EQ(copied.header.keyFieldCount, 2);
    EXPECT_EQ(copied.records, readWithOurs(source).records);
}

TEST(PdxtoolCopy, ADamagedKeyedSourceIsCopiedWithoutItsKey)
{
    // A keyed table whose records are not in key order: written keyless, then marked keyed
    // (file type 0 at 0x04, one key field at 0x23), as a damaged table would be.
    ScratchFolder folder;
    std::filesystem::create_directory(folder.path() / "source");
    {
        TableWriter writer(folder.path() / "source", "BROKEN", {{"Id", FieldType::Long, 0}});
        for (const std::int64_t id : {1, 3, 2})
            writer.append(std::vector<Value>{id});
        writer.commit();
    }
    const auto source = folder.path() / "source" / "BROKEN.DB";
    {
        std::fstream file(source, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(0x04).put('\0');
        file.seekp(0x23).put('\1');
    }
    const ToolRun run = pdxtool({"copy", source.string(), folder.path().string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("not in key order"), std::string::npos) << run.err;
    EXPECT_EQ(folder.fileNames(), (std::vector<std::string>{"BROKEN.DB", "source"}));
    const auto copied = readWithOurs(folder.path() / "BROKEN.DB");
    EXPECT_EQ(copied.header.keyFieldCount, 0);
    EXPECT_EQ(copied.records, readWithOurs(source).records);
}

} // namespace
} // namespace quintabel::paradox
