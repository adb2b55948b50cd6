#pragma once
// The check for rows bound for a MySQL table created with the default column types: MariaDB
// rounds some numbers silently even in strict mode (see mysql_column_fit.h).

#include "transfer/default_column_types.h"
#include "transfer/row_fit_check.h"

#include <span>
#include <string>
#include <vector>

namespace quintabel {

class MySqlDefaultColumnsFit final : public RowFitCheck {
public:
    // The source fields in the order of the default CREATE TABLE statement's columns.
    explicit MySqlDefaultColumnsFit(std::span<const transfer::SourceField> fields);

    std::optional<std::string> misfit(std::span<const db::Value> row, std::size_t rowNumber) override;

private:
    struct Column {
        std::string name;
        std::string keyword;
    };
    std::vector<Column> columns_;
};

} // namespace quintabel
