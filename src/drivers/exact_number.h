#pragma once
// A number read from its text without any rounding, so that a target can be checked for
// holding it exactly (a Paradox number field, a MySQL DOUBLE column).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quintabel::db {

// The value is ±digits × 10^exponent, with `digits` free of leading and trailing zeros
// (zero has no digits and is never negative).
struct ExactNumber {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool operator==(const ExactNumber&) const = default;

    bool isWhole() const { return exponent >= 0; }
    // Digits before and after the decimal point when written out plainly.
    int integerDigits() const;
    int fractionDigits() const { return exponent < 0 ? -exponent : 0; }
};

// Reads [sign] digits [. digits] [e|E [sign] digits], nothing else (no blanks, no grouping).
std::optional<ExactNumber> readExactNumber(std::string_view text);

// The whole number, when it is one and fits.
std::optional<std::int64_t> toInt64(const ExactNumber& number);

// The double that holds the number exactly in the sense that reading it back gives the same
// number (its shortest text reads as `number` again), or nothing.
std::optional<double> toExactDouble(const ExactNumber& number);
// Whether toExactDouble gives a double, answered without making one where the number is
// short enough to be sure.
bool holdsExactlyInDouble(const ExactNumber& number);

// The plain decimal text ("-1234.5", "0.001", "1200"), never with an exponent.
std::string plainText(const ExactNumber& number);

} // namespace quintabel::db
