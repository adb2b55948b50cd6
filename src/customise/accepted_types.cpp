#include "customise/accepted_types.h"

#include "base/ascii_case.h"

namespace quintabel::customise {

const std::array<std::string_view, 27> acceptedTypeNames{
    "MEMO",
    "bigint",
    "Binary (50)",
    "Bit",
    "Char (10)",
    "DateTime",
    "decimal(18, 0)",
    "Float",
    "Image",
    "int",
    "Money",
    "nchar (10)",
    "ntext",
    "numeric(18, 0)",
    "nvarchar (50)",
    "Real",
    "smalldatetime",
    "SmallInt",
    "smallmoney",
    "sql_variant",
    "Text",
    "TimeStamp",
    "tinyint",
    "uniqueidentifier",
    "VarBinary (50)",
    "VarChar (50)",
    "xml",
};

const std::array<std::string_view, 4> acceptedTypePrefixes{"binary(", "char(", "decimal(", "numeric("};

namespace {

std::string joined(std::string_view separator)
{
    std::string text;
    for (const std::string_view name : acceptedTypeNames) {
        if (!text.empty())
            text += separator;
        text += name;
    }
    return text;
}

} // namespace

std::string acceptedTypeListText()
{
    return joined("\r\n");
}

std::string acceptedTypeHelpText()
{
    return joined("\n");
}

bool IsValidDataType(std::string_view typed)
{
    static const std::string lowerList = asciiLowerCase(acceptedTypeListText());
    const std::string lowerTyped = asciiLowerCase(typed);
    if (lowerList.find(lowerTyped) != std::string::npos)
        return true;
    for (const std::string_view prefix : acceptedTypePrefixes) {
        if (lowerTyped.find(prefix) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace quintabel::customise
