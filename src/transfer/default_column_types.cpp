#include "transfer/default_column_types.h"

#include "transfer/ado_type_names.h"
#include "transfer/ascii_text.h"
#include "transfer/sql_names.h"

#include <array>

namespace quintabel::transfer {

namespace {

struct ColumnTypeRule {
    std::string_view nameContains; // tested on the lower-cased ADO type name
    std::string_view paradoxKeyword;
    std::string_view mysqlKeyword;
};

// Tested from the top; the first match decides. The order matters: "char" comes before "int"
// and "date", so "adLongVarChar" is TEXT; "single" maps to INT although it holds fractions
// (the scratch database keeps a fraction in an INT column; for a MySQL target
// mysqlDefaultColumnMisfit fails the row instead of letting the server round it).
constexpr std::array<ColumnTypeRule, 9> columnTypeRules{{
    {"char", "TEXT", "TEXT"},
    {"decimal", "DECIMAL", "DECIMAL"},
    {"single", "INT", "INT"},
    {"int", "INT", "INT"},
    {"adlongvarbinary", "OLEOBJECT", "BLOB"},
    {"numeric", "INT", "INT"},
    {"date", "DATETIME", "TEXT"},
    {"timestamp", "DATETIME", "TEXT"},
    {"double", "FLOAT", "FLOAT"},
}};

constexpr ColumnTypeRule fallbackColumnType{"", "VARCHAR", "TEXT"};

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
        statement += DefaultColumnType(AdoTypeName(field.adoTypeNumber), target);
        statement += ',';
    }
    // Only a comma is taken back: a field list that is empty (no real table has one) leaves
    // "()" for the target to reject, instead of eating the opening parenthesis.
    if (statement.back() == ',')
        statement.pop_back();
    statement += ");";
    return statement;
}

} // namespace quintabel::transfer
