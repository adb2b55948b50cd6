#include "customise/customised_create.h"

#include "transfer/sql_names.h"

#include <algorithm>

namespace quintabel::customise {

namespace {

bool isBlank(char character)
{
    return character == ' ' || character == '\t';
}

bool isDigit(char character)
{
    return character >= '0' && character <= '9';
}

std::string_view withoutSurroundingBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Advances `position` past a run of digits and returns how many there were.
std::size_t skipDigits(std::string_view text, std::size_t& position)
{
    const std::size_t start = position;
    while (position < text.size() && isDigit(text[position]))
        ++position;
    return position - start;
}

} // namespace

bool readsAsNumber(std::string_view name)
{
    const std::string_view text = withoutSurroundingBlanks(name);
    std::size_t position = 0;
    if (position < text.size() && (text[position] == '+' || text[position] == '-'))
        ++position;
    std::size_t mantissaDigits = skipDigits(text, position);
    if (position < text.size() && text[position] == '.') {
        ++position;
        mantissaDigits += skipDigits(text, position);
    }
    if (mantissaDigits == 0)
        return false;
    if (position < text.size() && (text[position] == 'E' || text[position] == 'e')) {
        ++position;
        if (position < text.size() && (text[position] == '+' || text[position] == '-'))
            ++position;
        if (skipDigits(text, position) == 0)
            return false;
    }
    return position == text.size();
}

NewFieldNames::NewFieldNames(std::span<const std::string> fieldNames)
    : fieldNames_(fieldNames)
{
}

bool NewFieldNames::isTaken(std::string_view candidate) const
{
    const auto same = [candidate](const std::string& name) { return name == candidate; };
    return std::any_of(fieldNames_.begin(), fieldNames_.end(), same)
        || std::any_of(handedOut_.begin(), handedOut_.end(), same);
}

std::string NewFieldNames::NewFieldName()
{
    std::string candidate = "newfieldname0";
    // The counter only ever grows within one "OK", and the loop ends: there are fewer taken
    // names than counter values.
    for (unsigned counter = 1; isTaken(candidate); ++counter)
        candidate = "tempid" + std::to_string(counter);
    handedOut_.push_back(candidate);
    return candidate;
}

TargetKind columnQuotingFor(std::string_view mType)
{
    return targetKindFromText(mType).value_or(TargetKind::MySQL);
}

std::string quotedColumnName(std::string_view name, TargetKind target)
{
    if (target == TargetKind::Paradox && name.find(']') == std::string_view::npos)
        return "[" + std::string(name) + "]";
    return backtickQuoted(name);
}

std::string customisedCreateStatement(std::string_view statementHead, std::span<const std::string> fieldNames,
                                      std::span<const std::string> typeTexts, TargetKind target)
{
    const std::size_t columnCount = std::min(fieldNames.size(), typeTexts.size());
    std::string statement(statementHead);
    if (columnCount == 0)
        return statement;
    NewFieldNames newFieldNames(fieldNames);
    for (std::size_t index = 0; index < columnCount; ++index) {
        const std::string& fieldName = fieldNames[index];
        const std::string columnName = readsAsNumber(fieldName) ? newFieldNames.NewFieldName() : fieldName;
        statement += quotedColumnName(columnName, target);
        statement += ' ';
        statement += typeTexts[index];
        statement += ',';
    }
    statement.back() = ')';
    return statement;
}

} // namespace quintabel::customise
