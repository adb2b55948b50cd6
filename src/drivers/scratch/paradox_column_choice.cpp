#include "drivers/scratch/paradox_column_choice.h"

#include "base/report_excerpt.h"
#include "drivers/connection_attributes.h"
#include "drivers/database_error.h"
#include "drivers/exact_number.h"
#include "drivers/scratch/scratch_date_text.h"

#include <algorithm>
#include <array>

namespace quintabel::db::scratch {

namespace px = quintabel::paradox;
using px::FieldType;

namespace {

constexpr int alphaLimit = 255;
constexpr int bcdDigits = 32;
// Bytes of each blob value kept in the record itself, plus the 10-byte pointer.
constexpr int memoFieldSize = 10 + 10;
constexpr int binaryFieldSize = 10;

// Where each declared kind of number starts, and the fields it may widen to, in order.
struct NumberLadder {
    JetKind kind;
    std::array<FieldType, 4> steps;
    int count;
};

constexpr std::array numberLadders{
    NumberLadder{JetKind::Byte, {FieldType::Short}, 1},
    NumberLadder{JetKind::Short, {FieldType::Short}, 1},
    NumberLadder{JetKind::Long, {FieldType::Long, FieldType::Number, FieldType::Bcd}, 3},
    NumberLadder{JetKind::BigInt, {FieldType::Number, FieldType::Bcd}, 2},
    NumberLadder{JetKind::Decimal, {FieldType::Number, FieldType::Bcd}, 2},
    NumberLadder{JetKind::Single, {FieldType::Number, FieldType::Bcd}, 2},
    NumberLadder{JetKind::Double, {FieldType::Number, FieldType::Bcd}, 2},
    NumberLadder{JetKind::Currency, {FieldType::Money}, 1},
};

const NumberLadder* ladderFor(JetKind kind)
{
    for (const NumberLadder& ladder : numberLadders) {
        if (ladder.kind == kind)
            return &ladder;
    }
    return nullptr;
}

std::size_t codePointCount(const std::string& text)
{
    std::size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

// MEMO, NTEXT, LONGTEXT and their kin, chosen in the customisation window, ask for a Memo
// field; TEXT, which the default mapping writes for every text column, gets a Memo only for
// values too long for an Alpha field.
bool declaredMemo(const ColumnDefinition& column)
{
    if (column.type.kind != JetKind::Memo)
        return false;
    const std::string_view typeText = column.typeText;
    const std::string_view name = typeText.substr(0, typeText.find_first_of(" (\t"));
    return !equalsIgnoringCase(name, "TEXT");
}

// The texts a Logical field takes, without regard to case.
std::optional<bool> truthOf(const std::string& text)
{
    static constexpr std::array<std::string_view, 4> trues{"True", "1", "-1", "Yes"};
    static constexpr std::array<std::string_view, 3> falses{"False", "0", "No"};
    for (const std::string_view truth : trues) {
        if (equalsIgnoringCase(text, truth))
            return true;
    }
    for (const std::string_view falsehood : falses) {
        if (equalsIgnoringCase(text, falsehood))
            return false;
    }
    return std::nullopt;
}

px::Field makeField(const std::string& name, FieldType type, int size = 0, int decimals = 0)
{
    return px::Field{name, type, size, decimals};
}

} // namespace

ColumnChoice::ColumnChoice(const ColumnDefinition& column) : column_(&column)
{
    switch (column.type.kind) {
    case JetKind::Text:
    case JetKind::Memo:
    case JetKind::Guid:
        family_ = Family::Text;
        break;
    case JetKind::DateTime:
        family_ = Family::DateTime;
        break;
    case JetKind::Boolean:
        family_ = Family::Boolean;
        break;
    case JetKind::Binary:
    case JetKind::LongBinary:
        family_ = Family::Bytes;
        break;
    default:
        family_ = Family::Number;
    }
}

void ColumnChoice::refuse(std::size_t row, const std::string& value, const std::string& why) const
{
    throw DatabaseError("the value '" + valuePreview(value) + "' in row "
                        + std::to_string(row) + " of the column '" + column_->name + "' " + why);
}

void ColumnChoice::observe(std::size_t row, const Value& value)
{
    if (isNull(value))
        return;
    if (const auto* bytes = std::get_if<Bytes>(&value)) {
        if (family_ != Family::Text && family_ != Family::Bytes)
            refuse(row, "bytes", "is bytes, which a " + column_->typeText + " column cannot hold");
        if (bytes->empty())
            refuse(row, "", "is empty bytes, which a Paradox table cannot tell from a blank field");
        if (column_->type.kind == JetKind::Binary && column_->type.sizeGiven
            && bytes->size() > static_cast<std::size_t>(column_->type.size))
            refuse(row, "bytes", "has " + std::to_string(bytes->size()) + " bytes, more than the "
                                     + std::to_string(column_->type.size) + " of its type "
                                     + column_->typeText);
        if (byteValues_++ == 0)
            firstBytesRow_ = row;
        if (textValues_ > 0)
            refuse(row, "bytes", "is bytes, but row " + std::to_string(firstTextRow_)
                                      + " of the same column holds text");
        return;
    }
    observe(row, std::get<std::string>(value));
}

void ColumnChoice::observe(std::size_t row, const std::string& text)
{
    switch (family_) {
    case Family::Text:
        observeText(row, text);
        break;
    case Family::Number:
        observeNumber(row, text);
        break;
    case Family::DateTime:
        observeDateTime(row, text);
        break;
    case Family::Boolean:
        observeBoolean(row, text);
        break;
    case Family::Bytes:
        refuse(row, text, "is text, which a " + column_->typeText + " column of bytes cannot hold");
    }
}

void ColumnChoice::observeText(std::size_t row, const std::string& text)
{
    if (text.empty())
        refuse(row, text, "is an empty text, which a Paradox table cannot tell from a blank field");
    if (text.find('\0') != std::string::npos)
        refuse(row, text, "holds a NUL character, which a Paradox text field cannot keep");
    if (byteValues_ > 0)
        refuse(row, text, "is text, but row " + std::to_string(firstBytesRow_)
                              + " of the same column holds bytes");
    const std::size_t length = codePointCount(text);
    if (column_->type.kind == JetKind::Text && column_->type.sizeGiven
        && length > static_cast<std::size_t>(column_->type.size))
        refuse(row, text, "has " + std::to_string(length) + " characters, more than the "
                              + std::to_string(column_->type.size) + " of its type " + column_->typeText);
    if (textValues_++ == 0)
        firstTextRow_ = row;
    longestText_ = std::max(longestText_, length);
}

void ColumnChoice::observeNumber(std::size_t row, const std::string& text)
{
    const auto number = readExactNumber(text);
    if (!number)
        refuse(row, text, "is not a number");
    const auto whole = toInt64(*number);
    requireDeclaredLimits(row, text, *number, whole);
    allFitByte_ = allFitByte_ && whole && *whole >= 0 && *whole <= 255;
    allFitShort_ = allFitShort_ && whole && *whole >= -32767 && *whole <= 32767;
    allFitLong_ = allFitLong_ && whole && *whole >= -2147483647LL && *whole <= 2147483647LL;
    allFitDouble_ = allFitDouble_ && holdsExactlyInDouble(*number);
    mostIntegerDigits_ = std::max(mostIntegerDigits_, number->integerDigits());
    mostFractionDigits_ = std::max(mostFractionDigits_, number->fractionDigits());
    if (!allFitDouble_ && mostIntegerDigits_ + mostFractionDigits_ > bcdDigits)
        refuse(row, text, "needs more than the " + std::to_string(bcdDigits)
                              + " digits the largest Paradox number field (BCD) holds exactly, "
                                "together with the other values of its column");
}

// Checked value by value, before the value counts for the column: a refused value leaves
// the choice as it was.
void ColumnChoice::requireDeclaredLimits(std::size_t row, const std::string& text,
                                         const ExactNumber& number,
                                         const std::optional<std::int64_t>& whole) const
{
    const JetColumnType& type = column_->type;
    switch (type.kind) {
    case JetKind::Byte:
        if (!whole || *whole < 0 || *whole > 255)
            refuse(row, text, "is not a whole number from 0 to 255, as its type " + column_->typeText
                                  + " holds");
        break;
    case JetKind::Short:
        // -32768 is the blank of a Paradox Short field.
        if (!whole || *whole < -32767 || *whole > 32767)
            refuse(row, text, "is not a whole number from -32767 to 32767, as its type "
                                  + column_->typeText + " holds in a Paradox Short field");
        break;
    case JetKind::Currency:
        if (!holdsExactlyInDouble(number))
            refuse(row, text, "has more digits than its type " + column_->typeText
                                  + " holds exactly in a Paradox Money field");
        break;
    case JetKind::Decimal:
        if (type.sizeGiven
            && (number.fractionDigits() > type.scale
                || number.integerDigits() > type.precision - type.scale))
            refuse(row, text, "does not fit its type " + column_->typeText + " (at most "
                                  + std::to_string(type.precision - type.scale)
                                  + " digits before the point and " + std::to_string(type.scale)
                                  + " after it)");
        break;
    default:
        break;
    }
}

void ColumnChoice::observeDateTime(std::size_t row, const std::string& text)
{
    const auto date = readDateText(text);
    if (!date)
        refuse(row, text, "is not a date, a date and time, or a time of day");
    if (date->lostMicroseconds != 0)
        refuse(row, text, "has a fraction of a second finer than the millisecond Paradox keeps");
    if (std::holds_alternative<px::Time>(date->value)) {
        if (timeOnlyValues_++ == 0)
            firstTimeOnlyRow_ = row;
    } else if (dateValues_++ == 0) {
        firstDateRow_ = row;
    }
    if (timeOnlyValues_ > 0 && dateValues_ > 0)
        refuse(row, text, "does not match row "
                              + std::to_string(std::holds_alternative<px::Time>(date->value)
                                                   ? firstDateRow_ : firstTimeOnlyRow_)
                              + ": one Paradox field holds either times of day or dates");
}

void ColumnChoice::observeBoolean(std::size_t row, const std::string& text)
{
    if (!truthOf(text))
        refuse(row, text, "is not True or False");
}

bool ColumnChoice::ladderHolds(FieldType type) const
{
    switch (type) {
    case FieldType::Short:
        return column_->type.kind == JetKind::Byte ? allFitByte_ : allFitShort_;
    case FieldType::Long:
        return allFitLong_;
    case FieldType::Number:
    case FieldType::Money:
        return allFitDouble_;
    default: // BCD: checked value by value as they came
        return mostIntegerDigits_ + mostFractionDigits_ <= bcdDigits;
    }
}

px::Field ColumnChoice::chooseField() const
{
    const std::string& name = column_->name;
    switch (family_) {
    case Family::Text: {
        if (byteValues_ > 0)
            return makeField(name, FieldType::Binary, binaryFieldSize);
        const std::size_t declared =
            column_->type.kind == JetKind::Text ? static_cast<std::size_t>(column_->type.size) : 1;
        const std::size_t width = std::max({longestText_, declared, std::size_t{1}});
        if (width > alphaLimit || declaredMemo(*column_))
            return makeField(name, FieldType::Memo, memoFieldSize);
        return makeField(name, FieldType::Alpha, static_cast<int>(width));
    }
    case Family::DateTime:
        return makeField(name, timeOnlyValues_ > 0 ? FieldType::Time : FieldType::Timestamp);
    case Family::Boolean:
        return makeField(name, FieldType::Logical);
    case Family::Bytes:
        return makeField(name, FieldType::Binary, binaryFieldSize);
    case Family::Number:
        break;
    }
    const NumberLadder* ladder = ladderFor(column_->type.kind);
    for (int step = 0; step < ladder->count; ++step) {
        const FieldType type = ladder->steps[static_cast<std::size_t>(step)];
        if (ladderHolds(type))
            return makeField(name, type, 0, type == FieldType::Bcd ? mostFractionDigits_ : 0);
    }
    // observeNumber refuses a column that not even a BCD holds, so this is not reached.
    throw DatabaseError("the column '" + name + "' holds numbers no Paradox field holds exactly");
}

namespace {

// Only a field chosen from other values than those written meets a value it cannot take.
[[noreturn]] void refuseUnfitValue(const px::Field& field, const std::string& text)
{
    throw DatabaseError("the value '" + valuePreview(text) + "' does not fit the field chosen for the column '"
                        + field.name + "'");
}

} // namespace

px::Value toParadoxValue(const px::Field& field, const Value& value)
{
    if (isNull(value))
        return px::Null{};
    if (const auto* bytes = std::get_if<Bytes>(&value))
        return px::Blob(*bytes);
    const std::string& text = std::get<std::string>(value);
    switch (field.type) {
    case FieldType::Short:
    case FieldType::Long: {
        const auto number = readExactNumber(text);
        const auto whole = number ? toInt64(*number) : std::nullopt;
        if (!whole)
            refuseUnfitValue(field, text);
        return *whole;
    }
    case FieldType::Number:
    case FieldType::Money: {
        const auto number = readExactNumber(text);
        const auto exact = number ? toExactDouble(*number) : std::nullopt;
        if (!exact)
            refuseUnfitValue(field, text);
        return *exact;
    }
    case FieldType::Bcd: {
        const auto number = readExactNumber(text);
        if (!number)
            refuseUnfitValue(field, text);
        return px::Decimal{plainText(*number)};
    }
    case FieldType::Logical: {
        const auto truth = truthOf(text);
        if (!truth)
            refuseUnfitValue(field, text);
        return *truth;
    }
    case FieldType::Timestamp: {
        const auto date = readDateText(text);
        if (!date || std::holds_alternative<px::Time>(date->value))
            refuseUnfitValue(field, text);
        if (const auto* day = std::get_if<px::Date>(&date->value))
            return px::Timestamp{*day, px::Time{}};
        return std::get<px::Timestamp>(date->value);
    }
    case FieldType::Time: {
        const auto date = readDateText(text);
        if (!date || !std::holds_alternative<px::Time>(date->value))
            refuseUnfitValue(field, text);
        return std::get<px::Time>(date->value);
    }
    default:
        return text;
    }
}

} // namespace quintabel::db::scratch
