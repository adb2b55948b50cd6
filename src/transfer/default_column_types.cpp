#include "transfer/default_column_types.h"

#include "base/ascii_case.h"
#include "transfer/ado_type_names.h"
#include "transfer/sql_names.h"

#include <array>

namespace quintabel {

namespace {

struct ColumnTypeRule {
    std::string_view nameContains; // tested on the lower-cased ADO type name
    std::string_view paradoxKeyword;
    std::string_view mysqlKeyword;
};

// Tested from the top; the first match decides. The order matters: "char" comes before "int"
// and "date". Every keyword holds every value of its source type exactly:
// - a MySQL target takes the long character types (the Paradox memos) as LONGTEXT and long
//   binaries as LONGBLOB, since TEXT and BLOB end at 65,535 bytes; short text stays TEXT;
// - a double is a DOUBLE in MySQL, whose FLOAT is single precision and would refuse ordinary
//   money values (7.49 as a double has more digits than a float keeps);
// - a single is a FLOAT: a Paradox Number (a double) holds every single exactly, and an INT
//   would refuse its fractions.
constexpr std::array<ColumnTypeRule, 11> columnTypeRules{{
    {"adlongvarchar", "TEXT", "LONGTEXT"},
    {"adlongvarwchar", "TEXT", "LONGTEXT"},
    {"char", "TEXT", "TEXT"},
    {"decimal", "DECIMAL", "DECIMAL"},
    {"single", "FLOAT", "FLOAT"},
    {"int", "INT", "INT"},
    {"adlongvarbinary", "OLEOBJECT", "LONGBLOB"},
    {"numeric", "INT", "INT"},
    {"date", "DATETIME", "TEXT"},
    {"timestamp", "DATETIME", "TEXT"},
    {"double", "FLOAT", "DOUBLE"},
}};

constexpr ColumnTypeRule fallbackColumnType{"", "VARCHAR", "TEXT"};

// A double keeps 15 significant decimal digits exactly. MySQL's DECIMAL holds up to 65 digits,
// at most 30 of them after the point.
constexpr int kDoubleExactDigits = 15;
constexpr int kMySqlDecimalMostDigits = 65;
constexpr int kMySqlDecimalMostScale = 30;

std::string_view keywordFor(const ColumnTypeRule& rule, TargetKind target)
{
    return target == TargetKind::Paradox ? rule.paradoxKeyword : rule.mysqlKeyword;
}

} // namespace

std::string_view DefaultColumnType(std::string_view adoTypeName, TargetKind target)
{
    const std::string lowerName = asciiLowerCase(adoTypeName);
    for (const ColumnTypeRule& rule : columnTypeRules) {
        if (lowerName.find(rule.nameContains) != std::string::npos)
            return keywordFor(rule, target);
    }
    return keywordFor(fallbackColumnType, target);
}

namespace {

std::string unkeyedColumnDefinition(const SourceField& field, TargetKind target)
{
    const std::string_view keyword = DefaultColumnType(AdoTypeName(field.adoTypeNumber), target);
    if (target != TargetKind::MySQL || keyword != "DOUBLE" || field.precision <= kDoubleExactDigits)
        return std::string(keyword);
    if (field.precision <= kMySqlDecimalMostDigits && field.scale >= 0 && field.scale <= kMySqlDecimalMostScale)
        return "DECIMAL(" + std::to_string(field.precision) + "," + std::to_string(field.scale) + ")";
    // The value's own digits, as text: nothing is rounded.
    return "TEXT";
}

} // namespace

std::string defaultColumnDefinition(const SourceField& field, TargetKind target)
{
    std::string definition = unkeyedColumnDefinition(field, target);
    if (target != TargetKind::MySQL)
        return definition;
    if (field.keyTextLength > 0 && definition == "TEXT") {
        definition = "VARCHAR(" + std::to_string(field.keyTextLength) + ")";
        if (!field.keyCollation.empty())
            definition += " CHARACTER SET utf8mb4 COLLATE " + field.keyCollation;
    }
    if (field.autoIncrement && definition == "INT")
        definition += " AUTO_INCREMENT";
    return definition;
}

std::string statementPrefix(std::string_view tableName)
{
    return "CREATE TABLE " + backtickQuoted(tableName) + "(";
}

std::string DefaultCreateStatement(std::string_view tableName, std::span<const SourceField> fields,
                                   TargetKind target)
{
    std::string statement = statementPrefix(tableName);
    for (const SourceField& field : fields) {
        statement += backtickQuoted(field.name);
        statement += ' ';
        statement += defaultColumnDefinition(field, target);
        statement += ',';
    }
    // Only a comma is taken back: a field list that is empty (no real table has one) leaves
    // "()" for the target to reject, instead of eating the opening parenthesis.
    if (statement.back() == ',')
        statement.pop_back();
    statement += ");";
    return statement;
}

} // namespace quintabel
