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

namespace {

// The value as the scratch table will hold it after RowInsertStatement's literal: NULL for
// a null or empty value, bytes as bytes, anything else as its text.
db::Value scratchValueOf(const db::Value& value)
{
    if (const auto* bytes = std::get_if<db::Bytes>(&value); bytes != nullptr && !bytes->empty())
        return *bytes;
    std::string text = db::toText(value);
    if (text.empty())
        return db::Null{};
    return text;
}

} // namespace

struct ParadoxWriteOutFit::Columns {
    // ColumnChoice keeps a reference to its definition: a deque never moves its elements.
    std::deque<scratch::ColumnDefinition> definitions;
    std::vector<scratch::ColumnChoice> choices;
    paradox::CodePage codePage;
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
    columns_ = std::make_unique<Columns>(Columns{{}, {}, paradox::CodePage(codePage_)});
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
    const std::size_t checked = std::min(row.size(), columns_->choices.size());
    std::vector<scratch::ColumnChoice> trials;
    trials.reserve(columns_->choices.size());
    for (std::size_t index = 0; index < checked; ++index) {
        const db::Value value = scratchValueOf(row[index]);
        const std::string& columnName = columns_->definitions[index].name;
        if (const auto* text = std::get_if<std::string>(&value)) {
            std::string encoded;
            if (auto refused = columns_->codePage.encode(*text, encoded)) {
                const bool fitsSomewhere = !paradox::writableCodePagesHolding(*text).empty();
                std::string where = paradox::whereTextWouldFit(*text);
                where[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(where[0])));
                return RowMisfit{"Row " + std::to_string(rowNumber) + " was not copied: the value '"
                                     + valuePreview(*text) + "' of the column '" + columnName
                                     + "' holds " + *refused + ", which the Paradox table's code page "
                                     + std::to_string(codePage_) + " cannot hold. " + where
                                     + (fitsSomewhere ? ": choose one under Code Page in the connection window." : "."),
                                 columnName};
            }
        }
        // Tried on a copy: a row that fails must leave no trace in the column's choice. The
        // copies of a row that fits become the columns' choices, each value seen once.
        trials.push_back(columns_->choices[index]);
        try {
            trials.back().observe(rowNumber, value);
        } catch (const db::DatabaseError& refusal) {
            return RowMisfit{"Row " + std::to_string(rowNumber)
                                 + " was not copied, because the Paradox table cannot hold it exactly: "
                                 + refusal.description() + ".",
                             columnName};
        }
    }
    for (std::size_t index = checked; index < columns_->choices.size(); ++index)
        trials.push_back(columns_->choices[index]);
    columns_->choices.swap(trials);
    return std::nullopt;
}

} // namespace quintabel
