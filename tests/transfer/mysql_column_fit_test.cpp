#include "transfer/mysql_column_fit.h"

#include <gtest/gtest.h>

#include <limits>

using namespace quintabel;
using namespace quintabel;

namespace {

// The real server's side of these rules is checked in the MariaDB literal tests.
TEST(MysqlDefaultColumnMisfit, EdgesTheServerTestCannotReach)
{
    const std::tuple<const char*, db::Value, bool> cases[] = {
        {"INT", std::string("1e3"), false},     {"INT", db::Bytes{0x31}, false},
        {"INT", db::Bytes{}, true},             {"FLOAT", std::string(), true}, // both sent as NULL
        {"FLOAT", 1e-40, false},                {"FLOAT", 4e38, false},
        {"FLOAT", 0.0, true},                   {"FLOAT", std::numeric_limits<double>::quiet_NaN(), false},
        {"FLOAT", db::Decimal{"100.000000"}, true}, {"TEXT", 3.141592653589793, true},
    };
    for (const auto& [keyword, value, fits] : cases)
        EXPECT_EQ(!mysqlColumnMisfit(defaultColumnShape(keyword), "c", value), fits) << keyword << " " << db::toText(value);
    EXPECT_EQ(mysqlColumnMisfit(defaultColumnShape("INT"), "qty", 3.5),
              "The value 3.5 of column 'qty' has a fraction that an INT column would round away.");
}

} // namespace
