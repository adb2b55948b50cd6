// The column a server's refusal of a row names, as MariaDB words its refusals.

#include "transfer/refused_column.h"

#include <gtest/gtest.h>

namespace quintabel {
namespace {

struct RefusalCase {
    const char* message;
    std::optional<std::string> column;
};

TEST(RefusedColumnTest, TheColumnIsReadFromEachWordingTheServerUses)
{
    const RefusalCase cases[] = {
        {"Data too long for column 'NAME' at row 1", "NAME"},
        {"Out of range value for column 'price' at row 1", "price"},
        {"Data truncated for column 'it's' at row 1", "it's"},
        {"Incorrect integer value: 'abc' for column `shop`.`orders`.`qty` at row 1", "qty"},
        {"Incorrect string value: '\\xCE\\xA9' for column `db`.`t`.`a``b.c` at row 1", "a`b.c"},
        {"Column 'id' cannot be null", "id"},
        {"Field 'created' doesn't have a default value", "created"},
        {"Duplicate entry '1' for key 'PRIMARY'", std::nullopt},
        {"Lost connection to server during query", std::nullopt},
        {"for column `unterminated at row 1", std::nullopt},
        {"", std::nullopt},
    };
    for (const RefusalCase& refusal : cases)
        EXPECT_EQ(columnNamedInRefusal(refusal.message), refusal.column) << refusal.message;
}

} // namespace
} // namespace quintabel
