#pragma once
// The check for rows bound for a Paradox table. The rows wait in the scratch database, and
// its write-out refuses the whole table when one value cannot be held exactly; so each row is
// tried here, against the same choice of Paradox field that the write-out will make, before
// it goes into the scratch table. A row that does not fit fails alone and the table is still
// written with the others.

#include "transfer/row_fit_check.h"

#include "paradoxfile/field.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace quintabel {

class ParadoxWriteOutFit final : public RowFitCheck {
public:
    // `createStatement` is the scratch table's CREATE TABLE statement, default or customised.
    // A statement the scratch database cannot read checks nothing: its CREATE fails anyway.
    // `codePage` is the one the write-out is told to use; 0 for its default.
    ParadoxWriteOutFit(std::string_view createStatement, int codePage);
    ~ParadoxWriteOutFit() override;

    std::optional<RowMisfit> misfit(std::span<const db::Value> row, std::size_t rowNumber) override;
    std::optional<RowMisfit> misfit(std::span<const db::Value> row, std::span<const RowValueText> texts,
                                    std::size_t rowNumber) override;

    // The fields the write-out would choose for the rows found fitting so far, and how many
    // rows that is; nothing when there is no choice to hand over.
    std::optional<std::vector<paradox::Field>> chosenFields() const;
    std::uint64_t rowsFitting() const { return rowsFitting_; }

private:
    struct Columns;
    std::optional<RowMisfit> codePageRefusal(const std::string& text, const std::string& columnName,
                                             std::size_t rowNumber);
    int codePage_;
    std::unique_ptr<Columns> columns_;
    std::uint64_t rowsFitting_ = 0;
};

} // namespace quintabel
