// The --types file: what it may hold, how its names meet the listed tables and the loaded
// fields, and the customisation window's own rule for the types.

#include "cli/chosen_types.h"
#include "shell/support/qstring_printer.h"

#include <gtest/gtest.h>

namespace quintabel::cli {
namespace {

ChosenTypes parsed(const char* json)
{
    auto result = ChosenTypes::parse(QByteArray(json), QStringLiteral("types.json"));
    if (const auto* problem = std::get_if<QString>(&result))
        ADD_FAILURE() << problem->toStdString();
    return std::holds_alternative<ChosenTypes>(result) ? std::get<ChosenTypes>(std::move(result)) : ChosenTypes();
}

QString problemOf(const char* json)
{
    const auto result = ChosenTypes::parse(QByteArray(json), QStringLiteral("types.json"));
    EXPECT_TRUE(std::holds_alternative<QString>(result)) << json;
    return std::holds_alternative<QString>(result) ? std::get<QString>(result) : QString();
}

customise::CustomisationLists loaded(const std::vector<std::pair<std::string, std::string>>& fields)
{
    customise::CustomisationLists lists;
    for (const auto& [name, type] : fields) {
        lists.appendField(name);
        lists.appendType(type);
    }
    return lists;
}

TEST(ChosenTypesTest, FilesOfTheWrongShapeAreRefusedNamingTheFileAndTheEntry)
{
    EXPECT_TRUE(problemOf("{\"ORDERS\": ").startsWith(QLatin1String("the types file 'types.json' is not valid JSON")));
    EXPECT_TRUE(problemOf("[1, 2]").contains(QLatin1String("must hold an object of tables")));
    EXPECT_TRUE(problemOf("{\"ORDERS\": \"DECIMAL\"}").endsWith(QLatin1String("(ORDERS is not an object)")));
    EXPECT_TRUE(problemOf("{\"ORDERS\": {\"AMOUNT\": 12}}").endsWith(QLatin1String("(ORDERS.AMOUNT is not a text)")));
    const auto missing = ChosenTypes::read(QStringLiteral("/nonexistent/types.json"));
    ASSERT_TRUE(std::holds_alternative<QString>(missing));
    EXPECT_TRUE(std::get<QString>(missing).startsWith(
        QLatin1String("cannot read the types file '/nonexistent/types.json'")));
}

TEST(ChosenTypesTest, ATableIsFoundByItsExactNameBeforeAnyOtherCase)
{
    const ChosenTypes types = parsed(R"json({"Orders": {"A": "TEXT"}, "ORDERS": {"B": "TEXT"}, "items": {"C": "TEXT"}})json");
    ASSERT_NE(types.forTable(QStringLiteral("ORDERS")), nullptr);
    EXPECT_EQ(types.forTable(QStringLiteral("ORDERS"))->fields.front().field, QStringLiteral("B"));
    EXPECT_EQ(types.forTable(QStringLiteral("Orders"))->fields.front().field, QStringLiteral("A"));
    // Two entries that differ only in case leave a third spelling unmatched, not guessed.
    EXPECT_EQ(types.forTable(QStringLiteral("orders")), nullptr);
    ASSERT_NE(types.forTable(QStringLiteral("ITEMS")), nullptr);
    EXPECT_EQ(types.forTable(QStringLiteral("ITEMS"))->fields.front().type, QStringLiteral("TEXT"));
    EXPECT_EQ(types.forTable(QStringLiteral("CUSTOMERS")), nullptr);
}

TEST(ChosenTypesTest, InvalidTypesAreNamedAsTableDotFieldWithTheWindowsMessage)
{
    const ChosenTypes types = parsed(R"json({"ORDERS": {"AMOUNT": "MONEYBAGS", "NAME": "VARCHAR(80)", "NOTE": "memo"}})json");
    EXPECT_EQ(invalidTypeEntries(types.tables().front()), QStringList{QStringLiteral("ORDERS.AMOUNT: Invalid datatype.")});
}

TEST(ChosenTypesTest, ChosenTypesReplaceTheProposedOnesAndTheRestStay)
{
    const ChosenTypes types = parsed(R"json({"ORDERS": {"amount": "DECIMAL(12,2)", "NAME": "VARCHAR(80)"}})json");
    customise::CustomisationLists lists =
        loaded({{"ID", "INTEGER"}, {"NAME", "VARCHAR(12)"}, {"AMOUNT", "DOUBLE"}});
    EXPECT_TRUE(applyChosenTypes(types.tables().front(), lists).isEmpty());
    EXPECT_EQ(lists.typeTexts(), (std::vector<std::string>{"INTEGER", "VARCHAR(80)", "DECIMAL(12,2)"}));
    EXPECT_EQ(lists.confirm("CREATE TABLE `ORDERS` (", "MySQL"),
              "CREATE TABLE `ORDERS` (`ID` INTEGER,`NAME` VARCHAR(80),`AMOUNT` DECIMAL(12,2))");
}

TEST(ChosenTypesTest, AFieldTheTableLacksOrCannotTypeIsAProblemOfThatEntry)
{
    const ChosenTypes types = parsed(R"json({"ORDERS": {"PRICE": "DECIMAL(9,2)", "NOTE": "TEXT", "ID": "BOGUS"}})json");
    // A load that failed between a field and its type leaves NOTE without a type entry.
    customise::CustomisationLists lists = loaded({{"ID", "INTEGER"}});
    lists.appendField("NOTE");
    const QStringList problems = applyChosenTypes(types.tables().front(), lists);
    EXPECT_EQ(problems, (QStringList{QStringLiteral("ORDERS.ID: Invalid datatype."),
                                     QStringLiteral("ORDERS.NOTE: the table ORDERS has no field of that name."),
                                     QStringLiteral("ORDERS.PRICE: the table ORDERS has no field of that name.")}));
    EXPECT_EQ(lists.typeTexts(), std::vector<std::string>{"INTEGER"});
}

} // namespace
} // namespace quintabel::cli
