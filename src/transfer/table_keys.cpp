#include "transfer/table_keys.h"

#include "base/ascii_case.h"
#include "connections/connection.h"
#include "connections/recordset.h"
#include "paradoxfile/secondary_index.h"
#include "paradoxfile/table_reader.h"
#include "transfer/mysql_table_comment.h"
#include "transfer/sql_names.h"

#include <algorithm>
#include <set>

namespace quintabel {

namespace fs = std::filesystem;
namespace px = paradox;

namespace {

// MySQL's longest index name.
constexpr std::size_t kMostNameCharacters = 64;

// A text key column that is not an Alpha field (a date, a time or a logical value the default
// types send as text) never needs more characters than this.
constexpr int kOtherTextKeyLength = 64;

// `wanted`, or with "_2", "_3", ... when an index of the table is called so already (letter case
// ignored, as MySQL compares index names); never "PRIMARY".
std::string freeIndexName(std::string wanted, std::set<std::string>& taken)
{
    if (wanted.size() > kMostNameCharacters - 4)
        wanted.resize(kMostNameCharacters - 4); // room for a number; a cut character is still bytes
    std::string name = wanted;
    for (int number = 2; taken.contains(asciiLowerCase(name)) || asciiLowerCase(name) == "primary"; ++number)
        name = wanted + "_" + std::to_string(number);
    taken.insert(asciiLowerCase(name));
    return name;
}

void addTextKeyColumn(TableKeys& keys, const px::Field& field)
{
    const auto known = std::find_if(keys.textKeyColumns.begin(), keys.textKeyColumns.end(),
                                    [&](const auto& column) { return column.first == field.name; });
    if (known == keys.textKeyColumns.end())
        keys.textKeyColumns.emplace_back(field.name,
                                         field.type == px::FieldType::Alpha ? std::max(field.size, 1)
                                                                             : kOtherTextKeyLength);
}

std::string columnList(const std::vector<std::string>& columns)
{
    std::string list = "(";
    for (const std::string& column : columns)
        list += (list.size() > 1 ? "," : "") + backtickQuoted(column);
    return list + ")";
}

} // namespace

TableKeys TableKeys::withoutUniqueKeys() const
{
    TableKeys plain = *this;
    plain.primaryKey.clear();
    plain.autoIncrement.reset();
    plain.autoIncrementStart = 0;
    std::erase_if(plain.indexes, [](const TableIndex& index) { return index.unique; });
    return plain;
}

TableKeys readParadoxTableKeys(const fs::path& dbFile, std::string textCollation)
{
    TableKeys keys;
    keys.textCollation = std::move(textCollation);
    const px::TableHeader header = px::TableReader::open(dbFile).header();
    const auto& fields = header.fields;
    std::set<std::string> indexNames;

    const int keyCount = std::min<int>(header.keyFieldCount, static_cast<int>(fields.size()));
    for (int index = 0; index < keyCount; ++index) {
        keys.primaryKey.push_back(fields[static_cast<std::size_t>(index)].name);
        addTextKeyColumn(keys, fields[static_cast<std::size_t>(index)]);
    }

    const auto counter = std::find_if(fields.begin(), fields.end(),
                                      [](const px::Field& field) { return field.type == px::FieldType::AutoIncrement; });
    if (counter != fields.end()) {
        keys.autoIncrement = counter->name;
        // The header holds the last value handed out (levels 5.x and 7.x): new rows go on after it.
        if (header.autoIncrementValue > 0)
            keys.autoIncrementStart = std::uint64_t{header.autoIncrementValue} + 1;
        // MySQL numbers only a column that begins an index; a unique one of its own otherwise.
        if (keys.primaryKey.empty() || keys.primaryKey.front() != counter->name)
            keys.indexes.push_back({freeIndexName(counter->name, indexNames), {counter->name}, true});
    }

    const px::SecondaryIndexes secondary = px::readSecondaryIndexes(dbFile, header);
    for (const px::SecondaryIndex& found : secondary.indexes) {
        if (found.fieldNames.empty())
            continue;
        std::string name = found.name;
        if (name.empty())
            name = found.composite ? found.file.extension().string().substr(1) : found.fieldNames.front();
        keys.indexes.push_back({freeIndexName(std::move(name), indexNames), found.fieldNames, found.unique});
        for (const int number : found.fieldNumbers)
            if (number >= 1 && number <= static_cast<int>(fields.size()))
                addTextKeyColumn(keys, fields[static_cast<std::size_t>(number - 1)]);
    }
    keys.notes = secondary.warnings;
    return keys;
}

std::string keyTextCollation(connections::Connection& mysql)
{
    connections::Recordset found = mysql.Execute(
        "SELECT COLLATION_NAME FROM information_schema.COLLATIONS "
        "WHERE COLLATION_NAME IN ('utf8mb4_nopad_bin', 'utf8mb4_0900_bin') ORDER BY COLLATION_NAME DESC");
    std::string collation = "utf8mb4_bin";
    if (!found.Eof())
        collation = db::toText(found.Fields(0).Value());
    return collation;
}

void shapeKeyColumns(std::vector<SourceField>& fields, const TableKeys& keys)
{
    for (SourceField& field : fields) {
        for (const auto& [name, length] : keys.textKeyColumns) {
            if (name == field.name) {
                field.keyTextLength = length;
                field.keyCollation = keys.textCollation;
            }
        }
        field.autoIncrement = keys.autoIncrement && *keys.autoIncrement == field.name;
    }
}

std::string withKeyClauses(std::string_view createStatement, const TableKeys& keys)
{
    const std::optional<std::size_t> end = columnListEnd(createStatement);
    if (keys.empty() || !end)
        return std::string(createStatement);
    std::string clauses;
    if (!keys.primaryKey.empty())
        clauses += ",PRIMARY KEY " + columnList(keys.primaryKey);
    for (const TableIndex& index : keys.indexes)
        clauses += std::string(index.unique ? ",UNIQUE KEY " : ",KEY ") + backtickQuoted(index.name) + " "
            + columnList(index.columns);
    std::string options;
    if (keys.autoIncrement && keys.autoIncrementStart > 0)
        options = " AUTO_INCREMENT=" + std::to_string(keys.autoIncrementStart);
    std::string statement(createStatement);
    statement.insert(*end + 1, options);
    statement.insert(*end, clauses);
    return statement;
}

bool refusedForAKey(int serverError)
{
    switch (serverError) {
    case 1048: // ER_BAD_NULL_ERROR: a blank key field
    case 1061: // ER_DUP_KEYNAME: the statement names one of these keys itself
    case 1062: // ER_DUP_ENTRY
    case 1063: // ER_WRONG_FIELD_SPEC: AUTO_INCREMENT on a column that cannot take it
    case 1068: // ER_MULTIPLE_PRI_KEY: the statement has a primary key of its own
    case 1069: // ER_TOO_MANY_KEYS
    case 1070: // ER_TOO_MANY_KEY_PARTS
    case 1071: // ER_TOO_LONG_KEY
    case 1072: // ER_KEY_COLUMN_DOES_NOT_EXITS: a key column the statement does not make
    case 1075: // ER_WRONG_AUTO_KEY
    case 1089: // ER_WRONG_SUB_KEY
    case 1167: // ER_WRONG_KEY_COLUMN: a column the engine cannot index
    case 1170: // ER_BLOB_KEY_WITHOUT_LENGTH: a text column keyed without a length
    case 1171: // ER_PRIMARY_CANT_HAVE_NULL
    case 1586: // ER_DUP_ENTRY_WITH_KEY_NAME
        return true;
    default:
        return false;
    }
}

} // namespace quintabel
