#pragma once
// A readable form of a Value for test assertions: its kind and its text, so that a failure
// shows "uint64 18446744073709551615" rather than raw variant bytes.

#include "drivers/value.h"

#include <string>

namespace quintabel::testing {

inline std::string describe(const db::Value& value)
{
    static const char* const kinds[] = {"null",     "int64", "uint64", "double",
                                        "decimal",  "bool",  "date",   "time",
                                        "datetime", "text",  "bytes"};
    return std::string(kinds[value.index()]) + " " + db::toText(value);
}

} // namespace quintabel::testing
