#pragma once
// The column types a transfer gives the target table when the user has not chosen them in the
// customisation window.

#include "transfer/target_kind.h"

#include <span>
#include <string>
#include <string_view>

namespace quintabel {

// A field of the opened source record set, as the CREATE TABLE statement needs it.
struct SourceField {
    std::string name;
    int adoTypeNumber = 0;
    // The digits an exact number field holds, and how many of them follow the point (a
    // Paradox BCD field: 32 and its decimals); 0 where the field tells none.
    int precision = 0;
    int scale = 0;
    // A column of a key of the table (transfer/table_keys.h): when its type would be TEXT,
    // which MySQL keys only with a length, VARCHAR of this length in `keyCollation`.
    int keyTextLength = 0;
    std::string keyCollation{};
    // The column that numbers the rows: AUTO_INCREMENT, when its type is a whole number.
    bool autoIncrement = false;
};

// The column type keyword for an ADO type name ("adVarChar"): the first rule whose text the
// lower-cased name contains decides; a name no rule matches (the empty name included) takes
// the fallback keyword. The keyword carries no length, precision or scale.
std::string_view DefaultColumnType(std::string_view adoTypeName, TargetKind target);

// The column type the default statement gives `field`: DefaultColumnType's keyword, except
// for a number field bound for MySQL that holds more digits than a double keeps exactly (a
// Paradox BCD field, which reports itself a double): DECIMAL(precision,scale), which holds
// each of its values digit for digit, or TEXT where its scale is beyond MySQL's largest (30);
// and, for a MySQL target, the shape a key asks for (SourceField::keyTextLength,
// autoIncrement).
std::string defaultColumnDefinition(const SourceField& field, TargetKind target);

// "CREATE TABLE `" + table name + "`(": the head of every CREATE TABLE statement for the
// table, and what the transfer hands the customisation window as `mSQL`.
std::string statementPrefix(std::string_view tableName);

// The whole CREATE TABLE statement: the prefix, then per field its name between backticks, one
// space and its default column type (defaultColumnDefinition), the columns separated by single commas, then ");". Example:
// CREATE TABLE `t`(`id` INT,`name` TEXT,`price` FLOAT);
std::string DefaultCreateStatement(std::string_view tableName, std::span<const SourceField> fields,
                                   TargetKind target);

} // namespace quintabel
