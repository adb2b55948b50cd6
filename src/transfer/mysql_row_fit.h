#pragma once
// The check for rows bound for a MySQL table: MariaDB rounds or trims some values silently
// even in strict mode (see mysql_column_fit.h).

#include "transfer/default_column_types.h"
#include "transfer/mysql_column_fit.h"
#include "transfer/row_fit_check.h"

#include <span>
#include <string>
#include <vector>

namespace quintabel {

namespace connections {
class Connection;
}

class MySqlColumnsFit final : public RowFitCheck {
public:
    // A table created with the default column types: the source fields in the order of the
    // default CREATE TABLE statement's columns.
    static MySqlColumnsFit forDefaultTypes(std::span<const SourceField> fields);
    // A table created by any statement (a customised one): its columns as the server made
    // them, read from information_schema. Throws when they cannot be read.
    static MySqlColumnsFit forCreatedTable(connections::Connection& mysql, const std::string& table);

    using RowFitCheck::misfit;
    std::optional<RowMisfit> misfit(std::span<const db::Value> row, std::size_t rowNumber) override;

private:
    struct Column {
        std::string name;
        MySqlColumnShape shape;
    };
    std::vector<Column> columns_;
};

} // namespace quintabel
