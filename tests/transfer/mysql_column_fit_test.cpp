#include "transfer/mysql_column_fit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace quintabel;
using namespace quintabel::transfer;

namespace {

struct FitCase {
    const char* keyword;
    db::Value value;
    bool fits;
};

TEST(MysqlDefaultColumnMisfit, NumbersTheServerWouldRoundSilently)
{
    const FitCase cases[] = {
        {"INT", 3.5, false},
        {"INT", 3.0, true},
        {"INT", std::int64_t{-2147483648}, true},
        {"INT", db::Decimal{"3.50"}, false},
        {"INT", db::Decimal{"-12.000"}, true},
        {"INT", std::string("1e3"), false},
        {"INT", 1e20, false}, // "1e+20": an exponent
        {"DECIMAL", db::Decimal{"0.5"}, false},
        {"DECIMAL", std::numeric_limits<std::uint64_t>::max(), true}, // out of range: the server refuses
        {"FLOAT", 19.99, true},
        {"FLOAT", 3.14159, true},
        {"FLOAT", 3.141592, false},
        {"FLOAT", std::int64_t{1234567}, false},
        {"FLOAT", std::int64_t{1000000}, true},
        {"FLOAT", -0.000123456, true},
        {"FLOAT", 1e-40, false},
        {"FLOAT", 4e38, false},
        {"FLOAT", 0.0, true},
        {"FLOAT", std::numeric_limits<double>::quiet_NaN(), false},
        {"FLOAT", db::Decimal{"100.000000"}, true}, // trailing zeros are no significant digits
        {"INT", db::Bytes{0x31}, false},
        {"INT", db::Bytes{}, true},   // sent as NULL
        {"FLOAT", std::string(), true}, // sent as NULL
        {"INT", db::Null{}, true},
        {"TEXT", 3.141592653589793, true},
        {"BLOB", db::Bytes{0xFF}, true},
    };
    for (const FitCase& row : cases)
        EXPECT_EQ(!mysqlDefaultColumnMisfit(row.keyword, "c", row.value).has_value(), row.fits)
            << row.keyword << " " << db::toText(row.value);
}

TEST(MysqlDefaultColumnMisfit, MessageNamesColumnAndValue)
{
    EXPECT_EQ(mysqlDefaultColumnMisfit("INT", "qty", 3.5),
              std::optional<std::string>("The value 3.5 of column 'qty' has a fraction that an INT column would round away."));
    EXPECT_EQ(mysqlDefaultColumnMisfit("FLOAT", "price", 3.141592),
              std::optional<std::string>(
                  "The value 3.141592 of column 'price' has more significant digits than a FLOAT column keeps (6)."));
}

} // namespace
