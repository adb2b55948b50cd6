#include "replace_test_tables.h"

#include "maintenance/working_names.h"
#include "paradoxfile/table_reader.h"
#include "paradoxfile/table_writer.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include <stdlib.h>

namespace quintabel::testing {

namespace fs = std::filesystem;
using paradox::Field;
using paradox::FieldType;

namespace {

// Bytes that stand for a primary index: the replacement moves companions unread.
const std::string kIndexBytes = "primary index of the old table";

std::string bytesOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string memo(const char* text, int repeat)
{
    std::string value;
    for (int i = 0; i < repeat; ++i)
        value += text;
    return value; // longer than the memo's 10-byte leader, so it lives in the .MB
}

// The files of `table` in `folder`: every name whose part before its last dot is the table's
// name, letter case ignored, whatever its extension.
std::vector<std::string> filesOfTable(const fs::path& folder, const std::string& table)
{
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        return text;
    };
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const auto dot = name.rfind('.');
        if (entry.is_regular_file() && dot != std::string::npos && lower(name.substr(0, dot)) == lower(table))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

Rows RowsOf(Generation generation)
{
    if (generation == Generation::Old)
        return {{std::int64_t{1}, std::string("alder"), memo("old memo one; ", 8)},
                {std::int64_t{2}, std::string("birch"), memo("old memo two; ", 20)},
                {std::int64_t{3}, std::string("cedar"), paradox::Null{}}};
    return {{std::int64_t{10}, std::string("new ten"), memo("new memo ten; ", 30)},
            {std::int64_t{11}, std::string("new eleven"), memo("new memo eleven; ", 5)},
            {std::int64_t{12}, std::string("new twelve"), memo("new memo twelve; ", 12)},
            {std::int64_t{13}, paradox::Null{}, memo("new memo thirteen; ", 3)}};
}

std::vector<std::string> FamilyNames(const std::string& table, Generation generation)
{
    if (generation == Generation::Old)
        return {table + ".DB", table + ".MB", table + ".PX"};
    return {table + ".DB", table + ".MB"};
}

void WriteGeneration(const fs::path& folder, const std::string& table, Generation generation)
{
    const std::vector<Field> fields = {Field{"Id", FieldType::Long, 0, 0}, Field{"Name", FieldType::Alpha, 20, 0},
                                       Field{"Note", FieldType::Memo, 20, 0}};
    paradox::TableWriter writer(folder, table, fields);
    for (const auto& row : RowsOf(generation))
        writer.append(row);
    writer.commit();
    if (generation == Generation::Old)
        std::ofstream(folder / (table + ".PX"), std::ios::binary) << kIndexBytes;
}

std::optional<Generation> WholeGenerationIn(const fs::path& folder, const std::string& table)
{
    const std::vector<std::string> names = filesOfTable(folder, table);
    for (const Generation generation : {Generation::Old, Generation::New}) {
        std::vector<std::string> expected = FamilyNames(table, generation);
        std::sort(expected.begin(), expected.end());
        if (names != expected)
            continue;
        if (generation == Generation::Old && bytesOf(folder / (table + ".PX")) != kIndexBytes)
            return std::nullopt;
        Rows rows;
        try {
            auto reader = paradox::TableReader::open(folder / (table + ".DB"));
            for (std::vector<paradox::Value> values; reader.next(values);)
                rows.push_back(values);
        } catch (const std::exception&) {
            return std::nullopt; // a .DB with another table's memos does not read
        }
        if (rows == RowsOf(generation))
            return generation;
        return std::nullopt;
    }
    return std::nullopt;
}

bool WholeAcross(Generation generation, const std::string& table, const std::vector<fs::path>& places)
{
    std::string pattern = (fs::temp_directory_path() / "quintabel-gathered-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        return false;
    const fs::path gathered = pattern;
    for (const std::string& name : FamilyNames(table, generation)) {
        for (const fs::path& place : places) {
            if (fs::is_regular_file(place / name)) {
                fs::copy_file(place / name, gathered / name);
                break;
            }
        }
    }
    const bool whole = WholeGenerationIn(gathered, table) == generation;
    fs::remove_all(gathered);
    return whole;
}

std::vector<std::string> WorkingEntries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (isWorkingName(entry.path().filename().string()))
            names.push_back(entry.path().filename().string());
    return names;
}

} // namespace quintabel::testing
