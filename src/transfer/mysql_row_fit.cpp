#include "transfer/mysql_row_fit.h"

#include "transfer/ado_type_names.h"
#include "transfer/mysql_column_fit.h"

#include <algorithm>

namespace quintabel {

MySqlDefaultColumnsFit::MySqlDefaultColumnsFit(std::span<const transfer::SourceField> fields)
{
    for (const transfer::SourceField& field : fields) {
        const std::string_view keyword = transfer::DefaultColumnType(
            transfer::AdoTypeName(field.adoTypeNumber), transfer::TargetKind::MySQL);
        columns_.push_back({field.name, std::string(keyword)});
    }
}

std::optional<std::string> MySqlDefaultColumnsFit::misfit(std::span<const db::Value> row, std::size_t rowNumber)
{
    const std::size_t checked = std::min(row.size(), columns_.size());
    for (std::size_t index = 0; index < checked; ++index) {
        if (auto reason = transfer::mysqlDefaultColumnMisfit(columns_[index].keyword, columns_[index].name, row[index]))
            return "Row " + std::to_string(rowNumber) + " was not copied. " + *reason;
    }
    return std::nullopt;
}

} // namespace quintabel
