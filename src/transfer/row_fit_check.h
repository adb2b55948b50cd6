#pragma once
// Whether the target keeps every value of a row exactly. A row that does not fit is not sent:
// it fails with the error report naming the column, instead of arriving changed.

#include "drivers/value.h"
#include "transfer/row_insert_statement.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace quintabel {

// Why a row does not fit, and the column that keeps it out.
struct RowMisfit {
    std::string reason; // names the column and the value
    std::string column;
};

class RowFitCheck {
public:
    virtual ~RowFitCheck() = default;
    // Nothing when the row fits; otherwise the reason, naming the column and the value.
    // `rowNumber` counts the source's rows from 1. A row that fits is taken into account for
    // the rows after it (the Paradox side widens a column for the values it has seen).
    virtual std::optional<RowMisfit> misfit(std::span<const db::Value> row, std::size_t rowNumber) = 0;
    // The same, given also the row's value texts as its insert statement writes them, one per
    // value, which a check may read rather than make again.
    virtual std::optional<RowMisfit> misfit(std::span<const db::Value> row,
                                            std::span<const RowValueText> texts, std::size_t rowNumber)
    {
        (void)texts;
        return misfit(row, rowNumber);
    }
};

} // namespace quintabel
