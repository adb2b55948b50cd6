// The column a server's refusal of a row names, as MariaDB words its refusals.

#include "transfer/refused_column.h"

#include "base/expected_problem.h"
#include "drivers/database_error.h"

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

// The refusal `thrown` as the row copy and the batch sender pass it on for the row `tableRow`.
template <typename Refusal>
void passOn(const Refusal& thrown, std::int64_t tableRow)
{
    try {
        throw thrown;
    } catch (const db::DatabaseError& failure) {
        rethrowRefusalAtTableRow(failure, tableRow);
    }
}

TEST(RefusedColumnTest, ARefusalPassedOnNamesTheTableRowAndKeepsItsNumberAndMark)
{
    try {
        passOn(db::DatabaseError("Data too long for column 'NAME' at row 1", 1406), 37);
        FAIL() << "nothing was thrown";
    } catch (const db::DatabaseError& failure) {
        EXPECT_EQ(failure.description(), "Data too long for column 'NAME' at row 37");
        EXPECT_EQ(failure.number(), 1406);
        EXPECT_FALSE(isExpectedProblem(failure));
    }
    try {
        passOn(Expected<db::DatabaseError>("Incorrect date value for column 'D' at row 1", 1292), 5);
        FAIL() << "nothing was thrown";
    } catch (const db::DatabaseError& failure) {
        EXPECT_EQ(failure.description(), "Incorrect date value for column 'D' at row 5");
        EXPECT_TRUE(isExpectedProblem(failure));
    }
    // A refusal that names no row goes on as it was thrown, its own type and all.
    struct DriversOwnRefusal : db::DatabaseError {
        using DatabaseError::DatabaseError;
    };
    try {
        passOn(DriversOwnRefusal("Duplicate entry '1' for key 'PRIMARY'", 1062), 5);
        FAIL() << "nothing was thrown";
    } catch (const DriversOwnRefusal& failure) {
        EXPECT_EQ(failure.description(), "Duplicate entry '1' for key 'PRIMARY'");
        EXPECT_EQ(failure.number(), 1062);
    } catch (const db::DatabaseError&) {
        FAIL() << "a refusal naming no row was thrown anew";
    }
}

} // namespace
} // namespace quintabel
