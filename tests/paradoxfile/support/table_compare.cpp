#include "support/table_compare.h"

#include "paradoxfile/calendar.h"
#include "paradoxfile/code_page.h"
#include "paradoxfile/table_family.h"

extern "C" {
#include <paradox.h>
}

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace quintabel::paradox::testing {

namespace fs = std::filesystem;

OurTable readWithOurs(const fs::path& dbFile, const ReaderOptions& options)
{
    OurTable table;
    auto reader = TableReader::open(dbFile, options);
    table.header = reader.header();
    std::vector<Value> record;
    while (reader.next(record))
        table.records.push_back(record);
    table.warnings = reader.warnings();
    return table;
}

PxlibTable readWithPxlibAndBlobs(const fs::path& dbFile)
{
    const auto blobFile = findBlobFile(dbFile);
    if (!blobFile)
        return readWithPxlib(dbFile);
    ScratchFolder scratch;
    const fs::path copy = scratch.path() / "blobs.mb";
    fs::copy_file(*blobFile, copy);
    fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
    {
        std::ofstream out(copy, std::ios::binary | std::ios::app);
        out.put('\0');
    }
    PxlibOptions options;
    options.blobFile = copy;
    return readWithPxlib(dbFile, options);
}

namespace {

int pxlibVersion(int fileVersion)
{
    if (fileVersion == 3)
        return 30;
    if (fileVersion == 4)
        return 35;
    if (fileVersion <= 9)
        return 40;
    if (fileVersion <= 11)
        return 50;
    return 70;
}

std::string normaliseBcd(std::string text)
{
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string describe(const Value& value)
{
    struct Printer {
        std::string operator()(const Null&) const { return "NULL"; }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const
        {
            char text[40];
            std::snprintf(text, sizeof text, "%.17g", v);
            return text;
        }
        std::string operator()(const Decimal& v) const { return v.digits; }
        std::string operator()(bool v) const { return v ? "true" : "false"; }
        std::string operator()(const Date& v) const { return formatDate(v); }
        std::string operator()(const Time& v) const { return formatTime(v); }
        std::string operator()(const Timestamp& v) const { return formatTimestamp(v); }
        std::string operator()(const std::string& v) const { return "'" + v.substr(0, 60) + "'"; }
        std::string operator()(const Blob& v) const { return std::to_string(v.size()) + " bytes"; }
    };
    return std::visit(Printer{}, value);
}

} // namespace

PxlibComparison compareWithPxlib(const OurTable& ours, const PxlibTable& pxlib, bool compareHeader)
{
    PxlibComparison result;
    auto differ = [&](const std::string& text) { result.differences.push_back(text); };
    auto allow = [&](const std::string& reason) { ++result.allowances[reason]; };

    if (pxlib.crashed) {
        differ("pxlib crashed");
        return result;
    }
    if (!pxlib.opened) {
        differ("pxlib could not open the table: " + pxlib.errors);
        return result;
    }
    const TableHeader& header = ours.header;
    // pxlib hands out names and memos as stored, in the code page the header names.
    const CodePage codePage(pxlib.codePage != 0 ? pxlib.codePage : header.textCodePage);

    if (compareHeader) {
        if (pxlib.fileVersion != pxlibVersion(header.fileVersion))
            differ("file version: ours " + std::to_string(header.fileVersion) + ", pxlib " + std::to_string(pxlib.fileVersion));
        if (pxlib.codePage != header.codePage)
            differ("code page: ours " + std::to_string(header.codePage) + ", pxlib " + std::to_string(pxlib.codePage));
        if (pxlib.numRecords != static_cast<int>(header.recordCount))
            differ("record count: ours " + std::to_string(header.recordCount) + ", pxlib " + std::to_string(pxlib.numRecords));
        if (pxlib.keyFields != header.keyFieldCount)
            differ("key fields: ours " + std::to_string(header.keyFieldCount) + ", pxlib " + std::to_string(pxlib.keyFields));
        if (pxlib.recordSize != header.recordSize)
            differ("record size: ours " + std::to_string(header.recordSize) + ", pxlib " + std::to_string(pxlib.recordSize));
        {
            std::string tableName;
            codePage.decode({reinterpret_cast<const std::uint8_t*>(pxlib.tableName.data()), pxlib.tableName.size()}, tableName);
            if (tableName != header.tableName)
                differ("table name: ours '" + header.tableName + "', pxlib '" + tableName + "'");
        }
    }
    if (pxlib.fields.size() != header.fields.size()) {
        differ("field count: ours " + std::to_string(header.fields.size()) + ", pxlib " + std::to_string(pxlib.fields.size()));
        return result;
    }
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const Field& field = header.fields[i];
        const PxlibField& theirs = pxlib.fields[i];
        // pxlib hands field names out as stored, in the table's code page.
        std::string name;
        codePage.decode({reinterpret_cast<const std::uint8_t*>(theirs.name.data()), theirs.name.size()}, name);
        if (name != field.name)
            differ("field " + std::to_string(i + 1) + " name: ours '" + field.name + "', pxlib '" + name + "'");
        if (static_cast<std::uint8_t>(theirs.type) != static_cast<std::uint8_t>(field.type))
            differ("field '" + field.name + "' type differs");
        if (theirs.size != field.size)
            differ("field '" + field.name + "' size: ours " + std::to_string(field.size) + ", pxlib " + std::to_string(theirs.size));
        if (field.type == FieldType::Bcd && theirs.decimals != field.decimals)
            differ("field '" + field.name + "' decimals differ");
    }

    // pxlib reads as many records as the header claims; ours as many as the blocks hold.
    if (pxlib.records.size() != ours.records.size())
        differ("records read: ours " + std::to_string(ours.records.size()) + ", pxlib " + std::to_string(pxlib.records.size()));
    const std::size_t count = std::min(pxlib.records.size(), ours.records.size());
    const bool pxlibRecodedText = pxlib.codePage != 0; // pxlib recodes only when the header names a code page

    for (std::size_t r = 0; r < count; ++r) {
        if (!pxlib.recordRead[r]) {
            differ("pxlib could not read record " + std::to_string(r + 1));
            continue;
        }
        for (std::size_t i = 0; i < header.fields.size(); ++i) {
            const Field& field = header.fields[i];
            const Value& a = ours.records[r][i];
            const PxlibValue& p = pxlib.records[r][i];
            const std::string where = "record " + std::to_string(r + 1) + " field '" + field.name + "': ours " + describe(a);
            bool same = true;
            switch (field.type) {
            case FieldType::Alpha: {
                if (isNull(a) || p.isNull) {
                    same = isNull(a) && p.isNull;
                    break;
                }
                std::string text = p.bytes;
                if (!pxlibRecodedText) {
                    text.clear();
                    codePage.decode({reinterpret_cast<const std::uint8_t*>(p.bytes.data()), p.bytes.size()}, text);
                }
                same = std::get<std::string>(a) == text;
                break;
            }
            case FieldType::Short:
            case FieldType::Long:
            case FieldType::AutoIncrement:
                if (isNull(a) && !p.isNull && p.integer == INT_MIN) {
                    allow("pxlib_blank_integer_as_int_min");
                    continue;
                }
                same = isNull(a) ? p.isNull : (!p.isNull && std::get<std::int64_t>(a) == p.integer);
                break;
            case FieldType::Date:
                if (isNull(a) && !p.isNull && p.integer == INT_MIN) {
                    allow("pxlib_blank_integer_as_int_min");
                    continue;
                }
                same = isNull(a) ? p.isNull : (!p.isNull && dayNumberFromDate(std::get<Date>(a)) == p.integer);
                break;
            case FieldType::Time:
                if (isNull(a) && !p.isNull && p.integer < 0) {
                    allow("pxlib_blank_time_as_value");
                    continue;
                }
                same = isNull(a) ? p.isNull : (!p.isNull && millisecondsFromTime(std::get<Time>(a)) == p.integer);
                break;
            case FieldType::Timestamp: {
                if (isNull(a) && !p.isNull && p.number <= 0) {
                    allow("pxlib_blank_time_as_value");
                    continue;
                }
                if (isNull(a) || p.isNull) {
                    same = isNull(a) && p.isNull;
                    break;
                }
                const Timestamp& t = std::get<Timestamp>(a);
                const double ms = static_cast<double>(dayNumberFromDate(t.date) * millisecondsPerDay + millisecondsFromTime(t.time));
                same = ms == p.number;
                break;
            }
            case FieldType::Number:
            case FieldType::Money:
                if (isNull(a) && !p.isNull && p.number == 0) {
                    allow("pxlib_blank_number_as_zero");
                    continue;
                }
                same = isNull(a) ? p.isNull
                                 : (!p.isNull
                                    && (std::get<double>(a) == p.number
                                        || (std::isnan(std::get<double>(a)) && std::isnan(p.number))));
                break;
            case FieldType::Logical:
                same = isNull(a) ? p.isNull : (!p.isNull && std::get<bool>(a) == (p.integer != 0));
                break;
            case FieldType::Bcd: {
                if (isNull(a) && !p.isNull) {
                    allow("pxlib_ignores_bcd_blank_bit");
                    continue;
                }
                if (!isNull(a) && !p.isNull && normaliseBcd(p.bytes) != std::get<Decimal>(a).digits
                    && p.bytes.find_first_not_of("-0123456789.") != std::string::npos) {
                    allow("pxlib_garbles_bcd_nibbles_above_9");
                    continue;
                }
                same = isNull(a) ? p.isNull : (!p.isNull && normaliseBcd(p.bytes) == std::get<Decimal>(a).digits);
                break;
            }
            case FieldType::Bytes: {
                if (!isNull(a) && p.isNull && std::get<Blob>(a).front() == 0) {
                    allow("pxlib_bytes_first_zero_as_blank");
                    continue;
                }
                if (isNull(a) || p.isNull) {
                    same = isNull(a) && p.isNull;
                    break;
                }
                const Blob& bytes = std::get<Blob>(a);
                same = std::string(bytes.begin(), bytes.end()) == p.bytes;
                break;
            }
            case FieldType::Memo:
            case FieldType::FormattedMemo:
            case FieldType::Binary:
            case FieldType::Ole:
            case FieldType::Graphic: {
                if (isNull(a) || p.isNull) {
                    same = isNull(a) && p.isNull;
                    break;
                }
                ++result.blobValuesCompared;
                // pxlib hands memo text out as stored, in the table's code page.
                std::string theirs = p.bytes;
                if (field.type == FieldType::Memo) {
                    theirs.clear();
                    codePage.decode({reinterpret_cast<const std::uint8_t*>(p.bytes.data()), p.bytes.size()}, theirs);
                    same = std::get<std::string>(a) == theirs;
                } else {
                    const Blob& bytes = std::get<Blob>(a);
                    same = std::string(bytes.begin(), bytes.end()) == theirs;
                }
                break;
            }
            }
            ++result.valuesCompared;
            if (!same)
                differ(where + (p.isNull ? ", pxlib NULL" : ", pxlib differs"));
        }
    }
    return result;
}

fs::path testdataPath(const std::string& relative)
{
    return fs::path(QUINTABEL_TESTDATA_DIR) / relative;
}

std::vector<fs::path> testdataTables()
{
    std::vector<fs::path> tables;
    // Missing test data must fail the tests that count and read these tables, naming the
    // folder, rather than end the test program before its first test with an exception.
    if (!fs::is_directory(testdataPath("paradox")))
        return tables;
    for (const auto& entry : fs::recursive_directory_iterator(testdataPath("paradox"))) {
        if (!entry.is_regular_file())
            continue;
        const std::string extension = entry.path().extension().string();
        if (equalIgnoringCase(extension, ".db"))
            tables.push_back(entry.path());
    }
    std::sort(tables.begin(), tables.end());
    return tables;
}

std::string testdataTestName(const fs::path& table)
{
    std::string name = fs::relative(table, testdataPath("paradox")).string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

ScratchFolder::ScratchFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quintabel-pdx-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        std::abort();
    path_ = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::fileNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace quintabel::paradox::testing
