#pragma once
// The wording of the library's format errors, kept in one place.

#include "paradoxfile/errors.h"

#include <string>

namespace quintabel::paradox::detail {

// "Corrupt Paradox file '…/orders.db': block 12 lies past the end of the file."
[[noreturn]] inline void throwCorrupt(const std::string& file, const std::string& what)
{
    throw FormatError("Corrupt Paradox file '" + file + "': " + what + ".");
}

// "Unsupported Paradox file '…': <what>."
[[noreturn]] inline void throwUnsupported(const std::string& file, const std::string& what)
{
    throw FormatError("Unsupported Paradox file '" + file + "': " + what + ".");
}

std::string hexNumber(unsigned long long value);

} // namespace quintabel::paradox::detail
