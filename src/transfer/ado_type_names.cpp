#include "transfer/ado_type_names.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quintabel {

namespace {

struct AdoType {
    int number;
    std::string_view name;
};

// ADO's DataTypeEnum, one entry per number, in ascending order.
constexpr std::array<AdoType, 39> adoTypes{{
    {0, "adEmpty"},
    {2, "adSmallInt"},
    {3, "adInteger"},
    {4, "adSingle"},
    {5, "adDouble"},
    {6, "adCurrency"},
    {7, "adDate"},
    {8, "adBSTR"},
    {9, "adIDispatch"},
    {10, "adError"},
    {11, "adBoolean"},
    {12, "adVariant"},
    {13, "adIUnknown"},
    {14, "adDecimal"},
    {16, "adTinyInt"},
    {17, "adUnsignedTinyInt"},
    {18, "adUnsignedSmallInt"},
    {19, "adUnsignedInt"},
    {20, "adBigInt"},
    {21, "adUnsignedBigInt"},
    {64, "adFileTime"},
    {72, "adGUID"},
    {128, "adBinary"},
    {129, "adChar"},
    {130, "adWChar"},
    {131, "adNumeric"},
    {132, "adUserDefined"},
    {133, "adDBDate"},
    {134, "adDBTime"},
    {135, "adDBTimeStamp"},
    {136, "adChapter"},
    {138, "adPropVariant"},
    {139, "adVarNumeric"},
    {200, "adVarChar"},
    {201, "adLongVarChar"},
    {202, "adVarWChar"},
    {203, "adLongVarWChar"},
    {204, "adVarBinary"},
    {205, "adLongVarBinary"},
}};

} // namespace

std::string AdoTypeName(int typeNumber)
{
    const auto found = std::find_if(adoTypes.begin(), adoTypes.end(),
                                    [typeNumber](const AdoType& type) { return type.number == typeNumber; });
    return found == adoTypes.end() ? std::string() : std::string(found->name);
}

} // namespace quintabel
