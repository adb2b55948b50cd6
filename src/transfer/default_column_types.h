#pragma once
// The column types a transfer gives the target table when the user has not chosen them in the
// customisation window.

#include "transfer/target_kind.h"

#include <span>
#include <string>
#include <string_view>

namespace quintabel::transfer {

// A field of the opened source record set, as the CREATE TABLE statement needs it.
struct SourceField {
    std::string name;
    int adoTypeNumber = 0;
};

// The column type keyword for an ADO type name ("adVarChar"): the first rule whose text the
// lower-cased name contains decides; a name no rule matches (the empty name included) takes
// the fallback keyword. The keyword carries no length, precision or scale.
std::string_view DefaultColumnType(std::string_view adoTypeName, TargetKind target);

// "CREATE TABLE `" + table name + "`(": the head of every CREATE TABLE statement for the
// table, and what the transfer hands the customisation window as `mSQL`.
std::string statementPrefix(std::string_view tableName);

// The whole CREATE TABLE statement: the prefix, then per field its name between backticks, one
// space and its default keyword, the columns separated by single commas, then ");". Example:
// CREATE TABLE `t`(`id` INT,`name` TEXT,`price` FLOAT);
std::string DefaultCreateStatement(std::string_view tableName, std::span<const SourceField> fields,
                                   TargetKind target);

} // namespace quintabel::transfer
