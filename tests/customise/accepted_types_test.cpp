#include "customise/accepted_types.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quintabel::customise;

namespace {

TEST(IsValidDataType, WholeNamesPartsAndPrefixesWithoutRegardToCase)
{
    // "char", "binary" and "DATE" pass as parts of "nchar (10)", "VarBinary (50)" and "DateTime".
    for (const char* typed : {"char", "binary", "DATE", "int", "INT", "tInYiNt", "bigint", "TEXT", "DateTime", "MONEY", "BIT", "MEMO",
                              "NUMERIC", "DECIMAL", "VarChar", "small", "", "varchar(40)", "VARCHAR(100)",
                              "nvarchar(20)", "my binary(9) thing", "numeric(30,10)", "Bit\r\nChar (10)"})
        EXPECT_TRUE(IsValidDataType(typed)) << typed;
}

TEST(IsValidDataType, RejectsWhatIsInNeitherTheListNorThePrefixes)
{
    // "varchar (100)" has a blank where "char(" needs none; "int " has a blank no name has.
    for (const char* typed : {"integer", "double", "blob", "varchar (100)", "int ", " int", "VarChar (100)",
                              "varchar2", "longtext", "boolean", "ïnt"})
        EXPECT_FALSE(IsValidDataType(typed)) << typed;
}

TEST(AcceptedTypeList, HelpShowsOneNamePerLine)
{
    const std::string help = acceptedTypeHelpText();
    EXPECT_EQ(std::count(help.begin(), help.end(), '\n'), 26);
    EXPECT_EQ(help.find('\r'), std::string::npos);
    EXPECT_EQ(help.substr(0, 5), "MEMO\n");
    EXPECT_EQ(help.substr(help.size() - 4), "\nxml");
    EXPECT_EQ(acceptedTypeListText().substr(0, 14), "MEMO\r\nbigint\r\n");
}

} // namespace
