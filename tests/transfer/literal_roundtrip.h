#pragma once
// Values whose literals are easy to get wrong, and what each should read back as, for the
// tests that send RowInsertStatement to a real database.

#include "drivers/value.h"

#include <optional>
#include <string>
#include <vector>

struct RoundTripCase {
    quintabel::db::Value sent;
    std::optional<std::string> readBack; // the stored bytes; nothing for NULL
};

inline std::vector<RoundTripCase> textRoundTripCases()
{
    using quintabel::db::Value;
    const auto same = [](std::string text) { return RoundTripCase{Value{text}, text}; };
    return {
        same("O'Neil"),
        same("'"),
        same("''"),
        same("a\\'b"),
        same("C:\\data\\"),
        same("\\"),
        same("x\"y`z]"),
        same("line\r\nbreak\ttab"),
        same("100% _under_ -- /* not a comment */"),
        same("'); DROP TABLE t; --"),
        same("Zürich – Köln ✓ 😀"),
        same("   "),
        same(std::string(300, 'q')),
        {Value{std::string()}, std::nullopt},
        {Value{quintabel::db::Null{}}, std::nullopt},
    };
}

inline std::vector<RoundTripCase> byteRoundTripCases()
{
    quintabel::db::Bytes everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte.push_back(static_cast<std::uint8_t>(byte));
    const std::string everyByteText(everyByte.begin(), everyByte.end());
    return {
        {quintabel::db::Value{everyByte}, everyByteText},
        {quintabel::db::Value{quintabel::db::Bytes{'\'', '\\', 0}}, std::string("'\\\0", 3)},
        {quintabel::db::Value{quintabel::db::Bytes{}}, std::nullopt},
    };
}
