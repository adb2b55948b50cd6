#include "transfer/mysql_row_fit.h"

#include "connections/connection.h"
#include "connections/recordset.h"
#include "transfer/ado_type_names.h"

#include <algorithm>
#include <stdexcept>

namespace quintabel {

namespace {

// A whole number read from information_schema, where NULL means the column has none.
long long numberOrZero(const db::Value& value)
{
    const std::string text = db::toText(value);
    return text.empty() ? 0 : std::stoll(text);
}

} // namespace

MySqlColumnsFit MySqlColumnsFit::forDefaultTypes(std::span<const SourceField> fields)
{
    MySqlColumnsFit fit;
    for (const SourceField& field : fields) {
        const std::string type = defaultColumnDefinition(field, TargetKind::MySQL);
        fit.columns_.push_back({field.name, defaultColumnShape(type)});
    }
    return fit;
}

MySqlColumnsFit MySqlColumnsFit::forCreatedTable(connections::Connection& mysql, const std::string& table)
{
    // The name as a hex literal: any name, with any quote in it, is read exactly.
    const std::string nameLiteral =
        "CONVERT(X'" + db::hexDigits(db::Bytes(table.begin(), table.end())) + "' USING utf8mb4)";
    connections::Recordset columns = mysql.Execute(
        "SELECT COLUMN_NAME, DATA_TYPE, COLUMN_TYPE, NUMERIC_SCALE, DATETIME_PRECISION, CHARACTER_OCTET_LENGTH "
        "FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = "
        + nameLiteral + " ORDER BY ORDINAL_POSITION");
    MySqlColumnsFit fit;
    for (; !columns.Eof(); columns.MoveNext()) {
        fit.columns_.push_back(
            {db::toText(columns.Fields(0).Value()),
             createdColumnShape(db::toText(columns.Fields(1).Value()), db::toText(columns.Fields(2).Value()),
                                          static_cast<int>(numberOrZero(columns.Fields(3).Value())),
                                          static_cast<int>(numberOrZero(columns.Fields(4).Value())),
                                          static_cast<std::size_t>(numberOrZero(columns.Fields(5).Value())))});
    }
    if (fit.columns_.empty())
        throw std::runtime_error("The columns of the new table " + table + " could not be read back.");
    return fit;
}

std::optional<RowMisfit> MySqlColumnsFit::misfit(std::span<const db::Value> row, std::size_t rowNumber)
{
    const std::size_t checked = std::min(row.size(), columns_.size());
    for (std::size_t index = 0; index < checked; ++index) {
        if (auto reason = mysqlColumnMisfit(columns_[index].shape, columns_[index].name, row[index]))
            return RowMisfit{"Row " + std::to_string(rowNumber) + " was not copied. " + *reason, columns_[index].name};
    }
    return std::nullopt;
}

} // namespace quintabel
