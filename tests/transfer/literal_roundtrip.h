#pragma once
// Values whose literals are easy to get wrong, and the bytes each should be stored as, for the
// tests that send RowInsertStatement to a real database.

#include "drivers/value.h"

#include <optional>
#include <string>
#include <vector>

struct RoundTripCase {
    quintabel::db::Value sent;
    std::optional<std::string> stored; // nothing for NULL
};

inline std::vector<RoundTripCase> roundTripCases()
{
    using namespace quintabel::db;
    const auto same = [](std::string text) { return RoundTripCase{Value{text}, text}; };
    Bytes everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte.push_back(static_cast<std::uint8_t>(byte));
    return {
        same("O'Neil"), same("'"), same("a\\'b\\"), same("x\"y`z] -- /* %_"), same("'); DROP TABLE t; --"),
        same("line\r\nbreak\ttab"), same("Zürich – Köln 😀"), same("   "), same(std::string(300, 'q')),
        {Value{std::string()}, std::nullopt},
        {Value{Null{}}, std::nullopt},
        {Value{everyByte}, std::string(everyByte.begin(), everyByte.end())},
        {Value{Bytes{}}, std::nullopt},
    };
}
