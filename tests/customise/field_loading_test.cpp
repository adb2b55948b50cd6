// The fields and proposed types the customisation window loads, read from a real MariaDB
// table and from real Paradox tables.

#include "customise/field_loading.h"
#include "customise_sources.h"

#include "drivers/database_error.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quintabel::customise {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows rowsOf(const CustomisationLists& lists)
{
    Rows rows;
    for (std::size_t i = 0; i < lists.fieldNames().size(); ++i)
        rows.emplace_back(lists.fieldNames()[i], i < lists.typeTexts().size() ? lists.typeTexts()[i] : "<none>");
    return rows;
}

class MySqlFieldLoading : public ::testing::Test {
protected:
    Rows load(const std::string& table)
    {
        CustomisationLists lists;
        LoadFieldsFromMySQL(testing::sandboxLogin(database.name()), table, lists);
        return rowsOf(lists);
    }

    testing::MariaDbTestDatabase database;
};

TEST_F(MySqlFieldLoading, FirstRowDecidesTheTextWidths)
{
    database.run("CREATE TABLE shapes (id INT PRIMARY KEY, empty_text VARCHAR(300), one_char VARCHAR(300), "
                 "full_width VARCHAR(300), too_wide VARCHAR(300), missing VARCHAR(300), wide_column CHAR(100), "
                 "accents VARCHAR(20), note TEXT, price DECIMAL(10,2), ratio DOUBLE, flag BIT(1), small SMALLINT, "
                 "tiny TINYINT, big BIGINT UNSIGNED, zip INT UNSIGNED, born DATE, seen DATETIME, raw VARBINARY(10))");
    database.run("INSERT INTO shapes VALUES (1, '', 'x', REPEAT('a', 255), REPEAT('b', 256), NULL, 'abc', "
                 "'Zürich', 'n', 1.50, 0.25, b'1', 7, 8, 9, 10, '2020-02-29', '2020-02-29 10:11:12', X'00FF10AB')");
    // Only the first row is read: the wider values below change nothing.
    database.run("INSERT INTO shapes VALUES (2, 'later', 'longer', 'c', 'd', 'e', 'defghij', 'x', 'y', 1, 1, b'0', "
                 "1, 1, 1, 1, NULL, NULL, NULL)");
    const Rows expected{{"id", "INT"},
                        {"empty_text", "VARCHAR(255)"},
                        {"one_char", "VARCHAR(1)"},
                        {"full_width", "VARCHAR(255)"},
                        {"too_wide", "TEXT"},
                        {"missing", "VARCHAR(255)"},
                        {"wide_column", "VARCHAR(3)"},
                        {"accents", "VARCHAR(6)"},
                        {"note", "TEXT"},
                        {"price", "NUMERIC"},
                        {"ratio", "NUMERIC"},
                        {"flag", "BIT"},
                        {"small", "SMALLINT"},
                        {"tiny", "TINYINT"},
                        {"big", "BIGINT"},
                        {"zip", "INT"},
                        {"born", "DATETIME"},
                        {"seen", "DATETIME"},
                        {"raw", "VARCHAR(4)"}};
    EXPECT_EQ(load("shapes"), expected);

    // With no row every width falls back to VARCHAR(255); the other proposals stay.
    database.run("CREATE TABLE no_rows LIKE shapes");
    Rows emptyExpected = expected;
    for (auto& [field, type] : emptyExpected) {
        if (type.starts_with("VARCHAR") || (type == "TEXT" && field != "note"))
            type = "VARCHAR(255)";
    }
    EXPECT_EQ(load("no_rows"), emptyExpected);
}

TEST_F(MySqlFieldLoading, TheNameIsReadWholeAndAMissingTableFailsWithNothingLoaded)
{
    database.run("CREATE TABLE `odd``name` (`a b` INT)");
    EXPECT_EQ(load("odd`name"), (Rows{{"a b", "INT"}}));

    CustomisationLists lists;
    EXPECT_THROW(LoadFieldsFromMySQL(testing::sandboxLogin(database.name()), "absent", lists), db::DatabaseError);
    EXPECT_TRUE(lists.fieldNames().empty());
}

TEST(ParadoxFieldLoading, ProposalsForEveryParadoxFieldType)
{
    testing::TemporaryFolder folder;
    testing::copyParadoxTable("rparadox/TypSammlung", folder);
    testing::copyParadoxTable("rparadox/empty", folder);
    connections::LoginFields login;
    login.paradoxFolder = folder.string();

    CustomisationLists lists;
    LoadFieldsFromParadox(login, "TYPSAMMLUNG", lists);
    // Number, Money and BCD all reach the program as doubles; blank values measure as no
    // value; Binary and Bytes are no listed type and follow the width rule.
    EXPECT_EQ(rowsOf(lists), (Rows{{"Alpha", "VARCHAR(18)"},
                                   {"Numerisch", "NUMERIC"},
                                   {"Währung", "NUMERIC"},
                                   {"Integer kurz", "SMALLINT"},
                                   {"Integer lang", "INTEGER"},
                                   {"BCD", "NUMERIC"},
                                   {"Datum", "DATETIME"},
                                   {"Zeit", "DATETIME"},
                                   {"Datum/Zeit", "DATETIME"},
                                   {"Memo", "TEXT"},
                                   {"Logisch", "BIT"},
                                   {"Zähler", "INTEGER"},
                                   {"Binär", "VARCHAR(255)"},
                                   {"Bytes", "VARCHAR(255)"}}));

    CustomisationLists emptyTable;
    LoadFieldsFromParadox(login, "empty", emptyTable);
    EXPECT_EQ(rowsOf(emptyTable), (Rows{{"ID", "INTEGER"},
                                        {"ScientificName", "VARCHAR(255)"},
                                        {"CommonName", "VARCHAR(255)"},
                                        {"Order", "VARCHAR(255)"},
                                        {"Genus", "VARCHAR(255)"},
                                        {"Notes", "TEXT"},
                                        {"Picture", "VARCHAR(255)"}}));

    CustomisationLists missing;
    EXPECT_THROW(LoadFieldsFromParadox(login, "ORDERS", missing), db::DatabaseError);
    EXPECT_TRUE(missing.fieldNames().empty());
}

} // namespace
} // namespace quintabel::customise
