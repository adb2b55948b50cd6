#include "transfer/paradox_row_fit.h"

#include "base/report_excerpt.h"
#include "drivers/database_error.h"
#include "drivers/scratch/paradox_column_choice.h"
#include "drivers/scratch/paradox_write_out.h"
#include "drivers/scratch/scratch_statements.h"
#include "paradoxfile/code_page.h"
#include "paradoxfile/written_code_pages.h"

#include <algorithm>
#include <cctype>
#include <deque>

namespace quintabel {

namespace scratch = db::scratch;

struct ParadoxWriteOutFit::Columns {
    // ColumnChoice keeps a pointer to its definition: a deque never moves its elements.
    std::deque<scratch::ColumnDefinition> definitions;
    std::vector<scratch::ColumnChoice> choices;
    // The choices as they stood before the row in hand, to go back to when it is refused.
    std::vector<scratch::ColumnChoice> before;
    paradox::CodePage codePage;
    // Kept from row to row so that checking a text allocates nothing.
    std::string encoded;
    std::vector<RowValueText> texts;
};

ParadoxWriteOutFit::ParadoxWriteOutFit(std::string_view createStatement, int codePage)
    : codePage_(codePage != 0 ? codePage : scratch::kDefaultParadoxCodePage)
{
    scratch::CreateTable create;
    try {
        const scratch::ScratchStatement parsed = scratch::parseScratchStatement(createStatement);
        if (!std::holds_alternative<scratch::CreateTable>(parsed))
            return;
        create = std::get<scratch::CreateTable>(parsed);
    } catch (const db::DatabaseError&) {
        return;
    }
    columns_ = std::make_unique<Columns>(Columns{{}, {}, {}, paradox::CodePage(codePage_), {}, {}});
    for (scratch::ColumnDefinition& column : create.columns) {
        columns_->definitions.push_back(std::move(column));
        columns_->choices.emplace_back(columns_->definitions.back());
    }
}

ParadoxWriteOutFit::~ParadoxWriteOutFit() = default;

std::optional<RowMisfit> ParadoxWriteOutFit::misfit(std::span<const db::Value> row, std::size_t rowNumber)
{
    if (!columns_)
        return std::nullopt;
    rowValueTexts(row, TargetKind::Paradox, columns_->texts);
    return misfit(row, columns_->texts, rowNumber);
}

// Each value is tried as the scratch table will hold it after the row's insert: NULL for a
// null or empty value, bytes as bytes, anything else as its text.
std::optional<RowMisfit> ParadoxWriteOutFit::misfit(std::span<const db::Value> row,
                                                    std::span<const RowValueText> texts,
                                                    std::size_t rowNumber)
{
    if (!columns_)
        return std::nullopt;
    if (texts.size() != row.size())
        return misfit(row, rowNumber);
    Columns& columns = *columns_;
    // A row that fails must leave no trace in the columns' choices.
    columns.before.assign(columns.choices.begin(), columns.choices.end());
    const std::size_t checked = std::min(row.size(), columns.choices.size());
    for (std::size_t index = 0; index < checked; ++index) {
        const RowValueText& value = texts[index];
        const std::string& columnName = columns.definitions[index].name;
        try {
            switch (value.kind) {
            case RowValueText::Kind::Null:
                break;
            case RowValueText::Kind::Bytes:
                columns.choices[index].observe(rowNumber, row[index]);
                break;
            case RowValueText::Kind::Text:
                if (auto refusal = codePageRefusal(value.text, columnName, rowNumber)) {
                    columns.choices.swap(columns.before);
                    return refusal;
                }
                columns.choices[index].observe(rowNumber, value.text);
                break;
            }
        } catch (const db::DatabaseError& refusal) {
            columns.choices.swap(columns.before);
            return RowMisfit{"Row " + std::to_string(rowNumber)
                                 + " was not copied, because the Paradox table cannot hold it exactly: "
                                 + refusal.description() + ".",
                             columnName};
        }
    }
    ++rowsFitting_;
    return std::nullopt;
}

std::optional<std::vector<paradox::Field>> ParadoxWriteOutFit::chosenFields() const
{
    if (!columns_)
        return std::nullopt;
    std::vector<paradox::Field> fields;
    try {
        for (const scratch::ColumnChoice& choice : columns_->choices)
            fields.push_back(choice.chooseField());
    } catch (const db::DatabaseError&) {
        return std::nullopt;
    }
    return fields;
}

std::optional<RowMisfit> ParadoxWriteOutFit::codePageRefusal(const std::string& text, const std::string& columnName,
                                                             std::size_t rowNumber)
{
    columns_->encoded.clear();
    const auto refused = columns_->codePage.encode(text, columns_->encoded);
    if (!refused)
        return std::nullopt;
    const bool fitsSomewhere = !paradox::writableCodePagesHolding(text).empty();
    std::string where = paradox::whereTextWouldFit(text);
    where[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(where[0])));
    return RowMisfit{"Row " + std::to_string(rowNumber) + " was not copied: the value '" + valuePreview(text)
                         + "' of the column '" + columnName + "' holds " + *refused
                         + ", which the Paradox table's code page " + std::to_string(codePage_) + " cannot hold. "
                         + where + (fitsSomewhere ? ": choose one under Code Page in the connection window." : "."),
                     columnName};
}

} // namespace quintabel
