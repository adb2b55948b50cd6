#include "drivers/scratch/jet_column_types.h"

#include "drivers/ado_types.h"
#include "drivers/connection_attributes.h"
#include "drivers/database_error.h"
#include "drivers/sql_tokens.h"

#include <array>
#include <charconv>
#include <optional>
#include <vector>

namespace quintabel::db::scratch {

namespace {

// What a type name may carry in parentheses.
enum class Sizes {
    None,          // INT
    Length,        // VARCHAR(n): optional, 1 to `maximum`
    PrecisionScale // DECIMAL(p) or DECIMAL(p, s)
};

struct TypeName {
    const char* name;
    JetKind kind;
    int adoType;
    Sizes sizes;
    int defaultSize; // Length: when none is given
    int maximum;     // Length or precision
};

// Jet's limits: text up to 255 characters, binary up to 510 bytes, decimals up to 28 digits.
constexpr std::array typeNames{
    TypeName{"VARCHAR", JetKind::Text, ado::adVarWChar, Sizes::Length, 255, 255},
    TypeName{"NVARCHAR", JetKind::Text, ado::adVarWChar, Sizes::Length, 255, 255},
    TypeName{"STRING", JetKind::Text, ado::adVarWChar, Sizes::Length, 255, 255},
    TypeName{"ALPHANUMERIC", JetKind::Text, ado::adVarWChar, Sizes::Length, 255, 255},
    TypeName{"CHAR", JetKind::Text, ado::adWChar, Sizes::Length, 255, 255},
    TypeName{"NCHAR", JetKind::Text, ado::adWChar, Sizes::Length, 255, 255},
    TypeName{"CHARACTER", JetKind::Text, ado::adWChar, Sizes::Length, 255, 255},
    // TEXT without a size is a Memo (TEXT(n) is handled below).
    TypeName{"TEXT", JetKind::Memo, ado::adLongVarWChar, Sizes::None, 0, 0},
    TypeName{"MEMO", JetKind::Memo, ado::adLongVarWChar, Sizes::None, 0, 0},
    TypeName{"NTEXT", JetKind::Memo, ado::adLongVarWChar, Sizes::None, 0, 0},
    TypeName{"LONGTEXT", JetKind::Memo, ado::adLongVarWChar, Sizes::None, 0, 0},
    TypeName{"LONGCHAR", JetKind::Memo, ado::adLongVarWChar, Sizes::None, 0, 0},
    TypeName{"NOTE", JetKind::Memo, ado::adLongVarWChar, Sizes::None, 0, 0},
    TypeName{"TINYINT", JetKind::Byte, ado::adUnsignedTinyInt, Sizes::None, 0, 0},
    TypeName{"BYTE", JetKind::Byte, ado::adUnsignedTinyInt, Sizes::None, 0, 0},
    TypeName{"INTEGER1", JetKind::Byte, ado::adUnsignedTinyInt, Sizes::None, 0, 0},
    TypeName{"SMALLINT", JetKind::Short, ado::adSmallInt, Sizes::None, 0, 0},
    TypeName{"SHORT", JetKind::Short, ado::adSmallInt, Sizes::None, 0, 0},
    TypeName{"INTEGER2", JetKind::Short, ado::adSmallInt, Sizes::None, 0, 0},
    TypeName{"INT", JetKind::Long, ado::adInteger, Sizes::None, 0, 0},
    TypeName{"INTEGER", JetKind::Long, ado::adInteger, Sizes::None, 0, 0},
    TypeName{"LONG", JetKind::Long, ado::adInteger, Sizes::None, 0, 0},
    TypeName{"INTEGER4", JetKind::Long, ado::adInteger, Sizes::None, 0, 0},
    TypeName{"BIGINT", JetKind::BigInt, ado::adBigInt, Sizes::None, 0, 0},
    TypeName{"DECIMAL", JetKind::Decimal, ado::adNumeric, Sizes::PrecisionScale, 18, 28},
    TypeName{"NUMERIC", JetKind::Decimal, ado::adNumeric, Sizes::PrecisionScale, 18, 28},
    TypeName{"DEC", JetKind::Decimal, ado::adNumeric, Sizes::PrecisionScale, 18, 28},
    TypeName{"MONEY", JetKind::Currency, ado::adCurrency, Sizes::None, 0, 0},
    TypeName{"CURRENCY", JetKind::Currency, ado::adCurrency, Sizes::None, 0, 0},
    TypeName{"SMALLMONEY", JetKind::Currency, ado::adCurrency, Sizes::None, 0, 0},
    TypeName{"REAL", JetKind::Single, ado::adSingle, Sizes::None, 0, 0},
    TypeName{"SINGLE", JetKind::Single, ado::adSingle, Sizes::None, 0, 0},
    TypeName{"FLOAT4", JetKind::Single, ado::adSingle, Sizes::None, 0, 0},
    TypeName{"IEEESINGLE", JetKind::Single, ado::adSingle, Sizes::None, 0, 0},
    TypeName{"FLOAT", JetKind::Double, ado::adDouble, Sizes::None, 0, 0},
    TypeName{"DOUBLE", JetKind::Double, ado::adDouble, Sizes::None, 0, 0},
    TypeName{"FLOAT8", JetKind::Double, ado::adDouble, Sizes::None, 0, 0},
    TypeName{"IEEEDOUBLE", JetKind::Double, ado::adDouble, Sizes::None, 0, 0},
    TypeName{"NUMBER", JetKind::Double, ado::adDouble, Sizes::None, 0, 0},
    TypeName{"DATETIME", JetKind::DateTime, ado::adDate, Sizes::None, 0, 0},
    TypeName{"DATE", JetKind::DateTime, ado::adDate, Sizes::None, 0, 0},
    TypeName{"TIME", JetKind::DateTime, ado::adDate, Sizes::None, 0, 0},
    TypeName{"SMALLDATETIME", JetKind::DateTime, ado::adDate, Sizes::None, 0, 0},
    TypeName{"TIMESTAMP", JetKind::DateTime, ado::adDate, Sizes::None, 0, 0},
    TypeName{"BIT", JetKind::Boolean, ado::adBoolean, Sizes::None, 0, 0},
    TypeName{"YESNO", JetKind::Boolean, ado::adBoolean, Sizes::None, 0, 0},
    TypeName{"LOGICAL", JetKind::Boolean, ado::adBoolean, Sizes::None, 0, 0},
    TypeName{"LOGICAL1", JetKind::Boolean, ado::adBoolean, Sizes::None, 0, 0},
    TypeName{"BINARY", JetKind::Binary, ado::adBinary, Sizes::Length, 510, 510},
    TypeName{"VARBINARY", JetKind::Binary, ado::adVarBinary, Sizes::Length, 510, 510},
    TypeName{"OLEOBJECT", JetKind::LongBinary, ado::adLongVarBinary, Sizes::None, 0, 0},
    TypeName{"IMAGE", JetKind::LongBinary, ado::adLongVarBinary, Sizes::None, 0, 0},
    TypeName{"LONGBINARY", JetKind::LongBinary, ado::adLongVarBinary, Sizes::None, 0, 0},
    TypeName{"GENERAL", JetKind::LongBinary, ado::adLongVarBinary, Sizes::None, 0, 0},
    TypeName{"UNIQUEIDENTIFIER", JetKind::Guid, ado::adGUID, Sizes::None, 0, 0},
    TypeName{"GUID", JetKind::Guid, ado::adGUID, Sizes::None, 0, 0},
};

[[noreturn]] void refuse(std::string_view typeText, std::string_view columnName,
                         const std::string& why)
{
    throw DatabaseError("The column '" + std::string(columnName) + "' has the type '"
                        + std::string(typeText) + "', " + why + ".");
}

std::optional<int> wholeNumber(const std::string& text)
{
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

// The numbers in "(n)" or "(p, s)" after the name; empty when there are none.
std::vector<int> readSizes(sql::TokenCursor& tokens, std::string_view typeText,
                           std::string_view columnName)
{
    std::vector<int> sizes;
    if (!tokens.takeSymbol('('))
        return sizes;
    do {
        const sql::Token& token = tokens.take();
        const auto number = token.kind == sql::TokenKind::Word ? wholeNumber(token.text)
                                                               : std::nullopt;
        if (!number)
            refuse(typeText, columnName, "whose size is not a whole number");
        sizes.push_back(*number);
    } while (tokens.takeSymbol(','));
    if (!tokens.takeSymbol(')'))
        refuse(typeText, columnName, "whose size is not closed by \")\"");
    return sizes;
}

} // namespace

JetColumnType parseJetColumnType(std::string_view typeText, std::string_view columnName)
{
    sql::TokenCursor tokens(typeText, sql::tokenize(typeText));
    const sql::Token& nameToken = tokens.take();
    if (nameToken.kind != sql::TokenKind::Word)
        refuse(typeText, columnName, "which is no type name");
    const std::string name = nameToken.text;
    const std::vector<int> sizes = readSizes(tokens, typeText, columnName);
    if (tokens.peek().kind != sql::TokenKind::End)
        refuse(typeText, columnName, "which has more after its type name than a size");

    // TEXT(n) is Jet's Text(n), unlike TEXT alone.
    const bool sizedText = equalsIgnoringCase(name, "TEXT") && !sizes.empty();
    const std::string_view lookupName = sizedText ? std::string_view("VARCHAR") : name;
    const TypeName* entry = nullptr;
    for (const TypeName& candidate : typeNames) {
        if (equalsIgnoringCase(lookupName, candidate.name)) {
            entry = &candidate;
            break;
        }
    }
    if (entry == nullptr)
        refuse(typeText, columnName, "which the scratch database does not know");

    JetColumnType type;
    type.kind = entry->kind;
    type.adoType = entry->adoType;
    type.sizeGiven = !sizes.empty();
    switch (entry->sizes) {
    case Sizes::None:
        if (!sizes.empty())
            refuse(typeText, columnName, "which takes no size");
        break;
    case Sizes::Length:
        if (sizes.size() > 1)
            refuse(typeText, columnName, "which takes one size only");
        type.size = sizes.empty() ? entry->defaultSize : sizes[0];
        if (type.size < 1 || type.size > entry->maximum)
            refuse(typeText, columnName,
                   "whose size is not from 1 to " + std::to_string(entry->maximum));
        break;
    case Sizes::PrecisionScale:
        if (sizes.size() > 2)
            refuse(typeText, columnName, "which takes a precision and a scale at most");
        type.precision = sizes.empty() ? entry->defaultSize : sizes[0];
        type.scale = sizes.size() == 2 ? sizes[1] : 0;
        if (type.precision < 1 || type.precision > entry->maximum || type.scale < 0
            || type.scale > type.precision)
            refuse(typeText, columnName,
                   "whose precision is not from 1 to 28 or whose scale exceeds it");
        break;
    }
    return type;
}

} // namespace quintabel::db::scratch
